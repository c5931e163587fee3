// twinex-cli: the search of the desktop program from a terminal.
#include <csignal>
#include <cstdio>

#include "app/app_paths.h"
#include "app/command_line.h"
#include "cli/cli_front.h"
#include "cli/cli_options.h"
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

  Init_Kommandozeile(RawCommandLineFromArgs(options.arguments), settings, paths);

  std::signal(SIGINT, OnInterrupt);
  cli::CliPrompt prompt(options.answer);
  cli::CliObserver observer(options.logFile);
  SearchEnvironment env;
  env.programFolder = paths.programFolder;
  env.programTempFolder = paths.tempFolder;
  SearchOutcome outcome = StartSearchForDups(settings, env, observer, prompt);
  return outcome.started ? 0 : 1;
}
