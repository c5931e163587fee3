#pragma once
// Names as the similarity measures see them: one character is one Unicode code point. A byte
// that is not valid UTF-8 (file names on Linux are bytes) becomes a code point of its own in the
// low-surrogate range, which valid text never holds, so it compares equal only to the same byte.
#include <cstdint>
#include <string>
#include <string_view>

namespace twinex::similar {

using Chars = std::u32string_view;

std::u32string ToCodePoints(std::string_view utf8);

// A 64-bit summary of which characters occur (each character sets one bit; letters and digits
// have a bit of their own).
// When a bit is set for one name and not for the other, at least one character of the first
// cannot be matched in the second; the prunings build their bounds on that.
std::uint64_t CharacterMask(Chars s);

}  // namespace twinex::similar
