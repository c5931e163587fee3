#pragma once
// Folders and search switches given when the program starts (also from the file-manager
// context menu): splitting the raw text, applying the switches to the main settings, adding the
// named folders and loading a named profile.
#include <string>
#include <string_view>
#include <vector>

#include "app/app_paths.h"
#include "settings/settings_file.h"

namespace twinex {

// What one pass over the command line did, so that a front end can say so.
struct CommandLineOutcome {
  bool processed = false;
  std::string profileName;                // profile that was loaded, or empty
  std::string profilePath;                // its file, or empty
  std::vector<std::string> foldersNamed;  // folder tokens in the order given
  // Named folders that are now ticked source rows (newly added or already in the list).
  std::vector<std::string> foldersAdded;
};

// Splits the trimmed text at blanks outside double quotes. Quotes stay in their token;
// consecutive blanks give empty tokens.
std::vector<std::string> SplitCommandLine(std::string_view text);

// Applies the raw command line (everything after the program path) to the settings. Returns
// false, changing nothing, for "", "-RESTART" and "-TL"; true otherwise, and the caller then
// starts a search exactly as the start command does.
bool Init_Kommandozeile(std::string_view rawText, MainSettings& settings, const AppPaths& paths,
                        CommandLineOutcome* outcome = nullptr);

// Rebuilds the raw command-line text from arguments that a shell has already unquoted: a
// folder becomes an absolute path in double quotes, "-p:NAME" becomes -p:"NAME", everything
// else is passed as is. An argument that the text cannot carry faithfully (a double quote in a
// folder or profile name, an empty argument) is left out and, when asked, listed in rejected.
std::string RawCommandLineFromArgs(const std::vector<std::string>& args,
                                   std::vector<std::string>* rejected = nullptr);

}  // namespace twinex
