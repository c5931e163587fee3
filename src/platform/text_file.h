#pragma once
// Reading text files whose encoding is only known by their byte-order mark (settings files,
// profiles, logs written by other versions or edited by hand).
#include <string>
#include <string_view>

namespace twinex::platform {

// UTF-8 text of file bytes: UTF-16LE or UTF-16BE by their mark (or, without one, by where
// the zero bytes lie), UTF-8 with or without mark, and otherwise Windows-1252.
std::string DecodeTextFile(std::string_view bytes);

}  // namespace twinex::platform
