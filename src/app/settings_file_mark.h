#pragma once
// The settings file is UTF-16LE with byte-order mark: a missing one is created holding only
// the mark, an existing one in another encoding is converted without losing a character.
#include <string>

namespace twinex {

// Returns an error text, "" when the file is ready.
std::string PrepareSettingsFile(const std::string& path);

}  // namespace twinex
