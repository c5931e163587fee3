#include "settings/language.h"

#include <algorithm>
#include <mutex>

#include "platform/file_system.h"
#include "platform/ini_file.h"
#include "platform/process.h"
#include "platform/text.h"
#include "platform/text_file.h"
#include "settings/settings_file.h"
#include "settings/translate.h"
#include "settings/window_settings.h"

namespace twinex {
namespace {

struct LanguageFileRow {
  int code;
  const char* file;
};

// The languages that ship a file; German is built in.
constexpr LanguageFileRow kLanguageFiles[] = {
    {1, "lang_ara.txt"},  {4, "lang_chi.txt"},  {5, "lang_cze.txt"},  {6, "lang_dan.txt"},
    {7, ""},              {8, "lang_gre.txt"},  {9, "lang_eng.txt"},  {10, "lang_spa.txt"},
    {11, "lang_fin.txt"}, {12, "lang_fre.txt"}, {14, "lang_hun.txt"}, {16, "lang_ita.txt"},
    {17, "lang_jap.txt"}, {18, "lang_kor.txt"}, {19, "lang_dut.txt"}, {21, "lang_pol.txt"},
    {22, "lang_bpo.txt"}, {25, "lang_rus.txt"}, {29, "lang_swe.txt"}, {30, "lang_tha.txt"},
    {31, "lang_tur.txt"}, {34, "lang_ukr.txt"}, {36, "lang_slo.txt"}, {42, "lang_vie.txt"},
    {kLanguageChineseTraditional, "lang_cht.txt"},
    {kLanguageUserFile, "lang.txt"},
};

struct LocaleLanguage {
  const char* iso;
  int code;
};

// ISO 639-1 language codes and the platform's primary language identifiers.
constexpr LocaleLanguage kLocaleLanguages[] = {
    {"ar", 1},  {"bg", 2},  {"ca", 3},  {"zh", 4},  {"cs", 5},  {"da", 6},  {"de", 7},  {"el", 8},
    {"en", 9},  {"es", 10}, {"fi", 11}, {"fr", 12}, {"he", 13}, {"iw", 13}, {"hu", 14}, {"is", 15},
    {"it", 16}, {"ja", 17}, {"ko", 18}, {"nl", 19}, {"nb", 20}, {"nn", 20}, {"no", 20}, {"pl", 21},
    {"pt", 22}, {"rm", 23}, {"ro", 24}, {"ru", 25}, {"hr", 26}, {"sr", 26}, {"bs", 26}, {"sk", 27},
    {"sq", 28}, {"sv", 29}, {"th", 30}, {"tr", 31}, {"ur", 32}, {"id", 33}, {"uk", 34}, {"be", 35},
    {"sl", 36}, {"et", 37}, {"lv", 38}, {"lt", 39}, {"tg", 40}, {"fa", 41}, {"vi", 42}, {"hy", 43},
    {"az", 44}, {"eu", 45}, {"mk", 47}, {"af", 54}, {"ka", 55}, {"fo", 56}, {"hi", 57}, {"mt", 58},
    {"ga", 60}, {"ms", 62}, {"kk", 63}, {"ky", 64}, {"sw", 65}, {"uz", 67}, {"tt", 68}, {"bn", 69},
    {"pa", 70}, {"gu", 71}, {"or", 72}, {"ta", 73}, {"te", 74}, {"kn", 75}, {"ml", 76}, {"as", 77},
    {"mr", 78}, {"sa", 79}, {"mn", 80}, {"bo", 81}, {"cy", 82}, {"km", 83}, {"lo", 84}, {"gl", 86},
};

struct TranslatorStore {
  std::mutex lock;
  std::string name;
};

TranslatorStore& Translator() {
  static TranslatorStore store;
  return store;
}

bool AllDigits(std::string_view s) {
  return !s.empty() && std::all_of(s.begin(), s.end(), [](char c) { return c >= '0' && c <= '9'; });
}

}  // namespace

int PrimaryLanguageOfLocale(std::string_view locale) {
  std::string name = platform::LowerCase(locale.substr(0, locale.find_first_of("_.@-")));
  if (name.empty() || name == "c" || name == "posix") return kLanguageEnglish;
  for (const LocaleLanguage& l : kLocaleLanguages)
    if (name == l.iso) return l.code;
  return 0;
}

int PlatformLanguage() {
  for (const char* var : {"LC_ALL", "LC_MESSAGES", "LANG"}) {
    std::string value = platform::GetEnv(var);
    if (!value.empty()) return PrimaryLanguageOfLocale(value);
  }
  return kLanguageEnglish;
}

bool IsSupportedLanguage(int code) {
  return std::any_of(std::begin(kLanguageFiles), std::end(kLanguageFiles),
                     [code](const LanguageFileRow& r) { return r.code == code; });
}

std::string LanguageFileName(int code) {
  for (const LanguageFileRow& r : kLanguageFiles)
    if (r.code == code) return r.file;
  return "";
}

LanguageFile ParseLanguageFile(std::string_view text) {
  LanguageFile out;
  for (const std::string& raw : platform::Split(text, '\n')) {
    std::string line = platform::Trim(platform::EndsWith(raw, "\r") ? std::string_view(raw).substr(0, raw.size() - 1)
                                                                     : std::string_view(raw));
    if (line.empty()) continue;
    if (line[0] == '#') {
      if (platform::StartsWith(line, "# Translator:")) out.translator = platform::Trim(line.substr(13));
      continue;
    }
    std::size_t comma = line.find(',');
    if (comma == std::string::npos) continue;
    std::string number = platform::Trim(line.substr(0, comma));
    std::string rest = platform::Trim(line.substr(comma + 1));
    long long no = 0;
    // The text stands between the quote after the comma and the quote that ends the line.
    if (!AllDigits(number) || !platform::ParseLong(number, no) || no > 2147483647 || rest.size() < 2 ||
        rest.front() != '"' || rest.back() != '"')
      continue;
    out.entries.emplace_back(static_cast<int>(no), rest.substr(1, rest.size() - 2));
  }
  return out;
}

bool LoadTextFromFile(const std::string& path, int languageCode) {
  std::string bytes;
  if (!platform::ExistFile(path) || !platform::ReadWholeFile(path, bytes)) return false;
  LanguageFile file = ParseLanguageFile(platform::DecodeTextFile(bytes));
  // When a number comes twice, the first line wins, as the first key does in a settings file.
  std::vector<std::pair<int, std::string>> entries;
  entries.reserve(file.entries.size());
  for (auto& e : file.entries)
    if (std::none_of(entries.begin(), entries.end(), [&e](const auto& x) { return x.first == e.first; }))
      entries.push_back(std::move(e));
  SetLanguageTable(languageCode, std::move(entries));
  std::lock_guard guard(Translator().lock);
  Translator().name = file.translator;
  return true;
}

std::string TranslatorName() {
  std::lock_guard guard(Translator().lock);
  return Translator().name;
}

LanguageChoice Init_Sprache(const LanguageRequest& request) {
  long long stored = 0;
  if (!platform::ParseLong(ReadSetting("Allgemein", "Lang", request.settingsFile), stored)) stored = 0;
  int code = static_cast<int>(stored);
  if (code == 0) code = PlatformLanguage();
  if (!IsSupportedLanguage(code)) code = kLanguageEnglish;
  std::string fileName = LanguageFileName(code);
  if (platform::LowerCase(platform::Trim(request.commandLine)) == "-tl" || !request.overrideFile.empty()) {
    fileName = "lang.txt";
    code = kLanguageUserFile;
  }

  LanguageChoice choice;
  choice.code = code;
  {
    std::lock_guard guard(Translator().lock);
    Translator().name.clear();
  }
  if (fileName.empty()) {
    SetLanguageTable(code, {});
  } else {
    std::string path = request.langFolder + "/" + fileName;
    if (LoadTextFromFile(path, code)) {
      choice.file = path;
    } else {
      // Without its file the language shows the built-in texts.
      choice.code = kLanguageEnglish;
      SetLanguageTable(kLanguageEnglish, {});
    }
  }
  if (request.save) ProfilePutItemWide("Allgemein", "Lang", std::to_string(choice.code), request.settingsFile);
  return choice;
}

bool CreateUserLanguageFile(const std::string& langFolder, Prompt& prompt) {
  const std::string source = langFolder + "/" + LanguageFileName(kLanguageEnglish);
  const std::string target = langFolder + "/lang.txt";
  std::string bytes, error;
  if (!platform::ReadWholeFile(source, bytes, &error)) {
    prompt.Ask(PromptMessage::Make(TextRef{12031, "Die Sprachdatei '%1' wurde nicht gefunden."}, {source},
                                   PromptButtons::Ok, PromptIcon::Exclamation));
    return false;
  }
  if (platform::ExistFile(target) &&
      prompt.Ask(PromptMessage::Make(
          TextRef{12030, "Soll die vorhandene Sprachdatei 'lang.txt' überschrieben werden?"}, {},
          PromptButtons::YesNo, PromptIcon::Question)) != PromptAnswer::Yes)
    return false;
  error = platform::WriteFileAtomic(target, bytes);
  if (!error.empty()) {
    prompt.Ask(PromptMessage::Make(TextRef{12032, "Die Sprachdatei '%1' konnte nicht erstellt werden: %2"},
                                   {target, error}, PromptButtons::Ok, PromptIcon::Exclamation));
    return false;
  }
  return true;
}

}  // namespace twinex
