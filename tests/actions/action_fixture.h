#pragma once
// A result built from real files, a recording observer and a scripted prompt for file actions.
#include <gtest/gtest.h>
#include <stdlib.h>
#include <sys/stat.h>

#include <deque>
#include <string>
#include <vector>

#include "actions/file_manager.h"
#include "platform/file_system.h"
#include "results/result_tree.h"
#include "support/temp_dir.h"

namespace twinex::test {

struct RecordingActionObserver : ActionObserver {
  std::vector<std::string> lines, errors;
  void OnLog(const std::string& text, bool isError) override {
    lines.push_back(text);
    if (isError) errors.push_back(text);
  }
  bool Has(const std::string& line) const {
    for (const auto& l : lines)
      if (l == line) return true;
    return false;
  }
  bool HasPart(const std::string& part) const {
    for (const auto& l : lines)
      if (l.find(part) != std::string::npos) return true;
    return false;
  }
};

// Answers from a script, then with `fallback`; records every text.
struct ScriptedPrompt : Prompt {
  std::deque<PromptAnswer> answers;
  PromptAnswer fallback = PromptAnswer::No;
  std::vector<std::string> texts;
  PromptAnswer Ask(const PromptMessage& m) override {
    texts.push_back(m.Text());
    if (m.buttons == PromptButtons::Ok) return PromptAnswer::Ok;
    if (answers.empty()) return fallback;
    PromptAnswer a = answers.front();
    answers.pop_front();
    return a;
  }
};

// The trash of these tests lives in the test's own folder, never in the user's.
class ScopedDataHome {
 public:
  explicit ScopedDataHome(const std::string& folder) {
    if (const char* old = getenv("XDG_DATA_HOME")) old_ = old, had_ = true;
    setenv("XDG_DATA_HOME", folder.c_str(), 1);
  }
  ~ScopedDataHome() {
    if (had_)
      setenv("XDG_DATA_HOME", old_.c_str(), 1);
    else
      unsetenv("XDG_DATA_HOME");
  }

 private:
  std::string old_;
  bool had_ = false;
};

struct ActionFixture : ::testing::Test {
  TempDir dir;
  ResultTree tree;
  RecordingActionObserver observer;
  ScriptedPrompt prompt;

  // Group numbers, because adding a group moves the others in memory.
  int Group(const std::string& caption) { return tree.AddGroup(caption).id; }
  ResultGroup& G(int id) { return *tree.FindGroup(id); }

  // A row for a real file as the search would have seen it; returns the file's path.
  std::string Add(int groupId, const std::string& rel, const std::string& content, bool selected, int qnr = 1,
                  std::int64_t mtime = 0) {
    const std::string path = dir.Write(rel, content);
    if (mtime != 0) SetMTime(path, mtime);
    AddRow(groupId, path, selected, qnr);
    return path;
  }

  // A row for a file that is already there, with the facts the search reads.
  void AddRow(int groupId, const std::string& path, bool selected, int qnr = 1) {
    platform::FileInfo info;
    EXPECT_EQ(platform::GetFileInfo(path, info), "");
    ResultFile f;
    f.dupname = platform::FileNameOf(path);
    f.path = platform::ParentFolder(path);
    f.size = info.size;
    f.dateVal = info.modified;
    f.dateEval = info.created;
    f.device = info.device;
    f.inode = info.inode;
    f.qnr = qnr;
    ResultGroup& group = G(groupId);
    tree.AddFile(group, f);
    if (selected) tree.SetSelected(group, group.files.back(), true);
  }

  // Settings that ask nothing, so each test states the questions it wants.
  FileManagerRequest Request(FileAction action) {
    FileManagerRequest r;
    r.settings.Aktion = action;
    r.settings.SecureHint = false;
    r.settings.IfErrorDontAskToAbort = true;
    r.settings.LogNoActions = false;
    r.settings.CreateSubfolder = false;
    return r;
  }

  FileManagerOutcome Run(const FileManagerRequest& r) { return FileManager_Run(tree, r, observer, prompt); }

  static bool Exists(const std::string& path) {
    struct stat st;
    return ::lstat(path.c_str(), &st) == 0;
  }
  static ino_t Inode(const std::string& path) {
    struct stat st;
    return ::stat(path.c_str(), &st) == 0 ? st.st_ino : 0;
  }
  std::vector<std::string> Names() const {
    std::vector<std::string> names;
    for (const auto& g : tree.groups)
      for (const auto& f : g.files) names.push_back(f.dupname);
    return names;
  }
};

}  // namespace twinex::test
