#pragma once
// The saved results from the command line: --save, --autosave, --results, --rename-result and
// --delete-result (--load goes through the session like a search).
#include <string>

namespace twinex {
class Prompt;
class Session;
}  // namespace twinex

namespace twinex::cli {

struct CliOptions;

// --results, --rename-result or --delete-result; the exit code.
int RunResultCommand(const CliOptions& options, const std::string& dataFolder, Prompt& prompt);
// --save or --autosave (with --comment) on the session's result; the exit code contribution.
int SaveCliResult(Session& session, const CliOptions& options);

}  // namespace twinex::cli
