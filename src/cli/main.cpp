// twinex-cli: the search of the desktop program from a terminal.
#include <algorithm>
#include <cstdio>
#include <exception>

#include "app/app_paths.h"
#include "app/command_line.h"
#include "app/error_record.h"
#include "app/session.h"
#include "cli/cli_actions.h"
#include "cli/cli_db.h"
#include "cli/cli_front.h"
#include "cli/cli_options.h"
#include "cli/cli_report.h"
#include "cli/cli_results.h"
#include "cli/cli_select.h"
#include "cli/cli_signals.h"
#include "platform/file_system.h"
#include "platform/process.h"
#include "platform/text.h"
#include "settings/language.h"
#include "settings/profiles.h"

namespace {

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
  if (options.arguments.empty() && !profileCommand && options.dbCommand.empty() && !options.ResultCommand() &&
      options.loadResult.empty()) {
    std::fprintf(stderr, "twinex-cli: nothing to search (name switches and folders)\n\n%s", cli::UsageText());
    return 2;
  }

  cli::CliObserver terminal(options.logFile);
  cli::CliActionLog actionLog(terminal);
  cli::CliPrompt prompt(options.answer);
  Session session({terminal, actionLog, prompt});
  StartupRequest startup;
  startup.commandLine = RawCommandLineFromArgs(options.arguments);
  startup.version = TWINEX_VERSION;
  std::string startError = session.Start(startup);
  if (!startError.empty()) {
    std::fprintf(stderr, "%s\n", startError.c_str());
    return 1;
  }
  for (const auto& note : session.app().notes) std::fprintf(stderr, "twinex-cli: %s\n", note.c_str());
  const AppPaths& paths = session.app().paths;
  if (!options.dbCommand.empty()) return cli::RunDatabaseCommand(options.dbCommand, ChecksumDatabaseLocation(paths), prompt);
  if (options.ResultCommand()) return cli::RunResultCommand(options, paths.dataFolder, prompt);
  std::string settingsFile = options.settingsFile.empty() ? "" : platform::AbsolutePath(options.settingsFile);
  if (!settingsFile.empty() && !platform::ExistFile(settingsFile)) {
    std::fprintf(stderr, "twinex-cli: settings file %s not found\n", settingsFile.c_str());
    return 2;
  }
  session.LoadSettings(settingsFile);
  if (options.listProfiles) ListProfiles(paths);

  std::vector<std::string> rejected;
  CommandLineOutcome outcome;
  session.ApplyCommandLine(RawCommandLineFromArgs(options.arguments, &rejected), &outcome);
  // The program's command line passes over what it cannot use; a terminal user hears about it.
  for (const auto& r : rejected) std::fprintf(stderr, "twinex-cli: argument ignored: %s\n", r.c_str());
  for (const auto& f : outcome.foldersNamed) {
    if (std::find(outcome.foldersAdded.begin(), outcome.foldersAdded.end(), f) == outcome.foldersAdded.end())
      std::fprintf(stderr, "twinex-cli: folder not found, skipped: %s\n", f.c_str());
  }

  if (!options.saveProfile.empty() && !SaveProfile(options, paths, session.settings(), prompt)) return 1;
  if (profileCommand) return 0;

  // Ctrl-C stops the search; the closing steps still run and show what was found.
  cli::StopSignalScope signals(session);
  cli::ApplyProtection(session.settings(), options);
  if (!options.loadResult.empty()) {
    if (!session.LoadResult(options.loadResult).empty()) return 1;
  } else {
    const SearchReport search = session.RunSearch(session.MakeSearchEnvironment());
    // A refused search leaves the last search's log as it was.
    if (!search.started) return 1;
  }
  int exitCode = cli::ApplySelections(session, options);
  // An action runs only on a selection that was made as asked.
  if (exitCode == 0) exitCode = cli::RunCliAction(session, options);
  exitCode = std::max(exitCode, cli::SaveCliResult(session, options));
  exitCode = std::max(exitCode, cli::WriteSearchResult(session, options));
  // The search window closes here: its log joins the general log and becomes lastsearch.txt.
  std::string logError = session.CloseSearchLog();
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
