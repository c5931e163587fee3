#pragma once
// Removing old entries from the start of a log file.
#include <string>

#include "settings/program_options.h"

namespace twinex {

// Cut_Logfile: removes the lines at the start of the log whose date lies `days` or more calendar
// days back; the first line without a readable date, or a younger one, ends the cut. The rest
// goes through "<file>.tmp", which then replaces the log; on any error the log stays as it was
// and the (translated) error text is returned, "" otherwise.
std::string Cut_Logfile(const std::string& file, int days);

// At the main window's load, when LogDel is set: says so in the general log, trims it, and logs
// a failure there.
void TrimGeneralLog(const ProgramOptions& options);

}  // namespace twinex
