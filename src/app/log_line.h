#pragma once
// Log lines: the local date and time, " - ", "ERROR: " for error lines, the text.
#include <string>
#include <string_view>

namespace twinex {

std::string FormatLogLine(const std::string& text, bool isError);

// Appends one line (CR LF) to a UTF-16LE log file, creating it with the byte-order mark when
// missing. A failed write loses that line only; the error text is returned.
std::string AppendLogLine(const std::string& file, const std::string& line);
// Appends UTF-16LE bytes the same way (one write call).
std::string AppendLogBytes(const std::string& file, std::string_view utf16Bytes);
// Creates the file holding only the byte-order mark when it is missing.
std::string CreateLogFile(const std::string& file);

}  // namespace twinex
