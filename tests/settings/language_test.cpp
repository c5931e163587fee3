#include "settings/language.h"

#include <gtest/gtest.h>

#include <cstdlib>

#include "platform/text.h"
#include "settings/settings_file.h"
#include "settings/translate.h"
#include "support/temp_dir.h"

namespace twinex {
namespace {

using test::TempDir;

class LanguageTest : public ::testing::Test {
 protected:
  void SetUp() override {
    settings = dir.Write("config4.ini", "\xFF\xFE");
    dir.Write("lang/lang_eng.txt", "3626,\"No search criterion is selected.\"\r\n");
  }
  void TearDown() override {
    unsetenv("LC_ALL");
    unsetenv("LC_MESSAGES");
    unsetenv("LANG");
    SetLanguageTable(7, {});
  }
  LanguageChoice Choose(const char* lang, const std::string& commandLine = "", const std::string& overrideFile = "") {
    unsetenv("LC_ALL");
    unsetenv("LC_MESSAGES");
    setenv("LANG", lang, 1);
    return Init_Sprache({dir / "lang", commandLine, overrideFile, false, settings});
  }
  std::string Text3626() { return z_Translate(3626, "Es ist kein Suchkriterium ausgewählt."); }

  TempDir dir;
  std::string settings;
};

TEST(PlatformLanguage, LocaleNamesGiveThePrimaryLanguage) {
  EXPECT_EQ(PrimaryLanguageOfLocale("de_DE.UTF-8"), 7);
  EXPECT_EQ(PrimaryLanguageOfLocale("de_AT@euro"), 7);
  EXPECT_EQ(PrimaryLanguageOfLocale("EN_us"), 9);
  EXPECT_EQ(PrimaryLanguageOfLocale("fr"), 12);
  EXPECT_EQ(PrimaryLanguageOfLocale("pt_BR.UTF-8"), 22);
  EXPECT_EQ(PrimaryLanguageOfLocale("C.UTF-8"), 9);
  EXPECT_EQ(PrimaryLanguageOfLocale("POSIX"), 9);
  EXPECT_EQ(PrimaryLanguageOfLocale("he_IL.UTF-8"), 13);
  EXPECT_EQ(PrimaryLanguageOfLocale("tlh_Klingon"), 0);

  setenv("LC_ALL", "", 1);  // set but empty: the next one counts
  setenv("LC_MESSAGES", "fr_FR.UTF-8", 1);
  setenv("LANG", "de_DE.UTF-8", 1);
  EXPECT_EQ(PlatformLanguage(), 12);
  unsetenv("LC_ALL");
  unsetenv("LC_MESSAGES");
  unsetenv("LANG");
  EXPECT_EQ(PlatformLanguage(), 9);
}

TEST_F(LanguageTest, GermanEnglishUnsupportedAndTheTranslatorSwitch) {
  LanguageChoice de = Choose("de_DE.UTF-8");
  EXPECT_EQ(de.code, 7);
  EXPECT_EQ(de.file, "");
  EXPECT_EQ(Text3626(), "Es ist kein Suchkriterium ausgewählt.");

  LanguageChoice en = Choose("en_US.UTF-8");
  EXPECT_EQ(en.code, 9);
  EXPECT_EQ(en.file, dir / "lang/lang_eng.txt");
  EXPECT_EQ(Text3626(), "No search criterion is selected.");

  EXPECT_EQ(Choose("he_IL.UTF-8").code, 9) << "a language without a file of its own is English";
  EXPECT_EQ(Text3626(), "No search criterion is selected.");

  // "-tl" alone, in any case, asks for the user's file; missing, the texts stay German.
  LanguageChoice missing = Choose("de_DE.UTF-8", " -TL ");
  EXPECT_EQ(missing.code, 9);
  EXPECT_EQ(Text3626(), "Es ist kein Suchkriterium ausgewählt.");
  dir.Write("lang/lang.txt", "3626,\"Mein Text\"\r\n");
  EXPECT_EQ(Choose("de_DE.UTF-8", "-tl").code, 999999);
  EXPECT_EQ(Text3626(), "Mein Text");
  EXPECT_EQ(Choose("de_DE.UTF-8", "-tl -s1").code, 7) << "only the switch on its own";
  EXPECT_EQ(Choose("de_DE.UTF-8", "", "lang.txt").code, 999999);
}

TEST_F(LanguageTest, StoredLanguageWinsAndIsSavedOnRequest) {
  ProfilePutItemWide("Allgemein", "Lang", "7", settings);
  EXPECT_EQ(Choose("en_US.UTF-8").code, 7);
  ProfilePutItemWide("Allgemein", "Lang", "13", settings);  // no file for it
  EXPECT_EQ(Choose("de_DE.UTF-8").code, 9);

  ProfilePutItemWide("Allgemein", "Lang", "0", settings);
  unsetenv("LANG");
  setenv("LC_ALL", "en_US.UTF-8", 1);
  Init_Sprache({dir / "lang", "", "", true, settings});
  EXPECT_EQ(ProfileGetItemWide("Allgemein", "Lang", "", settings), "9");
}

TEST(LanguageFile, MalformedLinesAreSkippedAndTheGoodOnesLoad) {
  LanguageFile f = ParseLanguageFile(
      "# a comment, with a comma\r\n"
      "#  Translator:  not this one\r\n"
      "# Translator:   Erika Muster  \r\n"
      "1,\"One\"\r\n"
      "  2 , \"Two, with comma and \"quotes\"\" \r\n"
      "3,Three without quotes\r\n"
      "x4,\"not a number\"\r\n"
      "5,\"unterminated\r\n"
      "no comma at all\r\n"
      "\r\n"
      "6,\"\"\n"
      "-7,\"negative\"\r\n"
      "8,\"%1%!%2\"");
  EXPECT_EQ(f.translator, "Erika Muster");
  EXPECT_EQ(f.entries, (std::vector<std::pair<int, std::string>>{
                           {1, "One"}, {2, "Two, with comma and \"quotes\""}, {6, ""}, {8, "%1%!%2"}}));
}

TEST_F(LanguageTest, FilesInEveryEncodingLoadAndEmptyEntriesFallBack) {
  const std::string text = "# Translator: Zoë\r\n1,\"Größe\"\r\n2,\"\"\r\n3,\"%2 vor %1%!Ende\"\r\n";
  const std::vector<std::string> encodings = {
      text, "\xEF\xBB\xBF" + text, platform::EncodeUtf16LE(text, true),
      "\xFE\xFF" + [&] {
        std::string le = platform::EncodeUtf16LE(text, false), be(le.size(), '\0');
        for (std::size_t i = 0; i + 1 < le.size(); i += 2) be[i] = le[i + 1], be[i + 1] = le[i];
        return be;
      }()};
  for (const std::string& bytes : encodings) {
    std::string path = dir.Write("lang/x.txt", bytes);
    ASSERT_TRUE(LoadTextFromFile(path, 9));
    EXPECT_EQ(TranslatorName(), "Zoë");
    EXPECT_EQ(z_Translate(1, "Groesse"), "Größe");
  }
  EXPECT_EQ(z_Translate(2, "Deutsch"), "Deutsch");
  EXPECT_EQ(z_Translate(3, "%1 vor %2", {"a", "b"}), "b vor a\r\nEnde");
  // Windows-1252 when the bytes are no UTF-8.
  ASSERT_TRUE(LoadTextFromFile(dir.Write("lang/ansi.txt", "1,\"Gr\xF6\xDF" "e \x80\"\r\n"), 9));
  EXPECT_EQ(z_Translate(1, "x"), "Größe €");
  EXPECT_FALSE(LoadTextFromFile(dir / "lang/none.txt", 9));
  EXPECT_EQ(z_Translate(1, "x"), "Größe €") << "a missing file changes nothing";
}

TEST_F(LanguageTest, UserFileIsMadeFromTheEnglishOneAfterAsking) {
  struct Scripted : Prompt {
    PromptAnswer answer = PromptAnswer::No;
    std::vector<std::string> asked;
    PromptAnswer Ask(const PromptMessage& m) override {
      asked.push_back(m.Text());
      return answer;
    }
  } prompt;
  EXPECT_TRUE(CreateUserLanguageFile(dir / "lang", prompt));
  EXPECT_TRUE(prompt.asked.empty());
  EXPECT_EQ(test::ReadFile(dir / "lang/lang.txt"), test::ReadFile(dir / "lang/lang_eng.txt"));

  dir.Write("lang/lang.txt", "mine");
  EXPECT_FALSE(CreateUserLanguageFile(dir / "lang", prompt));
  EXPECT_EQ(prompt.asked, std::vector<std::string>{"Soll die vorhandene Sprachdatei 'lang.txt' überschrieben werden?"});
  EXPECT_EQ(test::ReadFile(dir / "lang/lang.txt"), "mine");
  prompt.answer = PromptAnswer::Yes;
  EXPECT_TRUE(CreateUserLanguageFile(dir / "lang", prompt));
  EXPECT_EQ(test::ReadFile(dir / "lang/lang.txt"), test::ReadFile(dir / "lang/lang_eng.txt"));
}

}  // namespace
}  // namespace twinex
