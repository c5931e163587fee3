#pragma once
// The selection tools from the command line: --select TOOL[=VALUE], --deselect TOOL[=VALUE]
// (repeatable, applied in order after the search and before the result is written) and --mode N.
#include <string>
#include <string_view>

#include "cli/cli_options.h"
#include "results/selection_tools.h"

namespace twinex {
class Session;
}  // namespace twinex

namespace twinex::cli {

// Takes one of the three options with its value into the options; returns a usage error or "".
// Every value is checked here, so that a run never stops halfway through its selections.
std::string ParseSelectionOption(std::string_view option, const std::string& value, CliOptions& options);

// One step read back: the command and its request. False (with the reason) for a bad step.
bool MakeSelectionStep(const SelectStep& step, const SelectTool*& tool, SelectRequest& request, std::string& error);

// Runs the steps on the session's result, printing each step's count message on standard error.
// Returns the exit code contribution: 0 done (or nothing asked), 1 a step was refused; the steps
// after a refused one do not run, and nothing should act on that selection.
int ApplySelections(Session& session, const CliOptions& options);

// The help section: the options and every tool, generated from the tool table.
std::string SelectionUsage();

}  // namespace twinex::cli
