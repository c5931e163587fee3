#pragma once
// The display language: which language file is loaded at start, reading language files, and
// the user's own file "lang.txt" made from the English one.
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "settings/prompt.h"

namespace twinex {

inline constexpr int kLanguageGerman = 7;
inline constexpr int kLanguageEnglish = 9;
inline constexpr int kLanguageChineseTraditional = 888888;
inline constexpr int kLanguageUserFile = 999999;

// The platform's primary language identifier of a locale name ("de_DE.UTF-8" → 7, "fr" → 12);
// 9 for "C", "POSIX" and an empty name, 0 for a language this table does not know.
int PrimaryLanguageOfLocale(std::string_view locale);
// The user's language from LC_ALL, LC_MESSAGES and LANG (the first that is set and not empty).
int PlatformLanguage();
// The language file of a supported code ("lang_eng.txt" for 9); "" for German and for codes
// without a file.
std::string LanguageFileName(int code);
bool IsSupportedLanguage(int code);

struct LanguageFile {
  std::vector<std::pair<int, std::string>> entries;  // in file order
  std::string translator;
};
// Entry lines are: number, comma, the text in double quotes. A line starting with "#" is a
// comment ("# Translator:" names the translator); anything else is skipped.
LanguageFile ParseLanguageFile(std::string_view utf8Text);

// LoadTextFromFile: makes the file's texts the text table for the language code. A missing
// file changes nothing (false).
bool LoadTextFromFile(const std::string& path, int languageCode);
// The translator named by the loaded file ("" when none).
std::string TranslatorName();

struct LanguageRequest {
  std::string langFolder;    // the folder "lang" beside the program
  std::string commandLine;   // the program's raw command line
  std::string overrideFile;  // "lang.txt" when the user's file is switched on (UseLangTxt)
  bool save = false;         // store the chosen code as "Lang" in section "Allgemein"
  std::string settingsFile;  // "" for the settings file
};
struct LanguageChoice {
  int code = kLanguageGerman;
  std::string file;  // the language file loaded, "" for the built-in German texts
};
// Init_Sprache: chooses the display language and loads its file.
LanguageChoice Init_Sprache(const LanguageRequest& request);

// Writes "lang.txt" into the language folder as a copy of the English file, asking before an
// existing one is overwritten. Messages go through the prompt; true when the file was written.
bool CreateUserLanguageFile(const std::string& langFolder, Prompt& prompt);

}  // namespace twinex
