#pragma once
// The folder context menu of the common file managers: "Twinex - Duplikate suchen anhand" with
// one entry per criterion or method, each starting the program with its switches and the
// selected folders. Written and removed by a menu command of the program, for Nautilus and Nemo
// (scripts), Dolphin (a service menu) and Thunar (custom actions in uca.xml, edited in place).
#include <string>
#include <vector>

namespace twinex::update {

struct MenuEntry {
  std::string caption;
  std::string arguments;             // the switches passed before the folders
  std::vector<MenuEntry> children;   // a submenu when not empty
};

// The whole menu in the current language; the root is the top entry.
MenuEntry ContextMenuDefinition();

// Where the file managers look: $XDG_DATA_HOME and $XDG_CONFIG_HOME, with their defaults.
struct MenuFolders {
  std::string dataHome;
  std::string configHome;
};
MenuFolders DefaultMenuFolders();

// Writes the entries for every file manager, replacing earlier ones of this program; "" or the
// errors, one line per file manager that failed.
std::string InstallContextMenus(const std::string& programPath, const MenuFolders& folders);
// Removes only what this program wrote; the user's own scripts and actions stay.
std::string RemoveContextMenus(const MenuFolders& folders);

// Quoting of the program path for a POSIX shell and for the Exec key of a .desktop file.
std::string ShellQuote(const std::string& text);
std::string DesktopExecQuote(const std::string& text);

}  // namespace twinex::update
