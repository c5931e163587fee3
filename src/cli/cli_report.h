#pragma once
// What the command line does with a finished search: the text report on standard output, or
// the export the options ask for.
#include "cli/cli_options.h"

namespace twinex {
class Search;
class Prompt;
}  // namespace twinex

namespace twinex::cli {

// Returns the exit code contribution: 0 written, 1 a failed export.
int WriteSearchResult(const Search& search, const CliOptions& options, const std::string& settingsFile, Prompt& prompt);

}  // namespace twinex::cli
