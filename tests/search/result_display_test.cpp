// What a finished search hands to the result window and the exports: size unit, owners, the
// caption of the files without duplicates.
#include <pwd.h>
#include <unistd.h>

#include "results/export_columns.h"
#include "search_fixture.h"

namespace twinex::test {
namespace {

struct Finished {
  RecordingObserver observer;
  ScriptedPrompt prompt;
  SearchOutcome outcome;
  Finished(const MainSettings& m, SearchEnvironment env = {}) { outcome = StartSearchForDups(m, env, observer, prompt); }
  const ResultTree& result() const { return outcome.search->result; }
};

TEST(ResultDisplay, SizesFollowTheUnitOfTheOptions) {
  TempDir t;
  t.Write("src/a", std::string(3 << 20, 'a'));
  t.Write("src/b", std::string(3 << 20, 'a'));
  SearchEnvironment env;
  env.settingsFile = t.Write("settings.ini", "[Optionen]\nFormatSize=2\nFormatSizeDecimal=0\n");
  Finished mb(SettingsFor({t / "src"}), env);
  EXPECT_EQ(mb.result().display.formatSize, 2);
  EXPECT_EQ(mb.result().SizeText(3 << 20), "3");
  ExportColumns columns;
  EXPECT_EQ(exporting::GroupColumnHeaders(mb.result(), columns)[2], "Größe (MB)");

  // A unit the program does not know shows bytes.
  env.settingsFile = t.Write("odd.ini", "[Optionen]\nFormatSize=9\n");
  Finished odd(SettingsFor({t / "src"}), env);
  EXPECT_EQ(odd.result().display.formatSize, 0);
  EXPECT_EQ(odd.result().display.formatSizeDecimal, 1);
}

TEST(ResultDisplay, OwnerIsReadWhenAskedFor) {
  TempDir t;
  t.Write("src/a", "same");
  t.Write("src/b", "same");
  MainSettings m = SettingsFor({t / "src"});
  Finished without(m);
  ASSERT_EQ(without.result().groups.size(), 1u);
  EXPECT_EQ(without.result().groups[0].files[0].Extras().owner, "");

  m.options.ShowOwner = true;
  Finished with(m);
  const passwd* me = getpwuid(geteuid());
  ASSERT_NE(me, nullptr);
  ASSERT_EQ(with.result().groups.size(), 1u);
  for (const auto& f : with.result().groups[0].files) EXPECT_EQ(f.Extras().owner, me->pw_name);
}

TEST(ResultDisplay, FilesWithoutDuplicatesKeepTheirCaptionInExports) {
  TempDir t;
  t.Write("src/a", "1");
  t.Write("src/b", "22");
  MainSettings m = SettingsFor({t / "src"});
  m.search.ShowOnlyFilesWithoutDups = true;
  Finished alone(m);
  ASSERT_EQ(alone.result().groups.size(), 1u);
  const ResultGroup& g = alone.result().groups[0];
  EXPECT_EQ(alone.result().GroupValue(g, "dupname").text, "Dateien ohne Duplikate");
  const auto cells = exporting::GroupCells(alone.result(), g, ExportColumns{});
  EXPECT_EQ(cells[0].text, "Dateien ohne Duplikate");
  EXPECT_EQ(cells[0].kind, exporting::CellKind::Text);
}

}  // namespace
}  // namespace twinex::test
