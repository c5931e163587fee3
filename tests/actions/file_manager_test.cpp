// The file manager over real files: what it changes, what it leaves alone, what it reports.
#include <dirent.h>
#include <unistd.h>

#include <condition_variable>
#include <mutex>
#include <thread>

#include "action_fixture.h"
#include "actions/file_steps.h"
#include "platform/date_time.h"
#include "support/unprivileged.h"

namespace twinex::test {
namespace {

using FileManager = ActionFixture;

TEST_F(FileManager, DeletesSelectedFilesButNoGroupLosesAllItsFiles) {
  int a = Group("a");
  std::string keep = Add(a, "src/a1.txt", "same", false);
  std::string d1 = Add(a, "src/x/a2.txt", "same", true);
  std::string d2 = Add(a, "src/y/a3.txt", "same", true);
  int b = Group("b");
  std::string b1 = Add(b, "src/b1.txt", "bb", true);
  std::string b2 = Add(b, "src/b2.txt", "bb", true);
  FileManagerRequest r = Request(FileAction::Delete);
  r.settings.GruppenEntfernen = true;
  bool undoCleared = false;
  r.undoReset = [&] { undoCleared = true; };

  FileManagerOutcome out = Run(r);
  ASSERT_TRUE(out.started);
  EXPECT_TRUE(Exists(keep));
  EXPECT_FALSE(Exists(d1));
  EXPECT_FALSE(Exists(d2));
  EXPECT_TRUE(Exists(b1) && Exists(b2));
  EXPECT_TRUE(observer.Has("GELÖSCHT: " + d1));
  EXPECT_TRUE(observer.Has("Dateien gelöscht: 2 von 2"));
  EXPECT_TRUE(observer.Has("Gruppen mit allen Dateien ausgewählt: 1"));
  // Processed rows left; group a kept one file and left too; group b stays whole.
  EXPECT_EQ(Names(), (std::vector<std::string>{"b1.txt", "b2.txt"}));
  EXPECT_EQ(tree.counters.DupCount, 2);
  EXPECT_EQ(out.counters.filesRemoved, 3u);
  EXPECT_EQ(out.counters.groupsRemoved, 1u);
  EXPECT_TRUE(undoCleared);
}

TEST_F(FileManager, SafetyQuestionDeclinedChangesNothing) {
  int a = Group("a");
  Add(a, "k.txt", "x", false);
  std::string f = Add(a, "f.txt", "x", true);
  FileManagerRequest r = Request(FileAction::Trash);
  r.settings.SecureHint = true;
  FileManagerOutcome out = Run(r);
  EXPECT_FALSE(out.started);
  EXPECT_TRUE(Exists(f));
  ASSERT_EQ(prompt.texts.size(), 1u);
  EXPECT_NE(prompt.texts[0].find("Soll die Aktion 'Lokale Dateien in den Windows Papierkorb verschieben' durchgeführt werden?"),
            std::string::npos);
  EXPECT_EQ(tree.counters.DupCount, 2);
  EXPECT_TRUE(observer.lines.empty());
}

TEST_F(FileManager, FileChangedSinceTheSearchIsNeverRemoved) {
  int a = Group("a");
  Add(a, "k.txt", "same", false);
  std::string grown = Add(a, "grown.txt", "same", true);
  std::string touched = Add(a, "touched.txt", "same", true);
  std::string folder = Add(a, "folder.txt", "same", true);
  std::string ok = Add(a, "ok.txt", "same", true);
  dir.Write("grown.txt", "same plus more");
  SetMTime(touched, 1000000000);
  ::unlink(folder.c_str());
  dir.MakeDir("folder.txt");

  FileManagerOutcome out = Run(Request(FileAction::Delete));
  EXPECT_TRUE(Exists(grown) && Exists(touched) && Exists(folder));
  EXPECT_FALSE(Exists(ok));
  EXPECT_EQ(out.counters.errors, 3u);
  EXPECT_EQ(out.counters.deleted, 1u);
  ASSERT_EQ(observer.errors.size(), 3u);
  EXPECT_EQ(observer.errors[0], "Die Datei '" + grown +
                                    "' wurde seit der Suche verändert und wird nicht bearbeitet: Größe geändert");
  // Rows of files that were not processed stay in the result.
  EXPECT_EQ(tree.counters.DupCount, 4);
}

TEST_F(FileManager, ProtectedSourceFoldersAreUntouched) {
  int a = Group("a");
  Add(a, "one/k.txt", "x", false, 1);
  std::string bySource = Add(a, "two/p.txt", "x", true, 2);
  std::string byRow = Add(a, "one/q.txt", "x", true, 1);
  std::string free = Add(a, "one/r.txt", "x", true, 1);
  G(a).files[2].protectedFile = true;
  FileManagerRequest r = Request(FileAction::Move);
  r.settings.Ordner = dir.MakeDir("backup");
  r.settings.Ordnerstruktur = false;
  r.protectedSources = {2};
  FileManagerOutcome out = Run(r);
  EXPECT_TRUE(Exists(bySource) && Exists(byRow));
  EXPECT_FALSE(Exists(free));
  EXPECT_TRUE(Exists(dir / "backup/r.txt"));
  EXPECT_EQ(out.counters.protectedFiles, 2u);
  EXPECT_TRUE(observer.Has("Dateien geschützt: 2"));
  EXPECT_TRUE(observer.HasPart("Menüpunkt 'Dateischutz'"));
}

TEST_F(FileManager, CopyWithoutStructureMovesExistingNamesAside) {
  const std::string target = dir.MakeDir("backup");
  dir.Write("backup/a.txt", "old a");
  dir.Write("backup/a-001.txt", "older a");
  int g = Group("a.txt");
  Add(g, "keep/a.txt", "new a", false);
  std::string src = Add(g, "src/a.txt", "new a", true);
  FileManagerRequest r = Request(FileAction::Copy);
  r.settings.Ordner = target;
  r.settings.Ordnerstruktur = false;
  FileManagerOutcome out = Run(r);
  EXPECT_EQ(out.counters.copied, 1u);
  EXPECT_EQ(ReadFile(target + "/a.txt"), "new a");
  EXPECT_EQ(ReadFile(target + "/a-001.txt"), "older a");
  EXPECT_EQ(ReadFile(target + "/a-002.txt"), "old a");
  EXPECT_EQ(ReadFile(src), "new a");
  EXPECT_TRUE(observer.Has("KOPIERT: '" + src + "' nach '" + target + "/a.txt'"));
  EXPECT_TRUE(observer.Has("Dateien kopiert: 1 von 1"));
}

TEST_F(FileManager, MoveKeepsStructureUnderTheSubfolderAndCleansEmptyFolders) {
  int g = Group("m");
  Add(g, "src/keep.txt", "data", false);
  std::string moved = Add(g, "src/only/m.txt", "data", true);
  FileManagerRequest r = Request(FileAction::Move);
  r.settings.Ordner = dir.MakeDir("backup");
  r.settings.CreateSubfolder = true;
  r.settings.CreateSubfolderText = "\"run\"";
  r.settings.DelEmptyFolders = true;
  FileManagerOutcome out = Run(r);
  EXPECT_EQ(out.counters.moved, 1u);
  EXPECT_EQ(ReadFile(dir / ("backup/run" + dir.path() + "/src/only/m.txt")), "data");
  EXPECT_FALSE(Exists(moved));
  EXPECT_FALSE(Exists(dir / "src/only"));
  EXPECT_TRUE(Exists(dir / "src"));
  EXPECT_TRUE(observer.Has("Leere Ordner gelöscht: 1"));
}

TEST_F(FileManager, MoveAcrossFileSystemsCopiesChecksAndThenDeletes) {
  char tmpl[] = "/dev/shm/twinex-move-XXXXXX";
  if (!mkdtemp(tmpl)) GTEST_SKIP() << "no second file system to move to";
  const std::string target = tmpl;
  if (OnSameFileSystem(target, dir.path())) {
    ::rmdir(tmpl);
    GTEST_SKIP() << "no second file system to move to";
  }
  const std::string data(3 << 20, 'k');
  int g = Group("x");
  Add(g, "k.bin", data, false);
  std::string src = Add(g, "big.bin", data, true, 1, 1500000000);
  FileManagerRequest r = Request(FileAction::Move);
  r.settings.Ordner = target;
  r.settings.Ordnerstruktur = false;
  FileManagerOutcome out = Run(r);
  EXPECT_EQ(out.counters.moved, 1u);
  EXPECT_FALSE(Exists(src));
  EXPECT_EQ(ReadFile(target + "/big.bin"), data);
  platform::FileInfo info;
  ASSERT_EQ(platform::GetFileInfo(target + "/big.bin", info), "");
  EXPECT_EQ(platform::UnixFromDate(info.modified), 1500000000);
  ::unlink((target + "/big.bin").c_str());
  ::rmdir(target.c_str());
}

TEST_F(FileManager, CancelledRunUpdatesTheResultForWhatWasDone) {
  int g = Group("c");
  Add(g, "k.txt", "c", false);
  std::string first = Add(g, "1.txt", "c", true);
  std::string broken = Add(g, "2.txt", "c", true);
  std::string third = Add(g, "3.txt", "c", true);
  dir.Write("2.txt", "changed");
  FileManagerRequest r = Request(FileAction::Delete);
  r.settings.IfErrorDontAskToAbort = false;
  prompt.answers = {PromptAnswer::Yes};  // the cancel question after the error
  FileManagerOutcome out = Run(r);
  EXPECT_TRUE(out.cancelled);
  EXPECT_FALSE(Exists(first));
  EXPECT_TRUE(Exists(broken) && Exists(third));
  EXPECT_NE(prompt.texts.back().find("Soll der Vorgang abgebrochen werden?"), std::string::npos);
  EXPECT_TRUE(observer.Has("Aktion 'Dateien löschen' wurde abgebrochen."));
  EXPECT_EQ(Names(), (std::vector<std::string>{"k.txt", "2.txt", "3.txt"}));
}

TEST_F(FileManager, FailuresAreLoggedCountedAndTheRunGoesOn) {
  int g = Group("e");
  Add(g, "src/k.txt", "e", false);
  std::string blocked = Add(g, "src/x/a.txt", "e", true);
  std::string fine = Add(g, "src/y/b.txt", "e", true);
  const std::string root = dir.MakeDir("backup");
  // Where a.txt's folder would go, a file is in the way.
  dir.Write("backup" + dir.path() + "/src/x", "not a folder");
  FileManagerRequest r = Request(FileAction::Copy);
  r.settings.Ordner = root;
  FileManagerOutcome out = Run(r);
  EXPECT_EQ(out.counters.errors, 1u);
  EXPECT_EQ(out.counters.copied, 1u);
  EXPECT_TRUE(Exists(root + dir.path() + "/src/y/b.txt"));
  ASSERT_EQ(observer.errors.size(), 1u);
  EXPECT_EQ(observer.errors[0].rfind("Die Datei '" + blocked + "' konnte nicht in den Ordner '", 0), 0u);
  EXPECT_TRUE(observer.Has("Fehleranzahl: 1"));
  (void)fine;
}

TEST_F(FileManager, TargetInsideASourceFolderIsRefusedPerFile) {
  int g = Group("t");
  Add(g, "src/k.txt", "t", false);
  std::string a = Add(g, "src/a.txt", "t", true);
  std::string b = Add(g, "src/b.txt", "t", true);
  FileManagerRequest r = Request(FileAction::Move);
  r.settings.Ordner = dir.MakeDir("src/backup");
  r.settings.Ordnerstruktur = false;
  r.sourceFolders = {dir / "src"};
  FileManagerOutcome out = Run(r);
  EXPECT_EQ(out.counters.errors, 2u);
  EXPECT_EQ(out.counters.moved, 0u);
  EXPECT_TRUE(Exists(a) && Exists(b));
  EXPECT_TRUE(observer.HasPart("Der Zielordner liegt im Quellordner '" + (dir / "src") + "'."));
}

TEST_F(FileManager, TargetReachedThroughALinkIntoASourceIsInsideIt) {
  int g = Group("t");
  Add(g, "src/k.txt", "t", false);
  std::string a = Add(g, "src/sub/a.txt", "t", true);
  ASSERT_EQ(::symlink((dir / "src/sub").c_str(), (dir / "link").c_str()), 0);
  FileManagerRequest r = Request(FileAction::Move);
  r.settings.Ordner = dir / "link";
  r.settings.Ordnerstruktur = false;
  r.settings.CreateSubfolder = true;  // not there yet: judged by the folder it will be made in
  r.settings.CreateSubfolderText = "\"new\"";
  r.sourceFolders = {dir / "src"};
  FileManagerOutcome out = Run(r);
  EXPECT_EQ(out.counters.moved, 0u);
  EXPECT_TRUE(Exists(a));
  EXPECT_FALSE(Exists(dir / "src/sub/new"));
}

TEST_F(FileManager, PermissionDeniedIsOneErrorPerFile) {
  int g = Group("p");
  Add(g, "k.txt", "p", false);
  std::string locked = Add(g, "locked/a.txt", "p", true);
  std::string open = Add(g, "open/b.txt", "p", true);
  OpenToEveryone(dir.path());
  OpenToEveryone(dir / "open");
  ::chmod((dir / "locked").c_str(), 0555);
  EXPECT_TRUE(RunUnprivileged([&] {
    FileManagerOutcome out = Run(Request(FileAction::Delete));
    return out.counters.errors == 1 && Exists(locked) && !Exists(open);
  }));
}

TEST_F(FileManager, DryRunFindsWhatTheRealRunWouldFailAt) {
  int g = Group("d");
  Add(g, "src/k.txt", "d", false);
  std::string f = Add(g, "src/f.txt", "d", true);
  const std::string readOnly = dir.MakeDir("read-only");
  OpenToEveryone(dir.path());
  ::chmod(readOnly.c_str(), 0555);
  FileManagerRequest copy = Request(FileAction::Copy);
  copy.dryRun = true;
  copy.settings.Ordner = readOnly;
  FileManagerRequest del = Request(FileAction::Delete);
  del.dryRun = true;
  EXPECT_TRUE(RunUnprivileged([&] {
    const bool copyRefused = Run(copy).counters.errors == 1 && observer.HasPart("' ist nicht beschreibbar: ");
    // The source folder belongs to root: nobody cannot remove a file from it.
    const bool deleteRefused = Run(del).counters.errors == 1;
    return copyRefused && deleteRefused;
  }));
  // A rename onto a taken name fails in the real run, so the dry run says so.
  dir.Write("src/DUPLIKAT f.txt", "taken");
  FileManagerRequest rename = Request(FileAction::Rename);
  rename.dryRun = true;
  EXPECT_EQ(Run(rename).counters.errors, 1u);
  EXPECT_TRUE(observer.HasPart("Eine Datei mit dem Namen 'DUPLIKAT f.txt' ist schon vorhanden."));
  EXPECT_TRUE(observer.Has("PROBELAUF: nicht geprüft: ob andere Programme die Dateien bis zum echten Lauf verändern"));
  EXPECT_TRUE(Exists(f));
}

TEST_F(FileManager, RenameByTemplateThenSizeZero) {
  int g = Group("r");
  Add(g, "k/foto.jpg", "pic", false);
  std::string foto = Add(g, "a/foto.jpg", "pic", true);
  std::string readme = Add(g, "b/README", "pic", true);
  std::string taken = Add(g, "c/foto.jpg", "pic", true);
  dir.Write("c/DUPLIKAT foto.jpg", "someone else's");
  FileManagerRequest r = Request(FileAction::Rename);
  r.settings.DateienEntfernen = false;
  r.settings.SetFileSizeToZero = true;
  FileManagerOutcome out = Run(r);
  EXPECT_EQ(out.counters.renamed, 2u);
  EXPECT_EQ(out.counters.errors, 1u);  // the taken name is not overwritten
  EXPECT_FALSE(Exists(foto));
  EXPECT_TRUE(Exists(dir / "a/DUPLIKAT foto.jpg"));
  EXPECT_EQ(ReadFile(dir / "b/DUPLIKAT README"), "");
  EXPECT_EQ(ReadFile(dir / "c/DUPLIKAT foto.jpg"), "someone else's");
  EXPECT_EQ(ReadFile(taken), "pic");
  EXPECT_EQ(Names(), (std::vector<std::string>{"foto.jpg", "DUPLIKAT foto.jpg", "DUPLIKAT README", "foto.jpg"}));
  EXPECT_TRUE(observer.Has("NULL: " + (dir / "b/DUPLIKAT README")));
  (void)readme;
}

TEST_F(FileManager, DryRunLogsAndChangesNothing) {
  int g = Group("d");
  Add(g, "k.txt", "d", false);
  std::string f = Add(g, "f.txt", "d", true);
  FileManagerRequest r = Request(FileAction::Delete);
  r.dryRun = true;
  r.settings.SecureHint = true;  // no question: nothing is going to change
  FileManagerOutcome out = Run(r);
  EXPECT_TRUE(out.started);
  EXPECT_TRUE(prompt.texts.empty());
  EXPECT_TRUE(Exists(f));
  EXPECT_TRUE(observer.Has("PROBELAUF: GELÖSCHT: " + f));
  EXPECT_EQ(tree.counters.DupCount, 2);
}

TEST_F(FileManager, NoDeleteWhenTheKeptFilesAreGone) {
  int g = Group("g");
  std::string kept = Add(g, "k.txt", "g", false);
  std::string last = Add(g, "f.txt", "g", true);
  ::unlink(kept.c_str());
  FileManagerOutcome out = Run(Request(FileAction::Delete));
  EXPECT_TRUE(Exists(last));
  EXPECT_EQ(out.counters.errors, 1u);
  EXPECT_TRUE(observer.HasPart("In der Gruppe 'g' ist keine der nicht ausgewählten Dateien mehr"));
}

TEST_F(FileManager, StartChecksRefuseBeforeAnyChange) {
  int g = Group("s");
  Add(g, "k.txt", "s", false);
  Add(g, "f.txt", "s", true);
  FileManagerRequest r = Request(FileAction::Copy);
  EXPECT_EQ(Run(r).refusal, "Es wurde kein Ordner festgelegt!");
  r.settings.Ordner = dir / "missing";
  EXPECT_EQ(Run(r).refusal, "Der Ordner '" + (dir / "missing") + "' konnte nicht gefunden werden!");
  r.settings.Ordner = dir.path();
  r.log.path = dir / "no/such/folder/log.txt";
  r.log.write = [](int, const std::string&, bool) { return std::string(); };
  EXPECT_EQ(Run(r).refusal.rfind("Beim Öffnen der Protokolldatei '" + r.log.path + "' ist ein Fehler aufgetreten: ", 0), 0u);
  EXPECT_TRUE(observer.lines.empty());
}

// Hidden temporary files a copy leaves in a folder.
std::size_t TemporaryFiles(const std::string& folder) {
  std::size_t n = 0;
  if (DIR* d = ::opendir(folder.c_str())) {
    while (dirent* e = ::readdir(d)) n += std::string(e->d_name).rfind(".twinex-", 0) == 0;
    ::closedir(d);
  }
  return n;
}

// Holds the run inside a copy until the test has asked it to stop from its own thread.
struct StopInsideCopy : RecordingActionObserver {
  std::string target;
  std::mutex m;
  std::condition_variable cv;
  bool inside = false, stopped = false;
  void OnProgress(const ActionProgress&) override {
    if (TemporaryFiles(target) == 0) return;
    std::unique_lock<std::mutex> lock(m);
    inside = true;
    cv.notify_all();
    cv.wait(lock, [&] { return stopped; });
  }
};

TEST_F(FileManager, StopDuringAMoveAcrossFileSystemsLeavesTheSourceAndNoPartialCopy) {
  struct AlwaysCopy {
    AlwaysCopy() { AlwaysCopyForTesting(true); }
    ~AlwaysCopy() { AlwaysCopyForTesting(false); }
  } alwaysCopy;
  const std::string data(6 << 20, 'm');
  int g = Group("big");
  Add(g, "src/k.bin", data, false);
  std::string src = Add(g, "src/big.bin", data, true);
  const std::string target = dir.MakeDir("backup");
  FileManagerRequest r = Request(FileAction::Move);
  r.settings.Ordner = target;
  r.settings.Ordnerstruktur = false;
  r.refreshMilliseconds = 0;
  RunControl run;
  r.run = &run;
  StopInsideCopy watcher;
  watcher.target = target;

  FileManagerOutcome out;
  std::thread worker([&] { out = FileManager_Run(tree, r, watcher, prompt); });
  {
    std::unique_lock<std::mutex> lock(watcher.m);
    ASSERT_TRUE(watcher.cv.wait_for(lock, std::chrono::seconds(30), [&] { return watcher.inside; }) || (worker.join(), false))
        << "the run never copied: " << ::testing::PrintToString(watcher.errors);
    run.RequestStop();
    watcher.stopped = true;
    watcher.cv.notify_all();
  }
  worker.join();

  EXPECT_TRUE(out.cancelled);
  EXPECT_EQ(out.counters.errors, 0u);
  EXPECT_EQ(ReadFile(src), data);
  EXPECT_EQ(TemporaryFiles(target), 0u);
  EXPECT_FALSE(Exists(target + "/big.bin"));
  EXPECT_TRUE(watcher.Has("Aktion 'Dateien in einen Sicherungsordner verschieben' wurde abgebrochen."));
  EXPECT_TRUE(watcher.Has("Dateien verschoben: 0 von 1"));
  EXPECT_EQ(tree.counters.DupCount, 2);
}

}  // namespace
}  // namespace twinex::test
