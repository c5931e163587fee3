// twinex-cli: the search of the desktop program from a terminal.
#include <algorithm>
#include <csignal>
#include <cstdio>
#include <exception>

#include "app/app_paths.h"
#include "app/command_line.h"
#include "app/error_record.h"
#include "app/logs.h"
#include "app/search_log_writer.h"
#include "app/startup.h"
#include "cli/cli_actions.h"
#include "cli/cli_db.h"
#include "cli/cli_front.h"
#include "cli/cli_options.h"
#include "cli/cli_report.h"
#include "cli/cli_select.h"
#include "platform/file_system.h"
#include "platform/process.h"
#include "platform/text.h"
#include "search/search_driver.h"
#include "search/search_state.h"
#include "settings/language.h"
#include "settings/profiles.h"
#include "settings/settings_file.h"

namespace {

void OnInterrupt(int) {
  // Ctrl-C asks for the stop; the closing steps still run and show what was found.
  twinex::RequestStop(twinex::kStopUser);
}

// The start-up sequence runs for every command that touches the data folder; the closing
// sequence runs however the command ends (the settings are not written back).
struct Session {
  twinex::AppSession app;
  ~Session() { twinex::ClosingSequence(app, nullptr); }
};

void ListProfiles(const twinex::AppPaths& paths) {
  for (const auto& row : twinex::Init_ProfileList(paths.profileFolder))
    std::printf("%s\t%s\n", twinex::platform::DisplayText(row.name).c_str(), row.comment.c_str());
}

// Saves into an existing profile or makes a new one; the messages go through the prompt.
bool SaveProfile(const twinex::cli::CliOptions& options, const twinex::AppPaths& paths,
                 const twinex::MainSettings& settings, twinex::Prompt& prompt) {
  using namespace twinex;
  bool exists = ProfileNameError(options.saveProfile).empty() &&
                platform::ExistFile(ProfileFilePath(paths.profileFolder, options.saveProfile));
  bool saved = exists ? Profil_Save(paths.profileFolder, options.saveProfile, settings, prompt)
                      : Profil_New(paths.profileFolder, options.saveProfile, settings, prompt);
  if (saved && options.commentGiven)
    saved = Profil_Save_Comment(paths.profileFolder, options.saveProfile, options.comment, prompt);
  return saved;
}

int Run(int argc, char** argv) {
  using namespace twinex;
  cli::CliOptions options;
  std::string usageError = cli::ParseCliOptions(argc, argv, options);
  if (!usageError.empty()) {
    std::fprintf(stderr, "twinex-cli: %s\n\n%s", usageError.c_str(), cli::UsageText());
    return 2;
  }
  if (options.help) {
    // The tool captions are the program's texts: speak the user's language here too.
    LanguageRequest language;
    AppPaths helpPaths = ResolveAppPaths(platform::ExecutablePath());
    language.langFolder = helpPaths.langFolder;
    language.settingsFile = helpPaths.settingsFile;
    Init_Sprache(language);
    std::fputs(cli::UsageText(), stdout);
    std::fputs(cli::SelectionUsage().c_str(), stdout);
    std::fputs(cli::ActionUsage().c_str(), stdout);
    return 0;
  }
  if (options.version) {
    std::printf("twinex-cli %s\n", TWINEX_VERSION);
    return 0;
  }
  const bool profileCommand = options.listProfiles || !options.saveProfile.empty();
  if (options.arguments.empty() && !profileCommand && options.dbCommand.empty()) {
    std::fprintf(stderr, "twinex-cli: nothing to search (name switches and folders)\n\n%s", cli::UsageText());
    return 2;
  }

  Session session;
  StartupRequest startup;
  startup.commandLine = RawCommandLineFromArgs(options.arguments);
  startup.version = TWINEX_VERSION;
  std::string startError = StartupSequence(startup, session.app);
  if (!startError.empty()) {
    std::fprintf(stderr, "%s\n", startError.c_str());
    return 1;
  }
  for (const auto& note : session.app.notes) std::fprintf(stderr, "twinex-cli: %s\n", note.c_str());
  const AppPaths& paths = session.app.paths;
  if (!options.dbCommand.empty()) {
    cli::CliPrompt dbPrompt(options.answer);
    return cli::RunDatabaseCommand(options.dbCommand, ChecksumDatabaseLocation(paths), dbPrompt);
  }
  std::string settingsFile = options.settingsFile.empty() ? paths.settingsFile : platform::AbsolutePath(options.settingsFile);
  if (!options.settingsFile.empty() && !platform::ExistFile(settingsFile)) {
    std::fprintf(stderr, "twinex-cli: settings file %s not found\n", settingsFile.c_str());
    return 2;
  }
  SetSettingsFilePath(settingsFile);
  SetCurrentProfilePath(settingsFile);

  MainSettings settings;
  LoadMainWindowSettings(session.app, settings);
  if (options.listProfiles) ListProfiles(paths);

  std::vector<std::string> rejected;
  CommandLineOutcome outcome;
  Init_Kommandozeile(RawCommandLineFromArgs(options.arguments, &rejected), settings, paths, &outcome);
  // The program's command line passes over what it cannot use; a terminal user hears about it.
  for (const auto& r : rejected) std::fprintf(stderr, "twinex-cli: argument ignored: %s\n", r.c_str());
  for (const auto& f : outcome.foldersNamed) {
    if (std::find(outcome.foldersAdded.begin(), outcome.foldersAdded.end(), f) == outcome.foldersAdded.end())
      std::fprintf(stderr, "twinex-cli: folder not found, skipped: %s\n", f.c_str());
  }

  cli::CliPrompt prompt(options.answer);
  if (!options.saveProfile.empty() && !SaveProfile(options, paths, settings, prompt)) return 1;
  if (profileCommand) return 0;

  std::signal(SIGINT, OnInterrupt);
  cli::CliObserver terminal(options.logFile);
  SearchLogWriter observer(terminal);
  SearchEnvironment env;
  env.programFolder = paths.programFolder;
  env.programTempFolder = paths.tempFolder;
  env.database = ChecksumDatabaseLocation(paths);
  env.expandAllGroups = settings.options.ExpandAllGroups;
  env.dateFormat = settings.options.DateFormat3;
  cli::ApplyProtection(settings, options);
  SearchOutcome search = StartSearchForDups(settings, env, observer, prompt);
  if (!search.started) return 1;
  int exitCode = cli::ApplySelections(*search.search, options, prompt);
  // An action runs only on a selection that was made as asked.
  if (exitCode == 0) exitCode = cli::RunCliAction(*search.search, options, settingsFile, terminal, prompt);
  exitCode = std::max(exitCode, cli::WriteSearchResult(*search.search, options, settingsFile, prompt));
  // The search window closes here: its log joins the general log and becomes lastsearch.txt.
  std::string logError = SaveTmpLog();
  if (!logError.empty()) std::fprintf(stderr, "twinex-cli: search log: %s\n", logError.c_str());
  return exitCode;
}

}  // namespace

int main(int argc, char** argv) {
  try {
    return Run(argc, argv);
  } catch (const std::exception& e) {
    twinex::LogErrorRecord("twinex-cli main", e.what());
    std::fprintf(stderr, "twinex-cli: unexpected error: %s\n", e.what());
    return 1;
  }
}
