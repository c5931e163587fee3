#include "cli/cli_options.h"

#include <string_view>

#include "cli/cli_db.h"
#include "cli/cli_select.h"

namespace twinex::cli {

std::string ParseCliOptions(int argc, char** argv, CliOptions& o) {
  bool ownOptions = true;
  for (int i = 1; i < argc; ++i) {
    std::string_view a = argv[i];
    if (!ownOptions || a.substr(0, 2) != "--") {
      o.arguments.emplace_back(a);
      continue;
    }
    auto value = [&](std::string& into) -> bool {
      if (i + 1 >= argc) return false;
      into = argv[++i];
      return true;
    };
    if (a == "--") {
      ownOptions = false;
    } else if (a == "--settings") {
      if (!value(o.settingsFile)) return "--settings needs a file";
    } else if (a == "--log") {
      if (!value(o.logFile)) return "--log needs a file or -";
    } else if (a == "--export") {
      if (!value(o.exportFile)) return "--export needs a file";
      std::string ext = o.exportFile.substr(o.exportFile.find_last_of('.') == std::string::npos ? o.exportFile.size()
                                                                                                 : o.exportFile.find_last_of('.'));
      if (ext != ".txt" && ext != ".csv" && ext != ".xlsx") return "--export: the file must end in .txt, .csv or .xlsx";
    } else if (a == "--file-list") {
      o.fileList = true;
    } else if (a == "--which") {
      if (!value(o.which) || (o.which != "all" && o.which != "selected" && o.which != "unselected"))
        return "--which takes all, selected or unselected";
    } else if (a == "--delimiter") {
      if (!value(o.delimiter) || o.delimiter.empty()) return "--delimiter needs a separator";
    } else if (a == "--profiles") {
      o.listProfiles = true;
    } else if (a == "--save-profile") {
      if (!value(o.saveProfile)) return "--save-profile needs a name";
    } else if (a == "--comment") {
      if (!value(o.comment)) return "--comment needs a text";
      o.commentGiven = true;
    } else if (IsDatabaseCommand(std::string(a))) {
      if (!o.dbCommand.empty()) return "one database command at a time";
      o.dbCommand = a;
    } else if (a == "--select" || a == "--deselect" || a == "--mode") {
      std::string v;
      if (!value(v)) return std::string(a) + " needs a value";
      if (std::string e = ParseSelectionOption(a, v, o); !e.empty()) return e;
    } else if (IsActionOption(a)) {
      if (std::string e = ParseActionOption(a, argc, argv, i, o.action); !e.empty()) return e;
    } else if (a == "--yes") {
      o.answer = 1;
    } else if (a == "--no") {
      o.answer = -1;
    } else if (a == "--help") {
      o.help = true;
    } else if (a == "--version") {
      o.version = true;
    } else {
      return "unknown option " + std::string(a);
    }
  }
  if (o.commentGiven && o.saveProfile.empty()) return "--comment goes with --save-profile";
  if (std::string e = CheckActionOptions(o.action); !e.empty()) return e;
  if (!o.dbCommand.empty() && !o.arguments.empty()) return o.dbCommand + " takes no search arguments";
  return "";
}

const char* UsageText() {
  return "Usage: twinex-cli [--settings FILE] [--yes | --no] [--log FILE|-] ARGUMENTS...\n"
         "       twinex-cli --profiles | --save-profile NAME [--comment TEXT] [ARGUMENTS...]\n"
         "\n"
         "Finds duplicate files. ARGUMENTS are the program's own switches and folders, e.g.\n"
         "  twinex-cli -s34 -c2 /data/Fotos /mnt/backup\n"
         "\n"
         "Search switches:\n"
         "  -sDIGITS   search by file properties; each digit ticks a criterion:\n"
         "             1 name, 2 extension, 3 size, 4 content, 5 modified, 6 created, 7 attributes\n"
         "  -cN        content method (with criterion 4): 0 byte by byte, 1 MD5, 2 SHA-1,\n"
         "             3 SHA-256, 4 SHA-384, 5 SHA-512\n"
         "  -sc -fN    similar file names, algorithm N (0-7)\n"
         "  -s9 -hN    similar pictures, algorithm N (0-9); -dN comparison size; -mN percent\n"
         "  -sa        similar music (-mN percent, -lN seconds, -aN algorithm 1/2/4/5)\n"
         "  -sb        video and music files by audio-track length\n"
         "  -s8        hard links\n"
         "  -p:NAME    load the profile NAME after the switches and folders\n"
         "Folders named replace the ticked source folders of the settings.\n"
         "\n"
         "Options:\n"
         "  --settings FILE  settings file or profile to use (default: the user's config4.ini)\n"
         "  --yes, --no      answer the program's questions; without them the answer that\n"
         "                   loses nothing is taken and reported on standard error\n"
         "  --log FILE|-     write the search log to FILE (UTF-16LE) or standard output (-)\n"
         "                   instead of standard error\n"
         "  --export FILE    write the result to FILE: .txt report, .csv table or .xlsx workbook\n"
         "                   (without it the text report goes to standard output)\n"
         "  --file-list      write a plain list of the files' paths instead\n"
         "  --which all|selected|unselected   which files are written (default all)\n"
         "  --delimiter comma|semicolon|tab|space|TEXT   CSV field separator\n"
         "  --profiles       list the profiles (name and comment) instead of searching\n"
         "  --save-profile NAME [--comment TEXT]   save the settings, after the switches and\n"
         "                   folders of ARGUMENTS, as the profile NAME instead of searching\n"
         "  --db-info        show the checksum database's version, size and counts\n"
         "  --db-clean       remove the checksums of files that no longer exist\n"
         "  --db-clear       delete all checksums (asks: needs --yes)\n"
         "  --db-new         delete the database and make a new one (asks: needs --yes)\n"
         "  --help, --version\n"
         "\n"
         "Exit status: 0 the search ran (also when stopped with Ctrl-C), 1 the search was\n"
         "refused (the message says why), 2 usage error.\n";
}

}  // namespace twinex::cli
