#include "presenters/row_menu.h"

namespace twinex {
namespace {

enum class Needs { Selection, OtherFiles, File, FreeFile, Nothing };

struct RowMenuRow {
  RowCommand command;
  TextRef caption;
  Needs needs;
  bool separatorBefore;
  FileCommand fileCommand;
  const char* folderKey;
};

// Moving or renaming a protected file is refused by the engine anyway; the menu says so early.
const RowMenuRow kRows[] = {
    {RowCommand::DeleteSelected, {22600, "Ausgewählte Dateien löschen"}, Needs::Selection, false,
     FileCommand::DeleteSelected, nullptr},
    {RowCommand::DeleteOthers, {22601, "Alle anderen Dateien der Gruppe löschen"}, Needs::OtherFiles, false,
     FileCommand::DeleteOthers, nullptr},
    {RowCommand::Move, {22602, "Datei verschieben..."}, Needs::FreeFile, true, FileCommand::Move, "File_Moving_Path"},
    {RowCommand::Copy, {22603, "Datei kopieren..."}, Needs::File, false, FileCommand::Copy, "File_Copying_Path"},
    {RowCommand::Rename, {22604, "Datei umbenennen"}, Needs::FreeFile, false, FileCommand::Rename, nullptr},
    {RowCommand::FileManager, {22434, "Dateimanager..."}, Needs::Nothing, true, FileCommand::DeleteSelected, nullptr},
};

bool Works(Needs needs, const RowMenuContext& c) {
  switch (needs) {
    case Needs::Selection: return c.selectedFiles > 0;
    case Needs::OtherFiles: return c.onFile && c.groupFiles > 1;
    case Needs::File: return c.onFile;
    case Needs::FreeFile: return c.onFile && !c.fileProtected;
    case Needs::Nothing: return true;
  }
  return false;
}

const RowMenuRow& RowOf(RowCommand command) {
  for (const RowMenuRow& r : kRows)
    if (r.command == command) return r;
  return kRows[0];
}

}  // namespace

std::vector<RowMenuItem> RowMenuItems(const RowMenuContext& context) {
  std::vector<RowMenuItem> items;
  for (const RowMenuRow& r : kRows)
    items.push_back({r.command, z_Translate(r.caption), context.actionsAllowed && Works(r.needs, context),
                     r.separatorBefore});
  return items;
}

FileCommand FileCommandOf(RowCommand command) { return RowOf(command).fileCommand; }

const char* RowFolderKey(RowCommand command) { return RowOf(command).folderKey; }

}  // namespace twinex
