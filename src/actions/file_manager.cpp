#include "actions/file_manager.h"

#include <algorithm>
#include <map>
#include <set>

#include "actions/action_lock.h"
#include "actions/action_log.h"
#include "actions/action_rules.h"
#include "actions/archive_entries.h"
#include "actions/file_steps.h"
#include "actions/keep_check.h"
#include "actions/link_source.h"
#include "actions/name_templates.h"
#include "actions/result_update.h"
#include "platform/date_time.h"
#include "platform/file_ops.h"
#include "platform/file_identity.h"
#include "platform/folder_access.h"
#include "platform/file_system.h"
#include "platform/links.h"
#include "platform/text.h"
#include "platform/trash.h"
#include "platform/volume.h"

namespace twinex {
namespace {

// The per-file rules answer whether the next rule runs.
enum class Verdict { Next, Stop };

// One selected row on its way through the rules.
struct Item {
  ResultGroup& group;
  std::size_t row;
  ResultFile& file;
  std::string path;
  std::string targetFolder;  // copy, move
  std::string target;        // copy, move, rename
};

// The link state of the group being processed.
struct GroupLinks {
  std::size_t source = kNoLinkSource;
  std::vector<char> excluded;  // rows that can no longer be the source
  bool exhausted = false;      // the limit was reached and no other source was left
};

bool IsInside(const std::string& folder, const std::string& root) {
  const std::string r = platform::StripTrailingSlash(root);
  return folder == r || platform::StartsWith(folder, r == "/" ? r : r + "/");
}

class Run {
 public:
  Run(ResultTree& tree, const FileManagerRequest& request, ActionObserver& observer, Prompt& prompt)
      : tree_(tree),
        req_(request),
        s_(request.settings),
        rule_(RuleFor(request.settings.Aktion)),
        observer_(observer),
        prompt_(prompt),
        log_(observer, request.log),
        run_(request.run ? *request.run : ownRun_) {
    if (rule_.takesLinks) link_ = s_.OptionHardlink ? LinkKind::Hard : s_.OptionShortcut ? LinkKind::Symbolic : LinkKind::None;
  }

  FileManagerOutcome Execute() {
    if (!StartChecks()) return out_;
    out_.started = true;
    startTick_ = lastProgress_ = platform::TickCount();
    LogStart();
    for (std::size_t g = 0; g < tree_.groups.size() && !out_.cancelled; ++g) ProcessGroup(tree_.groups[g]);
    if (s_.DelEmptyFolders && rule_.leavesFolder && !req_.dryRun) DeleteEmptyFolders();
    Finish();
    return out_;
  }

 private:
  FileManagerCounters& c() { return out_.counters; }
  std::string Caption() const { return z_Translate(rule_.caption); }

  bool Refuse(const PromptMessage& message) {
    out_.refusal = message.Text();
    prompt_.Ask(message);
    return false;
  }

  bool Protected(const ResultFile& f) const {
    return f.protectedFile ||
           std::find(req_.protectedSources.begin(), req_.protectedSources.end(), f.qnr) != req_.protectedSources.end();
  }

  bool GroupTaken(const ResultGroup& g) const { return s_.GroupAction != 1 || !req_.groupShown || req_.groupShown(g); }

  // ---- Start -------------------------------------------------------------------------------

  bool StartChecks() {
    if (rule_.needsFolder) {
      if (platform::Trim(s_.Ordner).empty())
        return Refuse(PromptMessage::Make(TextRef{18010, "Es wurde kein Ordner festgelegt!"}));
      if (!platform::ExistFolder(s_.Ordner))
        return Refuse(PromptMessage::Make(TextRef{18011, "Der Ordner '%1' konnte nicht gefunden werden!"}, {s_.Ordner},
                                          PromptButtons::Ok, PromptIcon::Exclamation));
    }
    if (tree_.counters.DupCountSelected <= 0)
      return Refuse(PromptMessage::Make(TextRef{18022, "Es sind keine Dateien ausgewählt!"}));
    if (s_.SecureHint && rule_.changesSource && !req_.dryRun) {
      PromptMessage q = PromptMessage::Composed(
          z_Translate(18013, "Das Löschen, Verschieben oder Umbenennen von Dateien kann dazu führen, dass Windows nicht "
                             "mehr startet oder dass Programme nicht mehr korrekt funktionieren.%!%!") +
              z_Translate(18014, "Soll die Aktion '%1' durchgeführt werden?", {Caption()}),
          PromptButtons::YesNo, PromptIcon::Exclamation);
      q.title = z_Translate(18012, "WICHTIGER HINWEIS");
      if (prompt_.Ask(q) != PromptAnswer::Yes) {
        out_.refusal = q.Text();
        return false;
      }
    }
    if (link_ == LinkKind::Hard && !HardLinkDrivesReady()) return false;
    if (std::string e = log_.Open(); !e.empty())
      return Refuse(PromptMessage::Make(TextRef{18017, "Beim Öffnen der Protokolldatei '%1' ist ein Fehler aufgetreten: %2"},
                                        {req_.log.path, e}, PromptButtons::Ok, PromptIcon::Exclamation));
    targetRoot_ = platform::StripTrailingSlash(s_.Ordner);
    if (rule_.needsFolder && s_.CreateSubfolder) {
      const std::string sub = SubfolderName(s_.CreateSubfolderText, platform::Now(), TemplateEnvironment);
      if (!sub.empty()) targetRoot_ = platform::JoinPath(targetRoot_, sub);
    }
    return true;
  }

