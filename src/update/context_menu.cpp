#include "update/context_menu.h"

#include <dirent.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <functional>

#include "platform/file_system.h"
#include "platform/ini_file.h"
#include "platform/process.h"
#include "platform/text.h"
#include "settings/search_settings.h"
#include "settings/translate.h"

namespace twinex::update {
namespace {

// Every file this program writes carries it, so removal touches nothing else.
constexpr char kMarker[] = "Written by Twinex";
constexpr char kThunarIdPrefix[] = "twinex-";
constexpr char kDolphinFile[] = "/kio/servicemenus/twinex-duplicates.desktop";

std::string ErrorText(const std::string& what) { return what + ": " + std::strerror(errno); }

std::string MakeFolders(const std::string& path) {
  if (path.empty() || platform::ExistFolder(path)) return "";
  std::string error = MakeFolders(platform::ParentFolder(path));
  if (!error.empty()) return error;
  if (::mkdir(path.c_str(), 0755) != 0 && errno != EEXIST) return ErrorText(path);
  return "";
}

// A caption as one file name.
std::string FileNameFor(std::string caption) {
  for (char& c : caption)
    if (c == '/') c = '-';
  return caption;
}


std::string CommandLine(const std::string& quotedProgram, const std::string& arguments, const std::string& files) {
  return quotedProgram + (arguments.empty() ? "" : " " + arguments) + " " + files;
}

// Calls back for every entry that starts the program, with the captions of the submenus above it.
void ForEachLeaf(const MenuEntry& entry, std::vector<std::string>& path,
                 const std::function<void(const std::vector<std::string>&, const MenuEntry&)>& visit) {
  for (const MenuEntry& child : entry.children) {
    if (child.children.empty()) {
      visit(path, child);
      continue;
    }
    path.push_back(child.caption);
    ForEachLeaf(child, path, visit);
    path.pop_back();
  }
}

// ---- Nautilus and Nemo: one executable script per entry, folders for the submenus ----

struct ScriptManager {
  const char* folder;       // below $XDG_DATA_HOME
  const char* pathsVariable;  // the selected paths, one per line
};
constexpr ScriptManager kScriptManagers[] = {
    {"/nautilus/scripts", "NAUTILUS_SCRIPT_SELECTED_FILE_PATHS"},
    {"/nemo/scripts", "NEMO_SCRIPT_SELECTED_FILE_PATHS"},
};

bool IsOurs(const std::string& file) {
  std::string content;
  return platform::ReadWholeFile(file, content) && content.find(kMarker) != std::string::npos;
}

// Deletes our scripts below the folder and the folders that held them once they are empty; the
// user's files and folders stay. True when something of ours was removed.
bool RemoveOurScripts(const std::string& folder, int depth) {
  DIR* dir = ::opendir(folder.c_str());
  if (!dir) return false;
  std::vector<std::string> names;
  while (dirent* e = ::readdir(dir))
    if (std::strcmp(e->d_name, ".") != 0 && std::strcmp(e->d_name, "..") != 0) names.emplace_back(e->d_name);
  ::closedir(dir);
  bool removed = false;
  for (const std::string& name : names) {
    const std::string path = folder + "/" + name;
    struct stat st;
    if (::lstat(path.c_str(), &st) != 0) continue;
    if (S_ISDIR(st.st_mode) && depth < 3) {
      // rmdir fails, as it should, while anything of the user's is left.
      if (RemoveOurScripts(path, depth + 1) && ::rmdir(path.c_str()) == 0) removed = true;
    } else if (S_ISREG(st.st_mode) && depth > 0 && IsOurs(path) && ::unlink(path.c_str()) == 0) {
      removed = true;
    }
  }
  return removed;
}

std::string WriteScripts(const ScriptManager& m, const std::string& program, const MenuEntry& root,
                         const MenuFolders& f) {
  const std::string base = f.dataHome + m.folder;
  RemoveOurScripts(base, 0);
  const std::string top = base + "/" + FileNameFor(root.caption);
  std::string error;
  std::vector<std::string> path;
  ForEachLeaf(root, path, [&](const std::vector<std::string>& submenus, const MenuEntry& e) {
    if (!error.empty()) return;
    std::string folder = top;
    for (const std::string& s : submenus) folder += "/" + FileNameFor(s);
    error = MakeFolders(folder);
    if (!error.empty()) return;
    const std::string script = std::string("#!/bin/sh\n# ") + kMarker + "; its menu command removes it.\nIFS='\n'\nset -f\nexec " +
                               CommandLine(ShellQuote(program), e.arguments, std::string("$") + m.pathsVariable) + "\n";
    const std::string file = folder + "/" + FileNameFor(e.caption);
    error = platform::WriteFileAtomic(file, script);
    if (error.empty() && ::chmod(file.c_str(), 0755) != 0) error = ErrorText(file);
  });
  return error;
}

// ---- Dolphin: one service menu; its submenus are flattened into "Submenu: Entry" ----

std::string WriteDolphin(const std::string& program, const MenuEntry& root, const MenuFolders& f) {
  std::string actions, ids;
  int n = 0;
  std::vector<std::string> path;
  ForEachLeaf(root, path, [&](const std::vector<std::string>& submenus, const MenuEntry& e) {
    std::string caption;
    for (const std::string& s : submenus) caption += s + ": ";
    caption += e.caption;
    const std::string id = "twinex" + std::to_string(++n);
    ids += id + ";";
    actions += "\n[Desktop Action " + id + "]\nName=" + caption + "\nIcon=twinex\nExec=" +
               CommandLine(DesktopExecQuote(program), e.arguments, "%F") + "\n";
  });
  const std::string text = std::string("# ") + kMarker + "; its menu command removes it.\n[Desktop Entry]\nType=Service\n"
                           "X-KDE-ServiceTypes=KonqPopupMenu/Plugin\nMimeType=inode/directory;\nX-KDE-Submenu=" +
                           root.caption + "\nIcon=twinex\nActions=" + ids + "\n" + actions;
  const std::string file = f.dataHome + kDolphinFile;
  std::string error = MakeFolders(platform::ParentFolder(file));
  if (error.empty()) error = platform::WriteFileAtomic(file, text);
  // Recent Dolphin versions only offer service menus that are executable.
  if (error.empty() && ::chmod(file.c_str(), 0755) != 0) error = ErrorText(file);
  return error;
}

std::string RemoveDolphin(const MenuFolders& f) {
  const std::string file = f.dataHome + kDolphinFile;
  if (platform::ExistFile(file) && IsOurs(file) && ::unlink(file.c_str()) != 0) return ErrorText(file);
  return "";
}

// ---- Thunar: our <action> blocks in uca.xml, the user's actions kept as they are ----

std::string ThunarFile(const MenuFolders& f) { return f.configHome + "/Thunar/uca.xml"; }

// The file without our actions; false when it is not a list of actions we can edit safely.
bool WithoutOurActions(const std::string& xml, std::string& out) {
  if (xml.find("</actions>") == std::string::npos) return false;
  out.clear();
  std::size_t at = 0;
  for (;;) {
    const std::size_t begin = xml.find("<action>", at);
    if (begin == std::string::npos) break;
    const std::size_t end = xml.find("</action>", begin);
    if (end == std::string::npos) return false;
    std::size_t after = end + std::strlen("</action>");
    const std::string block = xml.substr(begin, after - begin);
    out += xml.substr(at, begin - at);
    if (block.find(std::string("<unique-id>") + kThunarIdPrefix) == std::string::npos) {
      out += block;
    } else {
      // The block goes with the indentation before it and the line break after it.
      while (!out.empty() && (out.back() == ' ' || out.back() == '\t')) out.pop_back();
      if (after < xml.size() && xml[after] == '\n') ++after;
    }
    at = after;
  }
  out += xml.substr(at);
  return true;
}

std::string ReadThunar(const MenuFolders& f, std::string& cleaned) {
  std::string xml;
  if (!platform::ExistFile(ThunarFile(f))) {
    cleaned = "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<actions>\n</actions>\n";
    return "";
  }
  if (!platform::ReadWholeFile(ThunarFile(f), xml)) return ErrorText(ThunarFile(f));
  if (!WithoutOurActions(xml, cleaned)) return ThunarFile(f) + ": not a list of custom actions; left unchanged";
  return "";
}

std::string WriteThunar(const std::string& program, const MenuEntry& root, const MenuFolders& f) {
  std::string xml;
  std::string error = ReadThunar(f, xml);
  if (!error.empty()) return error;
  std::string ours;
  int n = 0;
  std::vector<std::string> path;
  ForEachLeaf(root, path, [&](const std::vector<std::string>& submenus, const MenuEntry& e) {
    std::string submenu = root.caption;
    for (const std::string& s : submenus) submenu += "/" + s;
    ours += "<action>\n\t<icon>twinex</icon>\n\t<name>" + platform::EscapeMarkup(e.caption) + "</name>\n\t<submenu>" +
            platform::EscapeMarkup(submenu) + "</submenu>\n\t<unique-id>" + kThunarIdPrefix + std::to_string(++n) +
            "</unique-id>\n\t<command>" + platform::EscapeMarkup(CommandLine(ShellQuote(program), e.arguments, "%F")) +
            "</command>\n\t<description>" + platform::EscapeMarkup(root.caption + ": " + e.caption) +
            "</description>\n\t<patterns>*</patterns>\n\t<directories/>\n</action>\n";
  });
  xml.insert(xml.rfind("</actions>"), ours);
  error = MakeFolders(platform::ParentFolder(ThunarFile(f)));
  return error.empty() ? platform::WriteFileAtomic(ThunarFile(f), xml) : error;
}

std::string RemoveThunar(const MenuFolders& f) {
  if (!platform::ExistFile(ThunarFile(f))) return "";
  std::string xml;
  std::string error = ReadThunar(f, xml);
  return error.empty() ? platform::WriteFileAtomic(ThunarFile(f), xml) : error;
}

void Collect(std::string& all, const char* manager, const std::string& error) {
  if (!error.empty()) all += std::string(all.empty() ? "" : "\n") + manager + ": " + error;
}

MenuEntry Leaf(std::string caption, std::string arguments) { return {std::move(caption), std::move(arguments), {}}; }

}  // namespace

MenuEntry ContextMenuDefinition() {
  MenuEntry content{z_Translate(3574, "Dateiinhalt"), "", {}};
  for (int i = 0; i < 6; ++i) content.children.push_back(Leaf(ContentCompareText(i), "-s4 -c" + std::to_string(i)));
  MenuEntry names{z_Translate(23020, "Ähnliche Dateinamen"), "", {}};
  for (int i = 0; i < 8; ++i)
    names.children.push_back(Leaf(PartialFilenameCompareMethodText(i), "-sc -f" + std::to_string(i)));
  MenuEntry pictures{z_Translate(13040, "Ähnliche Bilder"), "", {}};
  for (int i = 0; i < 10; ++i)
    pictures.children.push_back(
        Leaf(PictureAlgorithmText(kPictureAlgorithmListOrder[static_cast<std::size_t>(i)]), "-s9 -h" + std::to_string(i)));
  return {z_Translate(23021, "Twinex - Duplikate suchen anhand"),
          "",
          {Leaf(z_Translate(3577, "Dateiname"), "-s1"), Leaf(z_Translate(13033, "Dateiname mit Endung"), "-s12"),
           Leaf(z_Translate(3576, "Dateiendung"), "-s2"), Leaf(z_Translate(3575, "Dateigröße"), "-s3"), content,
           Leaf(z_Translate(3573, "Änderungsdatum"), "-s5"), Leaf(z_Translate(3572, "Erstellungsdatum"), "-s6"),
           Leaf(z_Translate(13038, "Attribute"), "-s7"), names, Leaf(z_Translate(13041, "Ähnliche Musik"), "-sa"),
           Leaf(z_Translate(13042, "Tonspur"), "-sb"), pictures, Leaf(z_Translate(13039, "Hardlinks"), "-s8"),
           Leaf(z_Translate(23022, "Aktuellen Einstellungen"), "")}};
}

MenuFolders DefaultMenuFolders() {
  const std::string home = platform::GetEnv("HOME");
  MenuFolders f;
  f.dataHome = platform::GetEnv("XDG_DATA_HOME");
  if (f.dataHome.empty()) f.dataHome = home + "/.local/share";
  f.configHome = platform::GetEnv("XDG_CONFIG_HOME");
  if (f.configHome.empty()) f.configHome = home + "/.config";
  return f;
}

std::string InstallContextMenus(const std::string& programPath, const MenuFolders& folders) {
  const MenuEntry root = ContextMenuDefinition();
  std::string errors;
  for (const ScriptManager& m : kScriptManagers) Collect(errors, m.folder, WriteScripts(m, programPath, root, folders));
  Collect(errors, "Dolphin", WriteDolphin(programPath, root, folders));
  Collect(errors, "Thunar", WriteThunar(programPath, root, folders));
  return errors;
}

std::string RemoveContextMenus(const MenuFolders& folders) {
  std::string errors;
  for (const ScriptManager& m : kScriptManagers) RemoveOurScripts(folders.dataHome + m.folder, 0);
  Collect(errors, "Dolphin", RemoveDolphin(folders));
  Collect(errors, "Thunar", RemoveThunar(folders));
  return errors;
}

std::string ShellQuote(const std::string& text) {
  std::string out = "'";
  for (char c : text) out += c == '\'' ? std::string("'\\''") : std::string(1, c);
  return out + "'";
}

std::string DesktopExecQuote(const std::string& text) {
  std::string quoted = "\"";
  for (char c : text) {
    if (c == '"' || c == '`' || c == '$' || c == '\\') quoted += '\\';
    quoted += c;
  }
  quoted += '"';
  // The value of a key is itself a string with escapes: each backslash is written twice.
  std::string out;
  for (char c : quoted) out += c == '\\' ? std::string("\\\\") : std::string(1, c);
  return out;
}

}  // namespace twinex::update
