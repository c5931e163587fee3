#include "cli/cli_db.h"

#include <cstdio>

#include "cli/cli_front.h"
#include "cli/cli_signals.h"
#include "search/checksum_db_maintenance.h"
#include "platform/run_control.h"
#include "settings/prompt.h"

namespace twinex::cli {

bool IsDatabaseCommand(const std::string& option) {
  return option == "--db-info" || option == "--db-clean" || option == "--db-clear" || option == "--db-new";
}

int RunDatabaseCommand(const std::string& command, const DatabaseLocation& location, Prompt& prompt) {
  if (command == "--db-info") {
    DatabaseInfo info;
    std::string error = GetDBinfo(location, info);
    if (!error.empty()) {
      std::fprintf(stderr, "%s\n", ForTerminal(error).c_str());
      return 1;
    }
    for (const auto& line : DatabaseInfoLines(info)) std::printf("%s\n", line.c_str());
    return 0;
  }
  if (command == "--db-clean") {
    // Ctrl-C ends the loop over the files; what was removed so far stays removed.
    RunControl run;
    StopSignalScope signals(run);
    MaintenanceProgress progress;
    progress.status = [](const std::string& text) { std::fprintf(stderr, "%s\n", text.c_str()); };
    progress.step = [&run](std::size_t, std::size_t) { return !run.StopRequested(); };
    return DB_Clean(location, prompt, progress) ? 0 : 1;
  }
  if (command == "--db-clear") return DB_Clear(location, prompt) ? 0 : 1;
  if (command == "--db-new") return DB_New(location, prompt) ? 0 : 1;
  return 1;
}

}  // namespace twinex::cli