  // Every file system holding a selected file must be able to hold hard links.
  bool HardLinkDrivesReady() {
    std::set<std::string> folders;
    std::set<std::uint64_t> devices;
    for (const ResultGroup& g : tree_.groups) {
      if (!GroupTaken(g)) continue;
      for (const ResultFile& f : g.files) {
        if (!f.selected || f.archiv != 0 || !folders.insert(f.path).second) continue;
        platform::FileInfo info;
        if (!platform::GetFileInfo(f.path, info).empty() || !devices.insert(info.device).second) continue;
        if (!platform::SupportsHardLinks(f.path))
          return Refuse(PromptMessage::Make(TextRef{18016, "Für die Erstellung von Hardlinks muss das Laufwerk '%1' mit NTFS formatiert sein!"},
                                            {platform::GetMountFacts(f.path).mountPoint}, PromptButtons::Ok,
                                            PromptIcon::Exclamation));
      }
    }
    return true;
  }

  void Option(bool on, const TextRef& caption) {
    if (on) log_.Line(z_Translate(18019, "Option: %1", {z_Translate(caption)}));
  }

  void LogStart() {
    log_.Line(z_Translate(18018, "Aktion '%1' gestartet.", {Caption()}));
    const bool rename = s_.Aktion == FileAction::Rename;
    Option(req_.dryRun, TextRef{18046, "Probelauf: es wird nichts verändert"});
    Option(s_.GroupAction != 1, TextRef{18030, "Alle Gruppen (Filter ignorieren)"});
    Option(s_.GroupAction == 1, TextRef{18031, "Nur Gruppen, welche durch den Filter angezeigt werden"});
    Option(s_.IgnoreGroupsAllFilesSelected, TextRef{18032, "Keine Gruppen, bearbeiten bei welchen alle Dateien ausgewählt sind"});
    Option(rule_.needsFolder && s_.Ordnerstruktur, TextRef{18033, "Dateien mit Ihrer Ordnerstruktur im Sicherungsordner speichern"});
    Option(rule_.needsFolder && s_.CreateSubfolder, TextRef{18034, "Unterordner im Sicherungsordner erstellen:"});
    Option(rename && s_.ReplaceFileWithSameName, TextRef{18035, "Dateien mit dem gleichen Namen überschreiben"});
    Option(link_ == LinkKind::Hard, TextRef{18036, "Hardlinks erstellen"});
    Option(link_ == LinkKind::Symbolic, TextRef{18037, "Verknüpfungen erstellen"});
    Option(rename && s_.SetFileSizeToZero, TextRef{18038, "Dateigröße auf 0 setzen"});
    Option(s_.Aktion == FileAction::Delete && s_.SecureDelete, TextRef{18039, "Sicheres Löschen"});
    Option(s_.Aktion == FileAction::Trash && s_.DeleteIfRecycleBinNotExist,
           TextRef{18040, "Datei löschen, wenn kein Papierkorb vorhanden ist"});
    Option(rule_.leavesFolder && s_.DelEmptyFolders,
           TextRef{18041, "Alle Ordner löschen, welche nach dem Verschieben oder Löschen von Dateien leer sind"});
    Option(s_.IfErrorDontAskToAbort, TextRef{18044, "Bei Fehlermeldungen keinen Dialog zum Abbrechen anzeigen"});
    Option(s_.LogNoActions, TextRef{18045, "Dateiaktionen nicht protokollieren (schneller)"});
    Option(s_.DateienEntfernen, TextRef{18042, "Alle verarbeiteten Dateien aus dem Suchergebnis entfernen"});
    Option(s_.GruppenEntfernen, TextRef{18043, "Alle Gruppen mit nur einer Datei aus dem Suchergebnis entfernen"});
    if (rule_.needsFolder) log_.Line(z_Translate(18020, "Ordner :") + " " + targetRoot_);
    if (req_.dryRun) LogUnchecked();
  }

