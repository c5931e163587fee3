#pragma once
// Text inside the program is UTF-8. These helpers convert at file boundaries (UTF-16LE files)
// and compare without regard to case the Unicode way. Bytes that are not valid UTF-8 (file
// names on Linux are bytes) pass through the case functions unchanged, so a name is never
// mangled; only the display helpers replace them.
#include <string>
#include <string_view>
#include <vector>

namespace twinex::platform {

bool IsValidUtf8(std::string_view s);

// "&", "<", ">", '"' and "'" as entities, for text put into an HTML page or an XML file: a file
// name or a tag value is shown, never parsed.
std::string EscapeMarkup(std::string_view text);
// The entity that stands for a markup character in such text; null for any other character.
const char* MarkupEntity(char c);

std::u16string Utf8ToUtf16(std::string_view utf8);
std::string Utf16ToUtf8(std::u16string_view utf16);

// UTF-16LE bytes, optionally preceded by the byte-order mark FF FE.
std::string EncodeUtf16LE(std::string_view utf8, bool withBom);
// Decodes UTF-16LE bytes; a leading FF FE is skipped.
std::string DecodeUtf16LE(std::string_view bytes);
std::string DecodeUtf16BE(std::string_view bytes);

// Unicode case folding ("Ä" and "ä" fold alike).
std::string FoldCase(std::string_view s);
bool EqualsNoCase(std::string_view a, std::string_view b);
std::string LowerCase(std::string_view s);
std::string UpperCase(std::string_view s);

// Text for showing a name: invalid bytes become U+FFFD.
std::string DisplayText(std::string_view s);

// Number of characters (code points; an invalid byte counts as one).
std::size_t CharCount(std::string_view s);
// Splits into characters (each a UTF-8 sequence, or a single invalid byte).
std::vector<std::string_view> SplitChars(std::string_view s);

// Removes leading and trailing blanks (spaces and tabs).
std::string Trim(std::string_view s);
std::vector<std::string> Split(std::string_view s, char sep);
bool StartsWith(std::string_view s, std::string_view prefix);
bool EndsWith(std::string_view s, std::string_view suffix);
std::string ReplaceAll(std::string s, std::string_view from, std::string_view to);

// Whole number in the text (optional sign, digits, surrounding blanks); false when not numeric.
bool ParseLong(std::string_view s, long long& out);
// Number in the text as a real value (decimal point or comma); false when not numeric.
bool ParseDouble(std::string_view s, double& out);

}  // namespace twinex::platform
