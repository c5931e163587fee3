#pragma once
// The checksum database commands of twinex-cli: --db-info, --db-clean, --db-clear, --db-new.
#include <string>

#include "search/checksum_db_location.h"

namespace twinex {
class Prompt;
}

namespace twinex::cli {

// True for the option names above.
bool IsDatabaseCommand(const std::string& option);

// Runs one of them ("--db-info" …). Clearing and re-creating ask first, so they change
// nothing without --yes. Returns the exit code: 0 done, 1 refused or failed.
int RunDatabaseCommand(const std::string& command, const DatabaseLocation& location, Prompt& prompt);

}  // namespace twinex::cli