  // What a dry run cannot know before the real run tries it.
  void LogUnchecked() {
    Unchecked(z_Translate(18128, "ob andere Programme die Dateien bis zum echten Lauf verändern"));
    if (s_.Aktion == FileAction::Trash) Unchecked(z_Translate(18129, "ob der Papierkorb die Dateien annimmt"));
    if (link_ != LinkKind::None) Unchecked(z_Translate(18131, "ob die Hardlinks oder Verknüpfungen angelegt werden können"));
  }

  void Unchecked(const std::string& what) { log_.Line(z_Translate(18127, "PROBELAUF: nicht geprüft: %1", {what})); }

  // ---- Errors, progress, cancelling ------------------------------------------------------

  // A failing step: logged, counted, and unless switched off the user may end the run here.
  void Fail(const std::string& text) {
    log_.Line(text, true);
    ++c().errors;
    AskToAbort(text);
  }

  void AskToAbort(const std::string& text) {
    if (s_.IfErrorDontAskToAbort) return;
    PromptMessage q = PromptMessage::Make(TextRef{18108, "%1%!%!Soll der Vorgang abgebrochen werden?"}, {text},
                                          PromptButtons::YesNo, PromptIcon::Exclamation);
    if (prompt_.Ask(q) == PromptAnswer::Yes) out_.cancelled = true;
  }

  // A per-file success line; the option "LogNoActions" leaves these out.
  void Done(const std::string& text) {
    if (req_.dryRun)
      log_.Line(z_Translate(18118, "PROBELAUF: %1", {text}));
    else if (!s_.LogNoActions)
      log_.Line(text);
  }

  void Progress(const std::string& current, bool force = false) {
    const std::int64_t now = platform::TickCount();
    if (!force && now - lastProgress_ < req_.refreshMilliseconds) return;
    lastProgress_ = now;
    observer_.OnProgress({Caption(), current, c().processed, c().toProcess, (now - startTick_) / 1000});
  }

  // ---- Groups --------------------------------------------------------------------------------

  void ProcessGroup(ResultGroup& g) {
    if (!GroupTaken(g)) return;
    const std::size_t selected = static_cast<std::size_t>(std::count_if(
        g.files.begin(), g.files.end(), [](const ResultFile& f) { return f.selected; }));
    if (selected == 0) return;
    if (s_.IgnoreGroupsAllFilesSelected && selected == g.files.size()) {
      ++c().groupsAllSelected;
      return;
    }
    c().toProcess += selected;
    const std::size_t guarded = static_cast<std::size_t>(std::count_if(
        g.files.begin(), g.files.end(), [&](const ResultFile& f) { return f.selected && Protected(f); }));
    if (guarded == selected) {
      ++c().protectedGroups;
      c().protectedGroupFiles += guarded;
    }
    kept_ = KeptRows(g, req_.protectedSources);
    links_ = GroupLinks{};
    links_.excluded.assign(g.files.size(), 0);
    pastSources_.clear();
    if (link_ != LinkKind::None && !ChooseFirstSource(g, selected)) {
      c().skipped += selected;
      return;
    }
    for (std::size_t i = 0; i < g.files.size() && !out_.cancelled; ++i) {
      // Sources, also one chosen later in the group, stay as they are.
      if (!g.files[i].selected || IsPastSource(i)) continue;
      if (!run_.WaitWhilePaused()) {
        out_.cancelled = true;
        break;
      }
      ProcessFile(g, i);
      if (run_.StopRequested()) out_.cancelled = true;
    }
  }

  bool IsPastSource(std::size_t i) const {
    return std::find(pastSources_.begin(), pastSources_.end(), i) != pastSources_.end();
  }

