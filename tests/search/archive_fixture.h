#pragma once
// Real archives for the archive tests, written with the library's writer or the archiver.
#include <archive.h>
#include <archive_entry.h>
#include <gtest/gtest.h>

#include <clocale>
#include <string>
#include <vector>

#include "platform/date_time.h"
#include "platform/process.h"
#include "search/archive_access.h"
#include "search/archive_extract.h"
#include "support/temp_dir.h"

namespace twinex::test {

struct FixtureEntry {
  std::string name;
  std::string content;
  char kind = 'f';  // 'f' file, 'd' folder, 'l' symbolic link, 'h' hard link (content: target)
};

// The members most tests use: umlauts, an empty member, nested folders.
inline std::vector<FixtureEntry> CommonEntries() {
  return {{"docs", "", 'd'},
          {"docs/Bücher/Größe.txt", "umlaut content\n"},
          {"docs/empty.txt", ""},
          {"a/b/c/deep.bin", std::string(70000, 'x') + "end"},
          {"top.txt", "top"}};
}

// Writes an archive with the library: format and filter by name ("zip", "7zip", "pax",
// "iso9660", "raw"; "gzip" or "").
inline void WriteArchiveIn(const std::string& path, const std::string& format, const std::string& filter,
                           const std::vector<FixtureEntry>& entries) {
  archive* a = archive_write_new();
  ASSERT_EQ(archive_write_set_format_by_name(a, format.c_str()), ARCHIVE_OK) << archive_error_string(a);
  if (!filter.empty()) {
    ASSERT_EQ(archive_write_add_filter_by_name(a, filter.c_str()), ARCHIVE_OK);
  }
  if (format == "zip") archive_write_set_options(a, "hdrcharset=UTF-8");
  ASSERT_EQ(archive_write_open_filename(a, path.c_str()), ARCHIVE_OK) << archive_error_string(a);
  for (const FixtureEntry& f : entries) {
    archive_entry* e = archive_entry_new();
    archive_entry_set_pathname_utf8(e, f.name.c_str());
    archive_entry_set_mtime(e, 1700000000, 0);
    if (f.kind == 'd') {
      archive_entry_set_filetype(e, AE_IFDIR);
      archive_entry_set_perm(e, 0755);
    } else if (f.kind == 'l') {
      archive_entry_set_filetype(e, AE_IFLNK);
      archive_entry_set_perm(e, 0777);
      archive_entry_set_symlink(e, f.content.c_str());
    } else if (f.kind == 'h') {
      archive_entry_set_filetype(e, AE_IFREG);
      archive_entry_set_perm(e, 0644);
      archive_entry_set_hardlink(e, f.content.c_str());
    } else {
      archive_entry_set_filetype(e, AE_IFREG);
      archive_entry_set_perm(e, 0644);
      archive_entry_set_size(e, static_cast<la_int64_t>(f.content.size()));
    }
    ASSERT_EQ(archive_write_header(a, e), ARCHIVE_OK) << f.name << ": " << archive_error_string(a);
    if (f.kind == 'f' && !f.content.empty())
      archive_write_data(a, f.content.data(), f.content.size());
    archive_entry_free(e);
  }
  ASSERT_EQ(archive_write_close(a), ARCHIVE_OK);
  archive_write_free(a);
}

// The writer converts names through the character set of the locale: UTF-8 while it writes.
inline void WriteArchive(const std::string& path, const std::string& format, const std::string& filter,
                         const std::vector<FixtureEntry>& entries) {
  const std::string previous = std::setlocale(LC_CTYPE, nullptr);
  std::setlocale(LC_CTYPE, "C.UTF-8");
  WriteArchiveIn(path, format, filter, entries);
  std::setlocale(LC_CTYPE, previous.c_str());
}

// Builds a tree below `root` and packs it with the archiver (with a password when given).
inline void WriteWith7zz(const TempDir& t, const std::string& archive, const std::vector<FixtureEntry>& entries,
                         const std::string& password = "", bool encryptNames = false) {
  const std::string root = t / ("tree-" + std::to_string(std::hash<std::string>{}(archive)));
  for (const FixtureEntry& f : entries)
    if (f.kind == 'f') t.Write(root.substr(t.path().size() + 1) + "/" + f.name, f.content);
  std::vector<std::string> argv = {"7zz", "a", "-bd", "-y"};
  if (!password.empty()) argv.push_back("-p" + password);
  if (encryptNames) argv.push_back("-mhe=on");
  argv.insert(argv.end(), {"--", archive, root + "/."});
  ASSERT_EQ(platform::RunProgram(argv), "");
}

struct Listed {
  ArchiveOutcome outcome;
  std::vector<ArchiveMember> members;
  std::vector<std::string> Paths() const {
    std::vector<std::string> out;
    for (const ArchiveMember& m : members) out.push_back(m.pathInsideZip);
    std::sort(out.begin(), out.end());
    return out;
  }
};

inline Listed ListWith(ArchiveReader& reader, const std::string& path, const char* ext) {
  Listed l;
  RunControl run;
  l.outcome = reader.List(path, *ArchiveTypeByExtension(ext), run, [&](const ArchiveMember& m) {
    l.members.push_back(m);
    return true;
  });
  return l;
}

}  // namespace twinex::test
