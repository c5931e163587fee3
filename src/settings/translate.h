#pragma once
// The one lookup every shown or logged text goes through: a text number and the German text.
// Calls are written z_Translate(<number>, "<German text>", {params}) with literals, so that the
// catalogue test can read every number and text from the sources.
#include <initializer_list>
#include <string>
#include <string_view>
#include <vector>

namespace twinex {

// A text number with its German text, for tables of texts; written TextRef{<number>, "<German>"}
// so that the catalogue scan finds it like a z_Translate call.
struct TextRef {
  int no;
  const char* german;
};

std::string z_Translate(int textNo, std::string_view german, std::initializer_list<std::string_view> params = {});
std::string z_Translate(int textNo, std::string_view german, const std::vector<std::string>& params);

std::string z_Translate(const TextRef& text, std::initializer_list<std::string_view> params = {});

// Fills "%1".."%n" of an already translated text (and "%!" as CR LF).
std::string FillParams(std::string_view text, const std::vector<std::string>& params);

// The language table (a language file loaded by the translation module). Language 7 = German
// built-in texts; any other code looks up the table first.
void SetLanguageTable(int languageCode, std::vector<std::pair<int, std::string>> entries);
int CurrentLanguage();

}  // namespace twinex