  bool ChooseFirstSource(ResultGroup& g, std::size_t selected) {
    if (selected < 2) {
      log_.Line(z_Translate(18052, "Es müssen mindestens 2 Dateien in der Gruppe '%1' ausgewählt sein.", {g.dupname}), true);
      return false;
    }
    std::string why;
    links_.source = FindLinkSource(g, links_.excluded, link_, req_.hardLinkLimit, why);
    if (links_.source == kNoLinkSource) {
      std::string text =
          link_ == LinkKind::Hard
              ? z_Translate(18055, "Es können keine Hardlinks von den ausgewählten Dateien in der Gruppe '%1' erstellt "
                                   "werden, da keine Quelldatei in dieser Gruppe ermittelt werden konnte!",
                            {g.dupname})
              : z_Translate(18056, "Es können keine Verknüpfungen für die ausgewählten Dateien in der Gruppe '%1' "
                                   "erstellt werden, da keine Quelldatei in dieser Gruppe ermittelt werden konnte, auf "
                                   "welche die Verknüpfungen erstellt werden sollen!",
                            {g.dupname});
      log_.Line(text, true);
      log_.Line(z_Translate(18057, "Grund: %1", {why}), true);
      ++c().errors;
      if (!s_.IfErrorDontAskToAbort) {
        PromptMessage q = PromptMessage::Composed(text + "\r\n\r\n" + z_Translate(18057, "Grund: %1", {why}) + "\r\n\r\n" +
                                                      z_Translate(18058, "Soll der Vorgang abgebrochen werden?"),
                                                  PromptButtons::YesNo, PromptIcon::Exclamation);
        if (prompt_.Ask(q) == PromptAnswer::Yes) out_.cancelled = true;
      }
      return false;
    }
    MarkSource(links_.source);
    log_.Line(link_ == LinkKind::Hard
                  ? z_Translate(18053, "Quelldatei für Hardlinks in der Gruppe '%1': %2",
                                {g.dupname, g.files[links_.source].FullPath()})
                  : z_Translate(18054, "Quelldatei für Verknüpfungen in der Gruppe '%1': %2",
                                {g.dupname, g.files[links_.source].FullPath()}));
    return true;
  }

  // A source stays as it is: it is no longer one of the files to process.
  void MarkSource(std::size_t i) {
    links_.excluded[i] = 1;
    kept_[i] = 1;
    pastSources_.push_back(i);
    if (c().toProcess > 0) --c().toProcess;
  }

  // ---- Files -------------------------------------------------------------------------------

  void ProcessFile(ResultGroup& g, std::size_t index) {
    Item item{g, index, g.files[index], g.files[index].FullPath(), "", ""};
    links_.excluded[index] = 1;  // processed or failed: never a later source
    Progress(item.path);
    using Rule = Verdict (Run::*)(Item&);
    static constexpr Rule kRules[] = {&Run::CheckProtection, &Run::HandleArchiveEntry, &Run::PlanTarget,
                                      &Run::CheckLinkSource, &Run::Perform};
    for (Rule r : kRules)
      if ((this->*r)(item) == Verdict::Stop) break;
  }

  Verdict CheckProtection(Item& it) {
    if (!Protected(it.file)) return Verdict::Next;
    ++c().protectedFiles;
    return Verdict::Stop;
  }

  Verdict HandleArchiveEntry(Item& it) {
    if (it.file.archiv == 0) return Verdict::Next;
    const std::string type = ArchiveTypeName(it.file.archiv);
    if (s_.Aktion != FileAction::Delete || !ArchiveAllowsDelete(it.file.archiv)) {
      log_.Line(s_.Aktion == FileAction::Delete ? z_Translate(rule_.archiveRefusal, {type, it.file.path, it.file.PathA()})
                                                : z_Translate(rule_.archiveRefusal, {it.file.path, it.file.PathA()}));
      ++c().skipped;
      return Verdict::Stop;
    }
    const std::string e = req_.dryRun ? "" : DeleteArchiveEntry(req_.archiver, it.file.path, it.file.PathA());
    if (!e.empty()) {
      Fail(z_Translate(18074, "Beim Löschen der Datei '%1' in der Archivdatei '%2' ist ein Fehler aufgetreten: %3",
                       {it.file.PathA(), it.file.path, e}));
      return Verdict::Stop;
    }
    Done(z_Translate(18073, "GELÖSCHT (%1): %2", {type, it.file.path + "/" + it.file.PathA()}));
    ++c().deleted;
    Processed(it);
    return Verdict::Stop;
  }

