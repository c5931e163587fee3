#include "cli/cli_actions.h"

#include <cstdio>

#include "actions/action_rules.h"
#include "actions/file_manager.h"
#include "app/session.h"
#include "cli/cli_front.h"
#include "cli/cli_args.h"
#include "cli/cli_options.h"
#include "platform/file_system.h"
#include "platform/text.h"
#include "search/search.h"

namespace twinex::cli {
namespace {

struct ActionName {
  const char* name;
  FileAction action;
};

constexpr ActionName kActions[] = {{"delete", FileAction::Delete},
                                   {"copy", FileAction::Copy},
                                   {"move", FileAction::Move},
                                   {"trash", FileAction::Trash},
                                   {"rename", FileAction::Rename}};

const ActionName* FindAction(std::string_view name) {
  for (const ActionName& a : kActions)
    if (name == a.name) return &a;
  return nullptr;
}

}  // namespace

bool IsActionOption(std::string_view o) {
  for (std::string_view known : {"--action", "--target", "--keep-structure", "--flat", "--subfolder", "--rename",
                                 "--hardlink", "--symlink", "--zero-size", "--protect", "--dry-run"})
    if (o == known) return true;
  return false;
}

std::string ParseActionOption(std::string_view o, ArgCursor& args, ActionOptions& a) {
  auto value = [&](std::string& into, bool allowEmpty = false) {
    std::optional<std::string> v = args.Value(allowEmpty);
    if (v) into = std::move(*v);
    return v.has_value();
  };
  if (o == "--action") {
    if (!value(a.action) || !FindAction(a.action))
      return "--action takes delete, trash, copy, move or rename" + args.ValueHint();
  } else if (o == "--target") {
    if (!value(a.target)) return "--target needs a folder" + args.ValueHint();
  } else if (o == "--keep-structure" || o == "--flat") {
    const int want = o == "--flat" ? 0 : 1;
    if (a.keepStructure != -1 && a.keepStructure != want) return "--keep-structure and --flat exclude each other";
    a.keepStructure = want;
  } else if (o == "--subfolder") {
    if (!value(a.subfolder, true)) return "--subfolder needs a template (\"\" for none)" + args.ValueHint();
    a.subfolderGiven = true;
  } else if (o == "--rename") {
    if (!value(a.renameTemplate)) return "--rename needs a template" + args.ValueHint();
    a.renameGiven = true;
  } else if (o == "--protect") {
    std::string v;
    long long n = 0;
    if (!value(v) || !platform::ParseLong(v, n) || n < 1 || n > 100000) return "--protect needs a source folder number";
    a.protect.push_back(static_cast<int>(n));
  } else if (o == "--hardlink") {
    a.hardlink = true;
  } else if (o == "--symlink") {
    a.symlink = true;
  } else if (o == "--zero-size") {
    a.zeroSize = true;
  } else if (o == "--dry-run") {
    a.dryRun = true;
  }
  return "";
}

std::string CheckActionOptions(const ActionOptions& a) {
  const bool anyOther = !a.target.empty() || a.keepStructure != -1 || a.subfolderGiven || a.renameGiven || a.hardlink ||
                        a.symlink || a.zeroSize || a.dryRun || !a.protect.empty();
  if (a.action.empty()) return anyOther ? "the file-action options go with --action" : "";
  const FileAction action = FindAction(a.action)->action;
  if (a.hardlink && a.symlink) return "--hardlink and --symlink exclude each other";
  if ((a.hardlink || a.symlink) && !RuleFor(action).takesLinks)
    return "--hardlink and --symlink go with --action delete, trash or move";
  if ((a.zeroSize || a.renameGiven) && action != FileAction::Rename) return "--rename and --zero-size go with --action rename";
  if ((!a.target.empty() || a.keepStructure != -1 || a.subfolderGiven) && !RuleFor(action).needsFolder)
    return "--target, --keep-structure, --flat and --subfolder go with --action copy or move";
  return "";
}

std::string ActionUsage() {
  return "\n"
         "File actions (after the search and the selections, before the result is written):\n"
         "  --action delete|trash|copy|move|rename   act on the selected files; the defaults come\n"
         "                   from the section \"Aktionen\" of the settings file. Groups whose files\n"
         "                   are all selected are left alone unless that section says otherwise\n"
         "  --target DIR     backup folder for copy and move\n"
         "  --keep-structure, --flat   keep the files' folder structure below DIR, or not\n"
         "  --subfolder TEMPLATE       dated subfolder below DIR (\"\" for none), e.g.\n"
         "                   '\"backup\\\"YYYY-MM-DD HH-NN-SS'\n"
         "  --rename TEMPLATE          rename template, e.g. 'DUPLIKAT %NAME%%EXT%'\n"
         "  --hardlink, --symlink      put a hard link or symbolic link to a kept file in the\n"
         "                   place of each deleted, trashed or moved file\n"
         "  --zero-size      with rename: set the renamed files to 0 bytes\n"
         "  --protect N      never touch files of source folder N (repeatable)\n"
         "  --dry-run        log what would happen, change nothing\n"
         "Delete, trash, move and rename ask first: without --yes nothing is changed.\n"
         "Exit status of a file action: 1 when it was refused, cancelled or had errors.\n";
}

void ApplyProtection(MainSettings& settings, const CliOptions& options) {
  for (int n : options.action.protect) {
    int ticked = 0;
    for (SourceFolder& src : settings.sources.sources)
      if (src.ticked && ++ticked == n) src.fileProtection = true;
  }
}

int RunCliAction(Session& session, const CliOptions& options) {
  const ActionOptions& a = options.action;
  if (a.action.empty()) return 0;
  if (std::string why = session.ActionRefusal(); !why.empty()) {
    std::fprintf(stderr, "twinex-cli: %s\n", ForTerminal(why).c_str());
    std::fprintf(stderr, "twinex-cli: %s was not carried out\n", a.action.c_str());
    return 1;
  }
  const Search& search = *session.search();
  FileManagerRequest r;
  FileManagerSettings& s = r.settings;
  s = LoadFileManagerSettings(session.settingsFile());
  s.Aktion = FindAction(a.action)->action;
  if (!a.target.empty()) s.Ordner = platform::AbsolutePath(a.target);
  if (a.keepStructure != -1) s.Ordnerstruktur = a.keepStructure == 1;
  if (a.subfolderGiven) {
    s.CreateSubfolder = !a.subfolder.empty();
    s.CreateSubfolderText = a.subfolder;
  }
  if (a.renameGiven) s.Rename = a.renameTemplate;
  if (a.hardlink || a.symlink) {
    s.OptionHardlink = a.hardlink;
    s.OptionShortcut = a.symlink;
  }
  if (a.zeroSize) s.SetFileSizeToZero = true;
  // A terminal has no group filter, and every change to source files is confirmed by --yes.
  s.GroupAction = 0;
  s.SecureHint = true;
  // --yes answers every question; it must not turn the first failed file into the end of the run.
  s.IfErrorDontAskToAbort = true;
  r.dryRun = a.dryRun;
  for (int n : a.protect) {
    if (static_cast<std::size_t>(n) > search.sourceTable.size()) {
      std::fprintf(stderr, "twinex-cli: --protect %d: there are %zu source folders\n", n, search.sourceTable.size());
      return 1;
    }
    r.protectedSources.push_back(n);
  }
  FileManagerOutcome out = session.RunAction(std::move(r));
  if (!out.started) {
    std::fprintf(stderr, "twinex-cli: %s was not carried out\n", a.action.c_str());
    return 1;
  }
  return out.cancelled || out.counters.errors > 0 ? 1 : 0;
}

}  // namespace twinex::cli
