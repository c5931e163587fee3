#pragma once
// The program options of the main window (section "DupVerz" beside the search settings), its
// colour keys (section "Optionen"), the start wizard switch and the preview extension lists.
// They travel with the search settings into the settings file and into profiles.
#include <array>
#include <string>
#include <string_view>
#include <vector>

namespace twinex {

// One extension of a preview association list with its check mark ("D"n / "C"n).
struct ExtensionRow {
  std::string ext;
  bool ticked = false;
  bool operator==(const ExtensionRow&) const = default;
};

// The five preview lists in the order of their sections.
inline constexpr std::array<const char*, 5> kPreviewListSections = {"Dateiansicht", "Browseransicht", "WMPendungen",
                                                                    "VLCendungen", "PICendungen"};

struct ProgramOptions {
  bool ProfileKeineQuellordner = true;
  int ToolbarTheme = 14;
  int ToolbarThemeFontSize = 1;
  int ColorMode = 0;  // 0 standard, 1 dark, 2 user-defined
  int ColorModeFont = 0;
  int ColorModeBG = 16777215;
  bool Kontextmenu = false;
  int ContextmenuOpt = 0;
  bool CheckNewVersion = false;
  bool CheckNewBetaVersion = false;
  bool UnicodeSupport = false;
  std::string DateFormat3 = "dd/MM/yyyy hh:nn:ss";
  std::string DefenderText;  // empty reads as the user data folder
  bool ExternalPrgOpenFolder = false;
  // The file manager of the desktop opens the folder; "%1" is the file.
  std::string ExternalPrgOpenFolderText = "xdg-open \"%1\"";
  bool ExternalPrgOpenFiles = false;
  std::string ExternalPrgOpenFilesText;
  bool LogDel = true;
  std::string LogDelDays = "10";
  std::string ProgCompare;
  bool UseProgCompareWord = true;
  std::string ProgCompareWord = "doc,docx,rtf,txt";
  bool ExpandAllGroups = false;
  bool ShowOwner = false;
  bool ShowPicWidthHeight = false;
  bool ShowAudioProperties = false;
  std::string ShowAudioPropertiesExt = "m4a,mp3,wav";
  bool ShowHardlinks = false;
  bool PlaySoundAfterSearch = false;
  std::string SoundFileAfterSearch;  // empty reads as <program folder>/sound/4.mp3
  std::string SoundFileAfterSearchOrig;

  // Section "Optionen": colours as decimal BGR.
  int SelectedFilesBackgroundColor = 16777215;
  int UserSelectedFilesBackgroundColor = 16777215;
  int GroupBackColor = 16316644;
  int GroupTextColor = 0;
  int ArchiveFileTextColor = 13579779;
  int ReferenceFileTextColor = 4297405;
  int HardlinkTextColor = 10053222;

  // Section "Start".
  bool ShowWizard = true;

  // Sections kPreviewListSections, in that order.
  std::array<std::vector<ExtensionRow>, kPreviewListSections.size()> previewLists;

  bool operator==(const ProgramOptions&) const = default;
};

// LogDelDays as the user typed it: anything that is not a whole number of at least 1 becomes
// "30", so that a slip of the keyboard never deletes the whole log.
std::string NormalizeLogDelDays(std::string_view text);
// The days of LogDelDays after normalisation.
int LogDelDaysValue(const ProgramOptions& o);

// Display languages whose scripts need Unicode display support; a settings file without the
// UnicodeSupport key gets it switched on for them at the first load.
bool UnicodeSupportByDefault(int languageCode);

}  // namespace twinex