  Verdict PlanTarget(Item& it) {
    if (s_.Aktion == FileAction::Rename) {
      const std::string name = ExpandRenameTemplate(s_.Rename, MakeRenameContext(tree_, it.group, it.file, now_));
      it.target = platform::JoinPath(it.file.path, name);
      if (IsPlainFileName(name)) return Verdict::Next;
      Fail(z_Translate(rule_.failure, {it.path, name, z_Translate(18117, "Der neue Name ist kein gültiger Dateiname.")}));
      return Verdict::Stop;
    }
    if (!rule_.needsFolder) return Verdict::Next;
    it.targetFolder = TargetFolderFor(targetRoot_, it.file.path, s_.Ordnerstruktur);
    it.target = platform::JoinPath(it.targetFolder, it.file.dupname);
    // Files put into a source folder would be found again as duplicates of themselves; a
    // target folder that is the file's own folder would move the file onto itself.
    std::string source = it.file.path;
    if (it.file.qnr >= 1 && static_cast<std::size_t>(it.file.qnr) <= req_.sourceFolders.size() &&
        !req_.sourceFolders[static_cast<std::size_t>(it.file.qnr - 1)].empty())
      source = req_.sourceFolders[static_cast<std::size_t>(it.file.qnr - 1)];
    // Texts alone miss a target reached through a symbolic link or a bind mount.
    const bool inside = IsInside(it.targetFolder, source) || it.targetFolder == it.file.path ||
                        platform::IsWithinFolder(it.targetFolder, source);
    if (!inside) return Verdict::Next;
    Fail(z_Translate(rule_.failure, {it.path, it.targetFolder,
                                     z_Translate(18116, "Der Zielordner liegt im Quellordner '%1'.", {source})}));
    return Verdict::Stop;
  }

  Verdict CheckLinkSource(Item& it) {
    if (link_ == LinkKind::None) return Verdict::Next;
    if (links_.exhausted) {
      ++c().skipped;
      return Verdict::Stop;
    }
    if (link_ != LinkKind::Hard) return Verdict::Next;
    // Facts that cannot be read would pass for "another volume" or "below the limit".
    auto unreadable = [&](const std::string& e) {
      Fail(z_Translate(18105, "Beim Erstellen des Hardlinks '%1' auf die Datei '%2' ist ein Fehler aufgetreten: %3",
                       {it.path, SourcePath(it.group), e}));
      return Verdict::Stop;
    };
    platform::FileInfo src, file;
    if (std::string e = platform::GetFileInfo(SourcePath(it.group), src); !e.empty()) return unreadable(e);
    if (src.links >= req_.hardLinkLimit && !NextSource(it.group)) {
      ++c().skipped;
      return Verdict::Stop;
    }
    if (std::string e = platform::GetFileInfo(SourcePath(it.group), src); !e.empty()) return unreadable(e);
    if (std::string e = platform::GetFileInfo(it.path, file); !e.empty()) return unreadable(e);
    if (src.device == file.device) return Verdict::Next;
    log_.Line(z_Translate(18062, "INFO: Hardlink '%1' kann nicht erstellt werden, da sich die Hardlink-Quelldatei auf "
                                 "einem anderem Datenträger befindet.",
                          {it.path}));
    ++c().skipped;
    return Verdict::Stop;
  }

  bool NextSource(ResultGroup& g) {
    log_.Line(z_Translate(18061, "Die maximale Anzahl von 1024 Hardlinks bei der Datei '%1' wurde erreicht.", {SourcePath(g)}));
    std::string why;
    links_.source = FindLinkSource(g, links_.excluded, link_, req_.hardLinkLimit, why);
    if (links_.source == kNoLinkSource) {
      links_.exhausted = true;
      log_.Line(z_Translate(18060, "Es konnte keine weitere Quelldatei zum Erstellen von Hardlinks in der Gruppe '%1' "
                                   "ermittelt werden.",
                            {g.dupname}),
                true);
      return false;
    }
    MarkSource(links_.source);
    log_.Line(z_Translate(18059, "Neue Quelldatei für Hardlinks in der Gruppe '%1': %2", {g.dupname, SourcePath(g)}));
    return true;
  }

  std::string SourcePath(const ResultGroup& g) const { return g.files[links_.source].FullPath(); }

  // ---- The action --------------------------------------------------------------------------

  // The one check before any step that removes, replaces or empties a file: "" to go ahead.
  std::string Guard(const Item& it, Removal kind, const std::string& pathNow = "") const {
    RemovalCase rc;
    rc.kind = link_ != LinkKind::None && kind != Removal::Rename && kind != Removal::Truncate ? Removal::LinkReplace : kind;
    rc.group = &it.group;
    rc.row = it.row;
    rc.kept = kept_;
    rc.linkSource = link_ != LinkKind::None ? links_.source : kNoLinkSource;
    rc.pathNow = pathNow;
    return RemovalRefusal(rc);
  }

