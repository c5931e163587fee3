#pragma once
// A search over real folders with a recording observer and a scripted prompt.
#include <gtest/gtest.h>

#include <deque>
#include <string>
#include <vector>

#include "search/search_driver.h"
#include "settings/prompt.h"
#include "support/scripted_prompt.h"
#include "support/temp_dir.h"

namespace twinex::test {

struct RecordingObserver : SearchObserver {
  std::vector<std::string> log, errors, steps, general;
  void OnLog(const std::string& text, bool isError) override {
    log.push_back(text);
    if (isError) errors.push_back(text);
  }
  void OnStep(const std::string& caption) override { steps.push_back(caption); }
  void OnGeneralLog(const std::string& text) override { general.push_back(text); }
  bool Logged(const std::string& line) const {
    for (const auto& l : log)
      if (l == line) return true;
    return false;
  }
};

// Settings for a size-only search over the given folders.
inline MainSettings SettingsFor(const std::vector<std::string>& folders) {
  MainSettings m;
  m.search.Suchkriterien = {};
  m.search.Suchkriterien[kCritSize] = true;
  m.sources.folderOptions.enabled = false;
  for (const auto& f : folders) {
    SourceFolder s;
    s.path = f;
    m.sources.sources.push_back(s);
  }
  return m;
}

// Runs a search and records the full paths handed to the per-file step.
struct RecordedSearch {
  RecordingObserver observer;
  ScriptedPrompt prompt;
  std::vector<std::string> files;
  std::vector<std::string> archives;
  SearchOutcome outcome;

  void Run(const MainSettings& settings, SearchEnvironment env = {}) {
    if (env.programTempFolder.empty()) env.programTempFolder = "/nonexistent-twinex-temp";
    outcome = StartSearchForDups(settings, env, observer, prompt, [this](Search& s) { Record(s); });
  }
  // The walk of a method whose comparison has not arrived yet (its start would be refused).
  void RunWalkOnly(const MainSettings& settings) {
    SearchEnvironment env;
    env.programTempFolder = "/nonexistent-twinex-temp";
    outcome.search = std::make_unique<Search>(settings, env, observer, prompt);
    outcome.started = true;
    Search& s = *outcome.search;
    Record(s);
    s.filters = Init_FilterOptionen(s.sources, false, false, &prompt);
    Init_Variablen(s);
    Search_Start(s);
  }

 private:
  void Record(Search& s) {
    s.checkFile = [this](Search& search, const EnumeratedFile& f) {
      ++search.counters.filesChecked;
      files.emplace_back(f.fullPath);
    };
    s.scanArchive = [this](Search&, const std::string& path, const std::string&, const std::string& type) {
      archives.push_back(path.substr(path.rfind('/') + 1) + (type.empty() ? "" : ":" + type));
    };
  }
};

}  // namespace twinex::test
