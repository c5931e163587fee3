#pragma once
// The stored choices of the file manager (section "Aktionen" of the settings file): read when
// the window opens, written when it closes.
#include <string>

namespace twinex {

enum class FileAction : int { Delete = 0, Copy = 1, Move = 2, Trash = 3, Rename = 4 };

struct FileManagerSettings {
  FileAction Aktion = FileAction::Delete;
  int GroupAction = 0;  // 0 all groups, 1 only the groups the group filter shows
  // On unless the user turned it off: no group loses all its files by accident.
  bool IgnoreGroupsAllFilesSelected = true;
  std::string Ordner;  // backup folder
  bool Ordnerstruktur = true;
  bool CreateSubfolder = true;
  std::string CreateSubfolderText = "\"%USERNAME%\\\"YYYY-MM-DD HH-NN-SS";
  std::string Rename = "DUPLIKAT %NAME%%EXT%";
  bool ReplaceFileWithSameName = false;
  bool OptionHardlink = false;
  bool OptionShortcut = false;
  bool SetFileSizeToZero = false;
  bool SecureDelete = false;
  bool DeleteIfRecycleBinNotExist = false;
  bool SecureHint = true;
  bool LogNoActions = true;
  bool DelEmptyFolders = false;
  bool IfErrorDontAskToAbort = false;
  bool DateienEntfernen = true;
  bool GruppenEntfernen = false;
  bool CloseFileManager = false;
  int CloseFileManagerType = 0;  // 0 close the file manager, 1 end the program

  bool operator==(const FileManagerSettings&) const = default;
};

// Reads the section; a value that is missing or out of range reads as its default. An empty
// file means the settings file.
FileManagerSettings LoadFileManagerSettings(const std::string& file = "");
// Writes every key in one write of the file; returns the error text or "".
[[nodiscard]] std::string SaveFileManagerSettings(const FileManagerSettings& settings, const std::string& file = "");

}  // namespace twinex