  Verdict Perform(Item& it) {
    if (req_.dryRun) {
      if (std::string e = DryRunProblem(it); !e.empty()) {
        Fail(e);
        return Verdict::Stop;
      }
    }
    platform::LockFile lock;
    if (std::string e = req_.dryRun ? "" : LockFileStep(lock, req_.lockPath, &run_); !e.empty()) {
      if (run_.StopRequested()) out_.cancelled = true;
      else Fail(LockFailureText(req_.lockPath, e));
      return Verdict::Stop;
    }
    std::string error;
    switch (s_.Aktion) {
      case FileAction::Delete:
        error = Delete(it);
        break;
      case FileAction::Trash:
        error = Trash(it);
        break;
      case FileAction::Copy:
      case FileAction::Move:
        error = CopyOrMove(it);
        break;
      case FileAction::Rename:
        error = Rename(it);
        break;
    }
    if (!error.empty()) {
      // A stop in the middle of a copy took the partial copy away and left the file as it was.
      if (run_.StopRequested()) out_.cancelled = true;
      else Fail(error);
      return Verdict::Stop;
    }
    Processed(it);
    return Verdict::Stop;
  }

  void Processed(Item& it) {
    ++c().processed;
    changes_.processed.insert(&it.file);
  }

  // Puts the link in the file's place (one rename over it); the error text when that failed.
  std::string MakeLink(Item& it) {
    const std::string source = SourcePath(it.group);
    if (link_ == LinkKind::Hard) {
      if (std::string e = req_.dryRun ? "" : platform::ReplaceWithHardLink(it.path, source); !e.empty())
        return z_Translate(18105, "Beim Erstellen des Hardlinks '%1' auf die Datei '%2' ist ein Fehler aufgetreten: %3",
                           {it.path, source, e});
      return "";
    }
    if (std::string e = req_.dryRun ? "" : platform::ReplaceWithSymlink(it.path, platform::AbsolutePath(source)); !e.empty())
      return z_Translate(18107, "Die Verknüpfung '%1' auf die Datei '%2' konnte nicht erstellt werden!", {it.path, source}) +
             " (" + e + ")";
    return "";
  }

  void LinkDone(Item& it) {
    if (link_ == LinkKind::Hard) {
      Done(z_Translate(18104, "HARDLINK: %1", {it.path}));
      ++c().hardlinks;
      linked_.push_back(&it.file);
      linked_.push_back(&it.group.files[links_.source]);
    } else if (link_ == LinkKind::Symbolic) {
      Done(z_Translate(18106, "VERKNÜPFUNG: '%1' auf '%2'", {it.path, SourcePath(it.group)}));
      ++c().shortcuts;
    }
  }

  std::string Delete(Item& it) {
    if (std::string refusal = Guard(it, Removal::Delete); !refusal.empty()) return refusal;
    if (link_ != LinkKind::None) {
      // The link replaces the file in one rename: that is the deletion.
      if (std::string e = MakeLink(it); !e.empty()) return e;
    } else if (!req_.dryRun) {
      if (std::string e = DeleteFileStep(it.path, s_.SecureDelete); !e.empty())
        return z_Translate(RuleFor(FileAction::Delete).failure, {it.path, e});
    }
    Done(z_Translate(RuleFor(FileAction::Delete).doneLog, {it.path}));
    ++c().deleted;
    LinkDone(it);
    LeftFolder(it);
    return "";
  }

  std::string Trash(Item& it) {
    if (std::string refusal = Guard(it, Removal::Trash); !refusal.empty()) return refusal;
    if (req_.dryRun) {
      Done(z_Translate(rule_.doneLog, {it.path}));
      ++c().trashed;
      LinkDone(it);
      return "";
    }
    const bool keepName = link_ != LinkKind::None;
    platform::TrashOutcome t = platform::MoveToTrash(it.path, keepName);
    if (t.status == platform::TrashStatus::NoTrash) {
      if (!s_.DeleteIfRecycleBinNotExist)
        return z_Translate(18094, "Die Datei '%1' konnte nicht in den Windows Papierkorb verschoben werden: Auf dem "
                                  "Laufwerk '%2' ist kein Windows Papierkorb vorhanden!",
                           {it.path, platform::GetMountFacts(it.file.path).mountPoint});
      return Delete(it);
    }
    if (t.status == platform::TrashStatus::Failed) return z_Translate(rule_.failure, {it.path, t.error});
    if (keepName) {
      if (std::string e = MakeLink(it); !e.empty()) {
        platform::UndoTrash(t);
        return e;
      }
    }
    Done(z_Translate(rule_.doneLog, {it.path}));
    ++c().trashed;
    LinkDone(it);
    LeftFolder(it);
    return "";
  }

