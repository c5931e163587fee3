#pragma once
// Text made safe for the generated pages, and rich text (RTF) turned into a small HTML page,
// since the text view's widget reads HTML but not RTF.
#include <string>
#include <string_view>

#include "platform/text.h"

namespace twinex::preview {

// "&", "<", ">", '"' and "'" as entities: a file name or a tag value is shown, never parsed.
inline std::string HtmlEscape(std::string_view text) { return platform::EscapeMarkup(text); }

// The text of an RTF document as an HTML body fragment: paragraphs and line breaks, tabs, bold,
// italic and underline, characters given as "\'hh" (Windows-1252) or "\uN"; font and colour
// tables, pictures and other hidden groups are left out. Whatever it cannot read is dropped,
// so a broken file gives a shorter text, never a failure.
std::string RtfToHtml(std::string_view rtf);

}  // namespace twinex::preview
