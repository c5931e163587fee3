// The file manager, export and saved-results windows' decisions: which controls belong to which
// action or format, the state of the buttons through a run, and the names and files offered.
#include <gtest/gtest.h>

#include "platform/file_system.h"
#include "presenters/export_window_presenter.h"
#include "presenters/file_manager_presenter.h"
#include "presenters/saved_results_presenter.h"
#include "support/scripted_prompt.h"
#include "support/temp_dir.h"

namespace twinex {
namespace {

const FileManagerOption& OptionFor(bool FileManagerSettings::*flag) {
  for (const FileManagerOption& o : FileManagerOptions())
    if (o.flag == flag) return o;
  throw std::logic_error("no such option");
}

TEST(FileManagerPresenter, OptionsFollowTheAction) {
  FileManagerPresenter p{FileManagerSettings{}};
  EXPECT_EQ(FileManagerPresenter::ActionCaptions().size(), 5u);
  EXPECT_EQ(FileManagerPresenter::ActionCaptions()[3], "Lokale Dateien in den Windows Papierkorb verschieben");

  struct Case {
    FileAction action;
    bool folder, rename, links, secureDelete, noTrashDelete, emptyFolders;
  };
  const Case cases[] = {
      {FileAction::Delete, false, false, true, true, false, true},
      {FileAction::Copy, true, false, false, false, false, false},
      {FileAction::Move, true, false, true, false, false, true},
      {FileAction::Trash, false, false, true, false, true, true},
      {FileAction::Rename, false, true, false, false, false, false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(static_cast<int>(c.action));
    p.SetAction(c.action);
    EXPECT_EQ(p.FolderEnabled(), c.folder);
    EXPECT_EQ(p.RenameTemplateEnabled(), c.rename);
    EXPECT_EQ(p.OptionEnabled(OptionFor(&FileManagerSettings::ReplaceFileWithSameName)), c.rename);
    EXPECT_EQ(p.OptionEnabled(OptionFor(&FileManagerSettings::SetFileSizeToZero)), c.rename);
    EXPECT_EQ(p.OptionEnabled(OptionFor(&FileManagerSettings::OptionHardlink)), c.links);
    EXPECT_EQ(p.OptionEnabled(OptionFor(&FileManagerSettings::SecureDelete)), c.secureDelete);
    EXPECT_EQ(p.OptionEnabled(OptionFor(&FileManagerSettings::DeleteIfRecycleBinNotExist)), c.noTrashDelete);
    EXPECT_EQ(p.OptionEnabled(OptionFor(&FileManagerSettings::DelEmptyFolders)), c.emptyFolders);
    EXPECT_TRUE(p.OptionEnabled(OptionFor(&FileManagerSettings::SecureHint)));
  }
  p.SetAction(FileAction::Copy);
  test::ScriptedPrompt prompt;
  p.SetOption(OptionFor(&FileManagerSettings::CreateSubfolder), false, prompt);
  EXPECT_FALSE(p.SubfolderTextEnabled());
}

TEST(FileManagerPresenter, OptionsOfAnotherActionDoNotReachTheRun) {
  FileManagerSettings s;
  s.Aktion = FileAction::Copy;
  s.SetFileSizeToZero = true;  // left from an earlier rename
  s.OptionHardlink = true;
  s.SecureDelete = true;
  FileManagerPresenter p(s);
  const FileManagerRequest r = p.MakeRequest();
  EXPECT_FALSE(r.settings.SetFileSizeToZero);
  EXPECT_FALSE(r.settings.OptionHardlink);
  EXPECT_FALSE(r.settings.SecureDelete);
  EXPECT_TRUE(p.settings().SetFileSizeToZero);  // still remembered for the rename
  p.SetAction(FileAction::Rename);
  EXPECT_TRUE(p.MakeRequest().settings.SetFileSizeToZero);
}

TEST(FileManagerPresenter, LinkKindsExcludeEachOtherAndAllSelectedGroupsNeedAYes) {
  FileManagerPresenter p{FileManagerSettings{}};
  test::ScriptedPrompt prompt;
  p.SetOption(OptionFor(&FileManagerSettings::OptionHardlink), true, prompt);
  p.SetOption(OptionFor(&FileManagerSettings::OptionShortcut), true, prompt);
  EXPECT_FALSE(p.settings().OptionHardlink);
  EXPECT_TRUE(p.settings().OptionShortcut);

  const FileManagerOption& ignore = OptionFor(&FileManagerSettings::IgnoreGroupsAllFilesSelected);
  prompt.answers = {PromptAnswer::No};
  p.SetOption(ignore, false, prompt);
  EXPECT_TRUE(p.settings().IgnoreGroupsAllFilesSelected);
  ASSERT_EQ(prompt.texts.size(), 1u);
  EXPECT_NE(prompt.texts[0].find("absolut sicher"), std::string::npos);
  prompt.answers = {PromptAnswer::Yes};
  p.SetOption(ignore, false, prompt);
  EXPECT_FALSE(p.settings().IgnoreGroupsAllFilesSelected);
  p.SetOption(ignore, true, prompt);  // switching it back on is always safe
  EXPECT_EQ(prompt.texts.size(), 2u);
  EXPECT_TRUE(p.settings().IgnoreGroupsAllFilesSelected);
}

TEST(FileManagerPresenter, ButtonsAndDisplayThroughARun) {
  FileManagerSettings s;
  s.CloseFileManager = true;
  FileManagerPresenter p(s);
  p.SetRefusal("Die Suche wurde nicht vollständig ausgeführt.");
  EXPECT_FALSE(p.OkEnabled());
  p.SetRefusal("");
  EXPECT_TRUE(p.OkEnabled());
  EXPECT_EQ(p.CancelCaption(), "Abbrechen");

  // A refused start (the safety question answered No) leaves the window as it was.
  p.Started();
  EXPECT_FALSE(p.SettingsEnabled());
  EXPECT_FALSE(p.FolderEnabled());
  p.Finished(FileManagerOutcome{});
  EXPECT_TRUE(p.OkEnabled());
  EXPECT_EQ(p.AfterRun(), 0);

  p.Started();
  EXPECT_EQ(p.ActionText(), "Dateien löschen");
  EXPECT_FALSE(p.OkEnabled());
  EXPECT_EQ(p.CancelCaption(), "Abbrechen");
  p.SetProgress({"", "/a/b.txt", 1, 4, 3725});
  EXPECT_EQ(p.ProgressPercent(), 25);
  EXPECT_EQ(p.DoneText(), "1 / 4");
  EXPECT_EQ(p.ElapsedText(), "01:02:05");

  FileManagerOutcome cancelled;
  cancelled.started = true;
  cancelled.cancelled = true;
  cancelled.summary = {"Aktion 'Dateien löschen' wurde abgebrochen."};
  p.Finished(cancelled);
  EXPECT_EQ(p.CancelCaption(), "Schließen");
  EXPECT_FALSE(p.OkEnabled());
  EXPECT_EQ(p.summary(), cancelled.summary);
  EXPECT_EQ(p.AfterRun(), 0);  // a cancelled run leaves the window open to read why

  p.settings().CloseFileManagerType = 1;
  cancelled.cancelled = false;
  p.Finished(cancelled);
  EXPECT_EQ(p.AfterRun(), 2);
}

TEST(ExportWindowPresenter, ControlsFollowTheFormat) {
  ExportWindowPresenter p(ExportSettings{}, ExportColumns{});
  ExportSettings& s = p.settings();
  s.FileFormat = kExportTxt;
  EXPECT_FALSE(p.SeparatorEnabled());
  EXPECT_TRUE(p.FileListEnabled());
  s.FileFormat = kExportCsv;
  s.Delimiter = kSeparatorTab;
  EXPECT_TRUE(p.SeparatorEnabled());
  EXPECT_FALSE(p.CustomSeparatorEnabled());
  EXPECT_FALSE(p.FileListEnabled());
  s.Delimiter = kSeparatorCustom;
  EXPECT_TRUE(p.CustomSeparatorEnabled());
  EXPECT_EQ(p.DialogFilter(), "CSV (*.csv)");
  EXPECT_EQ(ExportWindowPresenter::SeparatorCaptions().back(), "Benutzerdefiniert");
}

TEST(ExportWindowPresenter, TargetFileTakesTheFormatsExtensionAndIsRemembered) {
  ExportSettings s;
  s.LastSaveDir = "/home/anna/export";
  s.FileFormat = kExportCsv;
  ExportWindowPresenter p(s, ExportColumns{});
  EXPECT_EQ(p.SuggestedTarget(), "/home/anna/export/Suchergebnis.csv");
  EXPECT_EQ(p.ChooseTarget("/tmp/out/liste"), "/tmp/out/liste.csv");
  EXPECT_EQ(p.settings().LastSaveDir, "/tmp/out");
  EXPECT_EQ(p.settings().LastSaveFileName, "liste.csv");
  p.settings().FileFormat = kExportXlsx;
  EXPECT_EQ(p.SuggestedTarget(), "/tmp/out/liste.xlsx");  // the old extension is swapped, not kept
  EXPECT_EQ(p.ChooseTarget("/tmp/out/Bericht.XLSX"), "/tmp/out/Bericht.XLSX");
  EXPECT_EQ(p.ChooseTarget("/tmp/out/v1.2"), "/tmp/out/v1.2.xlsx");
}

TEST(ExportWindowPresenter, RequestCarriesTheChoices) {
  ExportSettings s;
  s.FileFormat = kExportCsv;
  s.SaveOnlyFiles = true;  // stored while TXT was chosen
  s.SaveFileType = kExportSelected;
  s.Delimiter = kSeparatorCustom;
  s.DelimiterChars = "||";
  ExportColumns columns;
  columns.owner = true;
  ExportWindowPresenter p(s, columns);
  ExportRequest r = p.MakeRequest("/tmp/x.csv", "Dateigröße", {"Zeile"});
  EXPECT_FALSE(r.fileListOnly);
  EXPECT_EQ(r.which, kExportSelected);
  EXPECT_EQ(r.customSeparator, "||");
  EXPECT_TRUE(r.columns.owner);
  EXPECT_EQ(r.searchDescription, "Dateigröße");
  p.settings().FileFormat = kExportTxt;
  EXPECT_TRUE(p.MakeRequest("/tmp/x.txt", "", {}).fileListOnly);
}

TEST(SavedResultsPresenter, ListCellsAndCommands) {
  test::TempDir dir;
  const std::string data = dir / "data";
  ResultTree tree;
  ResultGroup& g = tree.AddGroup("g", 3, 0);
  for (const char* name : {"a.txt", "b.txt"}) {
    ResultFile f;
    f.dupname = name;
    f.path = dir.path();
    f.size = 3;
    tree.AddFile(g, std::move(f));
  }
  test::ScriptedPrompt prompt;
  for (const char* name : {"eins", "zwei"}) {
    SaveResultRequest r;
    r.dataFolder = data;
    r.name = name;
    r.info.searchCriteriaDesc = "Dateigröße";
    ASSERT_TRUE(Report_Save(tree, r, prompt).saved);
  }
  SavedResultsPresenter p(data);
  p.Refresh();
  ASSERT_EQ(p.entries().size(), 2u);
  EXPECT_EQ(SavedResultsPresenter::Headers().size(), 5u);
  const std::vector<std::string> cells = p.Cells(0);
  EXPECT_EQ(cells[0], "eins");
  EXPECT_EQ(cells[1], "2");
  EXPECT_EQ(cells[SavedResultsPresenter::kCommentColumn], "Dateigröße");
  EXPECT_FALSE(cells[3].empty());

  for (const SavedResultCommandRow& c : SavedResultCommands()) EXPECT_FALSE(p.Enabled(c.command));
  p.Choose(1);
  EXPECT_TRUE(p.Enabled(SavedResultCommand::Load));
  EXPECT_FALSE(p.Enabled(SavedResultCommand::ShowLog));  // saved without a search log
  // The choice follows its entry when the list is read again.
  ASSERT_EQ(Searchresult_Rename(data, "eins", "zzz"), "");
  p.Refresh();
  ASSERT_TRUE(p.ChosenEntry());
  EXPECT_EQ(p.ChosenEntry()->name, "zwei");

  EXPECT_EQ(SavedResultsPresenter::NameError(""), "");
  EXPECT_NE(SavedResultsPresenter::NameError("a/b"), "");
}

}  // namespace
}  // namespace twinex