  std::string CopyOrMove(Item& it) {
    const bool move = s_.Aktion == FileAction::Move;
    auto failure = [&](const std::string& e) { return z_Translate(rule_.failure, {it.path, it.targetFolder, e}); };
    if (move) {
      if (std::string refusal = Guard(it, Removal::Move); !refusal.empty()) return refusal;
    }
    if (!req_.dryRun) {
      if (std::string e = platform::CreateFolderTree(it.targetFolder); !e.empty()) return failure(e);
      // A file of the same name in the target moves aside ("-001" …); nothing is overwritten.
      if (platform::PathExists(it.target)) {
        if (std::string e = MoveExistingAside(it.targetFolder, it.file.dupname); !e.empty()) return failure(e);
      }
      const bool keepSource = move && link_ != LinkKind::None;
      const platform::CopyProgress progress = [&](std::uint64_t) {
        Progress(it.path);
        return run_.WaitWhilePaused();
      };
      std::string e = move ? PlaceFile(it.path, it.target, keepSource, false, progress)
                           : CopyFileTo(it.path, it.target, false, progress);
      if (!e.empty()) return failure(e);
      if (keepSource) {
        if (std::string le = MakeLink(it); !le.empty()) {
          UndoPlace(it.target);
          return le;
        }
      }
    }
    Done(z_Translate(rule_.doneLog, {it.path, it.target}));
    ++(move ? c().moved : c().copied);
    if (move) {
      LinkDone(it);
      LeftFolder(it);
    }
    return "";
  }

  std::string Rename(Item& it) {
    const std::string newName = platform::FileNameOf(it.target);
    if (std::string refusal = Guard(it, Removal::Rename); !refusal.empty()) return refusal;
    if (s_.ReplaceFileWithSameName && it.target != it.path && RenamesOverAKeptFile(it))
      return z_Translate(rule_.failure, {it.path, newName,
                                         z_Translate(18123, "Unter diesem Namen liegt eine Datei des Suchergebnisses, "
                                                            "die erhalten bleibt.")});
    if (!req_.dryRun && it.target != it.path) {
      std::string e = s_.ReplaceFileWithSameName ? platform::RenameOver(it.path, it.target)
                                                 : platform::RenameNoReplace(it.path, it.target);
      if (!e.empty()) return z_Translate(rule_.failure, {it.path, newName, e});
    }
    Done(z_Translate(rule_.doneLog, {it.path, newName}));
    ++c().renamed;
    changes_.renamed.emplace_back(&it.file, newName);
    if (s_.SetFileSizeToZero) {
      if (std::string refusal = Guard(it, Removal::Truncate, req_.dryRun ? it.path : it.target); !refusal.empty()) {
        Fail(refusal);
      } else if (std::string e = req_.dryRun ? "" : platform::TruncateToZero(it.target); !e.empty()) {
        // The rename stands; the failed truncation is an error of its own.
        Fail(platform::StartsWith(e, "open")
                 ? z_Translate(18102, "Die Datei '%1' konnte nicht geöffnet werden. Fehler: %2", {it.target, e})
                 : z_Translate(18103, "Beim Zugriff auf die Datei '%1' ist ein Fehler aufgetreten: %2 (%3)",
                               {it.target, e, "SetEndOfFile"}));
      } else {
        Done(z_Translate(18101, "NULL: %1", {it.target}));
      }
    }
    return "";
  }

  // What a dry run can check of the real run's steps: the folders it writes to, the room a
  // copy needs, a free name for a rename. "" when nothing stands in the way.
  std::string DryRunProblem(const Item& it) {
    const bool rename = s_.Aktion == FileAction::Rename;
    auto failure = [&](const std::string& why) {
      if (rule_.needsFolder) return z_Translate(rule_.failure, {it.path, it.targetFolder, why});
      if (rename) return z_Translate(rule_.failure, {it.path, platform::FileNameOf(it.target), why});
      return z_Translate(rule_.failure, {it.path, why});
    };
    auto writable = [&](const std::string& folder) {
      const std::string e = platform::FolderWritable(folder);
      return e.empty() ? e : failure(z_Translate(18124, "Der Ordner '%1' ist nicht beschreibbar: %2", {folder, e}));
    };
    if (rule_.changesSource) {
      if (std::string e = writable(it.file.path); !e.empty()) return e;
    }
    if (rename && !s_.ReplaceFileWithSameName && it.target != it.path && platform::PathExists(it.target))
      return failure(z_Translate(18125, "Eine Datei mit dem Namen '%1' ist schon vorhanden.", {platform::FileNameOf(it.target)}));
    if (!rule_.needsFolder) return "";
    if (std::string e = writable(it.targetFolder); !e.empty()) return e;
    const std::string existing = platform::NearestExistingFolder(it.targetFolder);
    platform::FileInfo at;
    if (!platform::GetFileInfo(existing, at).empty()) return "";
    // A move within one file system renames and needs no room.
    if (s_.Aktion == FileAction::Move && at.device == it.file.device) return "";
    std::uint64_t free = 0;
    if (!platform::FreeBytes(existing, free)) {
      if (!freeSpaceUnknown_) Unchecked(z_Translate(18147, "der freie Platz im Zielordner"));
      freeSpaceUnknown_ = true;
      return "";
    }
    std::uint64_t& planned = plannedBytes_[at.device];
    planned += it.file.size;
    if (planned <= free) return "";
    return failure(z_Translate(18126, "Auf dem Datenträger des Ordners '%1' ist nicht genug Platz frei: %2 Bytes benötigt, %3 "
                                      "Bytes frei.",
                               {existing, std::to_string(planned), std::to_string(free)}));
  }

