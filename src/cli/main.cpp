// twinex-cli: the search of the desktop program from a terminal.
#include <algorithm>
#include <csignal>
#include <cstdio>

#include "app/app_paths.h"
#include "app/command_line.h"
#include "cli/cli_front.h"
#include "cli/cli_options.h"
#include "cli/cli_report.h"
#include "platform/file_system.h"
#include "platform/process.h"
#include "search/search_driver.h"
#include "search/search_state.h"
#include "settings/settings_file.h"

namespace {

void OnInterrupt(int) {
  // Ctrl-C asks for the stop; the closing steps still run and show what was found.
  twinex::RequestStop(twinex::kStopUser);
}

}  // namespace

int main(int argc, char** argv) {
  using namespace twinex;
  cli::CliOptions options;
  std::string usageError = cli::ParseCliOptions(argc, argv, options);
  if (!usageError.empty()) {
    std::fprintf(stderr, "twinex-cli: %s\n\n%s", usageError.c_str(), cli::UsageText());
    return 2;
  }
  if (options.help) {
    std::fputs(cli::UsageText(), stdout);
    return 0;
  }
  if (options.version) {
    std::printf("twinex-cli %s\n", TWINEX_VERSION);
    return 0;
  }
  if (options.arguments.empty()) {
    std::fprintf(stderr, "twinex-cli: nothing to search (name switches and folders)\n\n%s", cli::UsageText());
    return 2;
  }

  AppPaths paths = ResolveAppPaths(platform::ExecutablePath());
  std::string folderError = CreateAppFolders(paths);
  if (!folderError.empty()) {
    std::fprintf(stderr, "%s\n", folderError.c_str());
    return 1;
  }
  std::string settingsFile = options.settingsFile.empty() ? paths.settingsFile : platform::AbsolutePath(options.settingsFile);
  if (!options.settingsFile.empty() && !platform::ExistFile(settingsFile)) {
    std::fprintf(stderr, "twinex-cli: settings file %s not found\n", settingsFile.c_str());
    return 2;
  }
  SetSettingsFilePath(settingsFile);

  MainSettings settings;
  if (!platform::ExistFile(settingsFile)) EinstellungenSpeichern(settings, settingsFile);
  EinstellungenLaden(settings, settingsFile, false, true, false);

  std::vector<std::string> rejected;
  CommandLineOutcome outcome;
  Init_Kommandozeile(RawCommandLineFromArgs(options.arguments, &rejected), settings, paths, &outcome);
  // The program's command line passes over what it cannot use; a terminal user hears about it.
  for (const auto& r : rejected) std::fprintf(stderr, "twinex-cli: argument ignored: %s\n", r.c_str());
  for (const auto& f : outcome.foldersNamed) {
    if (std::find(outcome.foldersAdded.begin(), outcome.foldersAdded.end(), f) == outcome.foldersAdded.end())
      std::fprintf(stderr, "twinex-cli: folder not found, skipped: %s\n", f.c_str());
  }

  std::signal(SIGINT, OnInterrupt);
  cli::CliPrompt prompt(options.answer);
  cli::CliObserver observer(options.logFile);
  SearchEnvironment env;
  env.programFolder = paths.programFolder;
  env.programTempFolder = paths.tempFolder;
  SearchOutcome search = StartSearchForDups(settings, env, observer, prompt);
  if (!search.started) return 1;
  return cli::WriteSearchResult(*search.search, options, settingsFile, prompt);
}
