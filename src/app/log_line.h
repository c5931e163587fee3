#pragma once
// Log lines: the local date and time, " - ", "ERROR: " for error lines, the text.
#include <string>

namespace twinex {

std::string FormatLogLine(const std::string& text, bool isError);

// Appends one line (CR LF) to a UTF-16LE log file, creating it with the byte-order mark when
// missing. A failed write loses that line only; the error text is returned.
std::string AppendLogLine(const std::string& file, const std::string& line);

}  // namespace twinex
