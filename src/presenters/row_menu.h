#pragma once
// The result grid's context menu: the actions on single files and which of them work for the
// row the user clicked, from one table. The window builds its menu from the items.
#include <cstddef>
#include <string>
#include <vector>

#include "app/session.h"
#include "settings/translate.h"

namespace twinex {

enum class RowCommand { DeleteSelected, DeleteOthers, Move, Copy, Rename, FileManager };

// What the menu knows about the click and the result.
struct RowMenuContext {
  bool onFile = false;            // a file row (not a group row, not empty space)
  std::size_t groupFiles = 0;     // files in that row's group
  bool fileProtected = false;     // the row's file lies in a protected source folder
  std::size_t selectedFiles = 0;  // checked files of the whole result
  bool actionsAllowed = false;    // a complete result and no run going on
};

struct RowMenuItem {
  RowCommand command;
  std::string caption;
  bool enabled = false;
  bool separatorBefore = false;
};

std::vector<RowMenuItem> RowMenuItems(const RowMenuContext& context);
// The session command behind a menu command (FileManager opens a window instead).
FileCommand FileCommandOf(RowCommand command);
// The key of "Optionen" that remembers the folder a move or copy went to.
const char* RowFolderKey(RowCommand command);

}  // namespace twinex