  // The file at the new name is one the result keeps (or the file itself under another name).
  bool RenamesOverAKeptFile(const Item& it) const {
    const platform::EntryIdentity target = platform::GetEntryIdentity(it.target);
    if (!target.exists) return false;
    if (platform::SameFile(target, platform::GetEntryIdentity(it.path))) return true;
    return IsKeptFileOfResult(tree_, it.target, req_.protectedSources);
  }

  void LeftFolder(const Item& it) {
    if (link_ == LinkKind::None) leftFolders_.insert(it.file.path);
  }

  // ---- End of run ----------------------------------------------------------------------------

  void DeleteEmptyFolders() {
    observer_.OnProgress({z_Translate(18130, "Ordner löschen, welche nach Verschieben/Löschen leer sind"), "",
                          c().processed, c().toProcess, (platform::TickCount() - startTick_) / 1000});
    for (const std::string& folder : leftFolders_) {
      if (!platform::IsEmptyFolder(folder)) continue;
      if (std::string e = platform::RemoveEmptyFolder(folder); !e.empty()) {
        log_.Line(z_Translate(18132, "Der leere Ordner '%1' konnte nicht gelöscht werden: %2", {folder, e}), true);
        ++c().errors;
        continue;
      }
      log_.Line(z_Translate(18090, "GELÖSCHT: %1", {folder}));
      ++c().foldersDeleted;
    }
  }

  void Finish() {
    Progress("", true);
    log_.Line(out_.cancelled ? z_Translate(18134, "Aktion '%1' wurde abgebrochen.", {Caption()})
                             : z_Translate(18135, "Aktion '%1' beendet.", {Caption()}));
    if (!req_.dryRun) {
      changes_.linked.insert(changes_.linked.end(), linked_.begin(), linked_.end());
      ApplyResultChanges(tree_, changes_, s_, c());
      if (req_.undoReset) req_.undoReset();
    }
    out_.summary = SummaryLines(s_.Aktion, c(), link_ == LinkKind::Hard, link_ == LinkKind::Symbolic,
                                s_.DelEmptyFolders && rule_.leavesFolder);
    if (!req_.dryRun)
      for (std::string& line : ResultUpdateLines(s_, c())) out_.summary.push_back(std::move(line));
    for (const std::string& line : out_.summary) log_.Line(line);
  }

  ResultTree& tree_;
  const FileManagerRequest& req_;
  const FileManagerSettings& s_;
  const ActionRule& rule_;
  ActionObserver& observer_;
  Prompt& prompt_;
  ActionLog log_;
  RunControl ownRun_;
  RunControl& run_;
  LinkKind link_ = LinkKind::None;
  FileManagerOutcome out_;
  std::string targetRoot_;
  double now_ = platform::Now();
  std::int64_t startTick_ = 0, lastProgress_ = 0;
  GroupLinks links_;
  std::vector<std::size_t> pastSources_;
  std::vector<char> kept_;  // rows of the current group that stay
  std::map<std::uint64_t, std::uint64_t> plannedBytes_;  // dry run: bytes the copies put on each file system
  bool freeSpaceUnknown_ = false;
  std::vector<ResultFile*> linked_;
  std::set<std::string> leftFolders_;
  ResultChanges changes_;
};

}  // namespace

FileManagerOutcome FileManager_Run(ResultTree& tree, const FileManagerRequest& request, ActionObserver& observer,
                                   Prompt& prompt) {
  return Run(tree, request, observer, prompt).Execute();
}

bool ConfirmProcessAllFilesOfGroups(Prompt& prompt) {
  return prompt.Ask(PromptMessage::Make(TextRef{18021, "Sind Sie sich absolut sicher dass wirklich alle Dateien einer "
                                                       "Gruppe bearbeitet werden sollen?"},
                                        {}, PromptButtons::YesNo, PromptIcon::Exclamation)) == PromptAnswer::Yes;
}

std::string ActionCaption(FileAction action) { return z_Translate(RuleFor(action).caption); }

}  // namespace twinex
