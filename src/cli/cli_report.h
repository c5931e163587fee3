#pragma once
// What the command line does with a finished search: the text report on standard output, or
// the export the options ask for.
#include "cli/cli_options.h"

namespace twinex {
class Session;
}  // namespace twinex

namespace twinex::cli {

// Returns the exit code contribution: 0 written, 1 a failed export.
int WriteSearchResult(Session& session, const CliOptions& options);

}  // namespace twinex::cli
