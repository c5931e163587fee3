#include "cli/cli_options.h"

#include <string_view>

#include "cli/cli_args.h"
#include "cli/cli_db.h"
#include "cli/cli_select.h"

namespace twinex::cli {

namespace {

// One option that takes a text: where it goes, and what to say when it is missing.
struct TextOption {
  std::string_view name;
  std::string CliOptions::*field;
  const char* need;
  bool allowEmpty;
};

constexpr TextOption kTextOptions[] = {
    {"--settings", &CliOptions::settingsFile, "--settings needs a file", false},
    {"--log", &CliOptions::logFile, "--log needs a file or -", false},
    {"--export", &CliOptions::exportFile, "--export needs a file", false},
    {"--which", &CliOptions::which, "--which takes all, selected or unselected", false},
    {"--delimiter", &CliOptions::delimiter, "--delimiter needs a separator", false},
    {"--save-profile", &CliOptions::saveProfile, "--save-profile needs a name", false},
    {"--comment", &CliOptions::comment, "--comment needs a text (\"\" for none)", true},
    {"--save", &CliOptions::saveResult, "--save needs a name", false},
    {"--load", &CliOptions::loadResult, "--load needs the name of a saved result", false},
    {"--delete-result", &CliOptions::deleteResult, "--delete-result needs the name of a saved result", false},
};

std::string CheckTextOption(std::string_view name, CliOptions& o) {
  if (name == "--export") {
    const std::size_t dot = o.exportFile.find_last_of('.');
    const std::string ext = dot == std::string::npos ? "" : o.exportFile.substr(dot);
    if (ext != ".txt" && ext != ".csv" && ext != ".xlsx") return "--export: the file must end in .txt, .csv or .xlsx";
  }
  if (name == "--which" && o.which != "all" && o.which != "selected" && o.which != "unselected")
    return "--which takes all, selected or unselected";
  if (name == "--comment") o.commentGiven = true;
  return "";
}

// One option that only switches something on.
struct FlagOption {
  std::string_view name;
  void (*set)(CliOptions&);
};

constexpr FlagOption kFlagOptions[] = {
    {"--file-list", [](CliOptions& o) { o.fileList = true; }},
    {"--profiles", [](CliOptions& o) { o.listProfiles = true; }},
    {"--results", [](CliOptions& o) { o.listResults = true; }},
    {"--autosave", [](CliOptions& o) { o.autoSave = true; }},
    {"--yes", [](CliOptions& o) { o.answer = 1; }},
    {"--no", [](CliOptions& o) { o.answer = -1; }},
    {"--help", [](CliOptions& o) { o.help = true; }},
    {"--version", [](CliOptions& o) { o.version = true; }},
};

std::string ParseOne(std::string_view a, ArgCursor& args, CliOptions& o) {
  for (const TextOption& t : kTextOptions) {
    if (a != t.name) continue;
    std::optional<std::string> v = args.Value(t.allowEmpty);
    if (!v) return t.need + args.ValueHint();
    o.*t.field = std::move(*v);
    return CheckTextOption(a, o);
  }
  for (const FlagOption& f : kFlagOptions) {
    if (a != f.name) continue;
    f.set(o);
    return "";
  }
  if (IsDatabaseCommand(std::string(a))) {
    if (!o.dbCommand.empty()) return "one database command at a time";
    o.dbCommand = a;
    return "";
  }
  if (a == "--rename-result") {
    std::optional<std::string> from = args.Value(), to = from ? args.Value() : std::nullopt;
    if (!to) return "--rename-result needs the saved result's name and its new name" + args.ValueHint();
    o.renameResult = std::move(*from);
    o.renameResultTo = std::move(*to);
    return "";
  }
  if (a == "--select" || a == "--deselect" || a == "--mode") {
    std::optional<std::string> v = args.Value();
    if (!v) return std::string(a) + " needs a value" + args.ValueHint();
    return ParseSelectionOption(a, *v, o);
  }
  if (IsActionOption(a)) return ParseActionOption(a, args, o.action);
  return "unknown option " + std::string(a);
}

}  // namespace

std::string ParseCliOptions(int argc, char** argv, CliOptions& o) {
  ArgCursor args(argc, argv);
  bool ownOptions = true;
  while (!args.Done()) {
    std::string_view a = args.Next();
    if (!ownOptions || a.substr(0, 2) != "--") {
      o.arguments.emplace_back(args.Raw());
      continue;
    }
    if (a == "--") {
      ownOptions = false;
      continue;
    }
    if (std::string e = ParseOne(a, args, o); !e.empty()) return e;
    if (args.UnusedValue()) return std::string(a) + " takes no value";
  }
  if (o.commentGiven && o.saveProfile.empty() && o.saveResult.empty() && !o.autoSave)
    return "--comment goes with --save-profile, --save or --autosave";
  if (!o.saveResult.empty() && o.autoSave) return "--save and --autosave exclude each other";
  const int resultCommands = o.listResults + !o.renameResult.empty() + !o.deleteResult.empty();
  if (resultCommands > 1) return "one of --results, --rename-result and --delete-result at a time";
  if ((resultCommands > 0 || !o.loadResult.empty()) && !o.arguments.empty())
    return "--load and the saved-result commands take no search arguments";
  if (resultCommands > 0 && (!o.loadResult.empty() || !o.saveResult.empty() || o.autoSave))
    return "the saved-result commands go alone";
  if (std::string e = CheckActionOptions(o.action); !e.empty()) return e;
  if (!o.dbCommand.empty() && !o.arguments.empty()) return o.dbCommand + " takes no search arguments";
  return "";
}

const char* UsageText() {
  return "Usage: twinex-cli [--settings FILE] [--yes | --no] [--log FILE|-] ARGUMENTS...\n"
         "       twinex-cli --profiles | --save-profile NAME [--comment TEXT] [ARGUMENTS...]\n"
         "       twinex-cli --load NAME [--select ...] [--action ...] [--export FILE]\n"
         "       twinex-cli --results | --rename-result NAME NEWNAME | --delete-result NAME\n"
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
         "  --save NAME      save the result (after the selections and the file action) as NAME\n"
         "  --autosave       save it under the next free name AutoSave001, AutoSave002, ...\n"
         "                   (--comment TEXT sets the comment shown in the list)\n"
         "  --load NAME      work on the saved result NAME instead of searching\n"
         "  --results        list the saved results (name, files, size, saved, comment)\n"
         "  --rename-result NAME NEWNAME, --delete-result NAME   manage the saved results\n"
         "  --db-info        show the checksum database's version, size and counts\n"
         "  --db-clean       remove the checksums of files that no longer exist\n"
         "  --db-clear       delete all checksums (asks: needs --yes)\n"
         "  --db-new         delete the database and make a new one (asks: needs --yes)\n"
         "  --help, --version\n"
         "An option's value may also be written OPTION=VALUE; a value that starts with \"-\" must\n"
         "be written that way (--delimiter=-), so that it is never taken for a switch.\n"
         "\n"
         "Ctrl-C, SIGTERM and SIGHUP stop the search or the file action; what was found is still\n"
         "reported, but no file action runs on the result of a stopped search.\n"
         "Exit status: 0 the search ran (also when stopped with Ctrl-C), 1 the search was\n"
         "refused (the message says why), 2 usage error.\n";
}

}  // namespace twinex::cli
