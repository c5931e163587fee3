#include "platform/file_system.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <map>

#include "platform/date_time.h"
#include "support/temp_dir.h"

namespace twinex::platform {
namespace {

using test::TempDir;

std::map<std::string, FileInfo> ListAll(const std::string& folder) {
  std::map<std::string, FileInfo> out;
  EXPECT_EQ(ListFolder(folder, [&](const FileInfo& f) {
              out[f.name] = f;
              return true;
            }),
            "");
  return out;
}

TEST(ListFolder, ReportsKindsAttributesSizesAndDates) {
  TempDir tmp;
  const std::string plain = tmp.Write("plain.txt", "hello");
  test::SetMTime(plain, 1578574800);  // 2020-01-09 13:00 UTC
  tmp.Write(".hidden", "x");
  chmod(tmp.Write("ro.txt", "x").c_str(), 0444);
  tmp.MakeDir("dir");
  tmp.WriteSparse("sparse.bin", 4294967297ULL);
  tmp.Write("bad\xFF.txt", "b");
  ASSERT_EQ(symlink("dir", (tmp / "linkdir").c_str()), 0);
  ASSERT_EQ(symlink("plain.txt", (tmp / "linkfile").c_str()), 0);
  ASSERT_EQ(symlink("nowhere", (tmp / "dangling").c_str()), 0);
  ASSERT_EQ(link(plain.c_str(), (tmp / "hard.txt").c_str()), 0);

  auto all = ListAll(tmp.path());
  ASSERT_EQ(all.size(), 10u);  // no "." or ".."

  const FileInfo& p = all["plain.txt"];
  EXPECT_TRUE(p.isRegular);
  EXPECT_FALSE(p.isSymlink);
  EXPECT_EQ(p.size, 5u);
  EXPECT_EQ(p.attributes, kAttrNormal);
  EXPECT_EQ(p.modified, DateFromUnix(1578574800));
  EXPECT_GT(p.created, 0);
  EXPECT_EQ(p.links, 2u);
  EXPECT_EQ(p.inode, all["hard.txt"].inode);
  struct stat st;
  ASSERT_EQ(stat(plain.c_str(), &st), 0);
  EXPECT_EQ(p.device, st.st_dev);

  EXPECT_EQ(all[".hidden"].attributes, kAttrHidden);
  EXPECT_EQ(all["ro.txt"].attributes, kAttrReadOnly);
  EXPECT_EQ(all["dir"].attributes, kAttrDirectory);
  EXPECT_TRUE(all["dir"].isDirectory);

  const FileInfo& ld = all["linkdir"];
  EXPECT_TRUE(ld.isSymlink && ld.isDirectory);
  EXPECT_EQ(ld.attributes, kAttrDirectory | kAttrReparsePoint);
  const FileInfo& lf = all["linkfile"];
  EXPECT_TRUE(lf.isSymlink && lf.isRegular && !lf.isDirectory);
  EXPECT_EQ(lf.attributes, kAttrReparsePoint);
  const FileInfo& dl = all["dangling"];
  EXPECT_TRUE(dl.isSymlink && !dl.isRegular && !dl.isDirectory);

  // 4 GiB + 1 must not wrap to 1, and nearly no blocks are allocated.
  EXPECT_EQ(all["sparse.bin"].size, 4294967297ULL);
  EXPECT_EQ(all["sparse.bin"].attributes, kAttrSparse);

  // A name that is not UTF-8 arrives byte for byte and can be opened again by that name.
  ASSERT_EQ(all.count("bad\xFF.txt"), 1u);
  FileInfo again;
  EXPECT_EQ(GetFileInfo(JoinPath(tmp.path(), "bad\xFF.txt"), again), "");
  EXPECT_EQ(again.name, "bad\xFF.txt");
  EXPECT_EQ(again.size, 1u);
}

TEST(ListFolder, StopsWhenAskedAndReportsAFolderItCannotOpen) {
  TempDir tmp;
  for (int i = 0; i < 5; ++i) tmp.Write("f" + std::to_string(i), "");
  int seen = 0;
  EXPECT_EQ(ListFolder(tmp.path(), [&](const FileInfo&) { return ++seen < 2; }), "");
  EXPECT_EQ(seen, 2);

  EXPECT_EQ(ListFolder(tmp / "missing", [](const FileInfo&) { return true; }).rfind("open: ", 0), 0u);
  FileInfo info;
  EXPECT_EQ(GetFileInfo(tmp / "missing", info).rfind("statx: ", 0), 0u);
  EXPECT_NE(ListFolder(tmp.Write("file", ""), [](const FileInfo&) { return true; }), "");
}

TEST(FileSystem, ExistenceFollowsLinksAndTellsFoldersFromFiles) {
  TempDir tmp;
  const std::string file = tmp.Write("a.txt", "");
  ASSERT_EQ(symlink(tmp.path().c_str(), (tmp / "up").c_str()), 0);
  EXPECT_TRUE(ExistFolder(tmp.path()));
  EXPECT_TRUE(ExistFolder(tmp / "up"));
  EXPECT_FALSE(ExistFolder(file));
  EXPECT_FALSE(ExistFolder(""));
  EXPECT_TRUE(ExistFile(file));
  EXPECT_FALSE(ExistFile(tmp.path()));
  EXPECT_FALSE(ExistFile(tmp / "none"));
}

TEST(Paths, TextFunctions) {
  EXPECT_EQ(xGetExtension("archive.tar.GZ"), "GZ");
  EXPECT_EQ(xGetExtension("noext"), "");
  EXPECT_EQ(xGetExtension("trailing."), "");
  EXPECT_EQ(xGetExtension(".bashrc"), "bashrc");

  EXPECT_EQ(JoinPath("/", "a"), "/a");
  EXPECT_EQ(JoinPath("/x/", "a"), "/x/a");
  EXPECT_EQ(JoinPath("/x", "a"), "/x/a");
  EXPECT_EQ(StripTrailingSlash("/x//"), "/x");
  EXPECT_EQ(StripTrailingSlash("///"), "/");

  EXPECT_EQ(AbsolutePath("/a/./b//../c/"), "/a/c");
  EXPECT_EQ(AbsolutePath("/../.."), "/");
  char cwd[4096];
  ASSERT_NE(getcwd(cwd, sizeof cwd), nullptr);
  EXPECT_EQ(AbsolutePath("x/y"), JoinPath(cwd, "x/y"));

  EXPECT_EQ(ParentFolder("/a/b/"), "/a");
  EXPECT_EQ(ParentFolder("/a"), "/");
  EXPECT_EQ(ParentFolder("/"), "");
  EXPECT_EQ(FileNameOf("/a/b.txt"), "b.txt");
  EXPECT_EQ(FileNameOf("/a/b/"), "b");
  EXPECT_EQ(FileNameOf("/"), "");

  EXPECT_EQ(ToLongPath("\\\\server\\share\\dir"), "\\\\?\\UNC\\server\\share\\dir");
  EXPECT_EQ(ToLongPath("C:\\dir"), "\\\\?\\C:\\dir");
  EXPECT_EQ(ToLongPath("\\\\?\\C:\\dir"), "\\\\?\\C:\\dir");  // never prefixed twice
}

}  // namespace
}  // namespace twinex::platform
