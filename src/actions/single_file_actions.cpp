#include "actions/single_file_actions.h"

#include <algorithm>
#include <unordered_set>

#include "actions/action_lock.h"
#include "actions/action_log.h"
#include "actions/action_rules.h"
#include "actions/file_steps.h"
#include "actions/keep_check.h"
#include "actions/name_templates.h"
#include "platform/file_identity.h"
#include "platform/file_ops.h"
#include "platform/file_system.h"
#include "platform/trash.h"
#include "platform/volume.h"

namespace twinex {
namespace {

struct Row {
  ResultGroup* group;
  ResultFile* file;
};

std::string Count(std::size_t n) { return std::to_string(n); }

bool IsProtected(const ResultFile& f, const SingleFileRequest& r) {
  return f.protectedFile || std::find(r.protectedSources.begin(), r.protectedSources.end(), f.qnr) != r.protectedSources.end();
}

void Tell(Prompt& prompt, const TextRef& text, std::vector<std::string> params,
          PromptIcon icon = PromptIcon::Information) {
  prompt.Ask(PromptMessage::Make(text, std::move(params), PromptButtons::Ok, icon));
}

bool NothingSelected(std::size_t rows, Prompt& prompt) {
  if (rows > 0) return false;
  Tell(prompt, TextRef{18022, "Es sind keine Dateien ausgewählt!"}, {});
  return true;
}

// A log file that cannot be opened is reported; the action goes on, its lines still shown.
void OpenLog(ActionLog& log, const SingleFileRequest& r) {
  if (std::string e = log.Open(); !e.empty())
    log.Line(z_Translate(18017, "Beim Öffnen der Protokolldatei '%1' ist ein Fehler aufgetreten: %2", {r.log.path, e}), true);
}

// False once the run is asked to stop; waits while it is paused.
bool Proceed(const SingleFileRequest& r) { return !r.run || r.run->WaitWhilePaused(); }

std::vector<Row> Resolve(ResultTree& tree, const std::vector<MarkedRow>& marked) {
  std::vector<Row> rows;
  for (const MarkedRow& m : marked) {
    ResultGroup* g = tree.FindGroup(m.groupId);
    if (g && m.fileIndex < g->files.size()) rows.push_back({g, &g->files[m.fileIndex]});
  }
  return rows;
}

// The rows whose files left their place leave the result.
void DropRows(ResultTree& tree, const std::unordered_set<const ResultFile*>& gone) {
  if (!gone.empty()) tree.RemoveFiles([&](const ResultGroup&, const ResultFile& f) { return gone.count(&f) != 0; });
}

// Logs and counts a failure; true when the user ends the whole run.
bool Failed(ActionLog& log, Prompt& prompt, SingleFileOutcome& out, const std::string& text, bool deleting) {
  log.Line(text, true);
  ++out.errors;
  PromptMessage q = deleting
                        ? PromptMessage::Composed(
                              text + z_Translate(18153, "%!%!Soll der komplette Löschvorgang abgebrochen werden?"),
                              PromptButtons::YesNo, PromptIcon::Exclamation)
                        : PromptMessage::Make(TextRef{18108, "%1%!%!Soll der Vorgang abgebrochen werden?"}, {text},
                                              PromptButtons::YesNo, PromptIcon::Exclamation);
  if (deleting) q.title = z_Translate(18154, "Vorgang abbrechen?");
  out.cancelled = prompt.Ask(q) == PromptAnswer::Yes;
  return out.cancelled;
}

// The one check before a file goes: the rows of this run go, every other row of the group stays.
std::string Guard(const Row& row, const std::unordered_set<const ResultFile*>& going, const SingleFileRequest& r,
                  Removal kind) {
  RemovalCase rc;
  rc.kind = kind;
  rc.group = row.group;
  rc.kept = KeptRows(*row.group, r.protectedSources);
  for (std::size_t i = 0; i < row.group->files.size(); ++i) {
    const ResultFile& f = row.group->files[i];
    if (&f == row.file) rc.row = i;
    if (!IsProtected(f, r)) rc.kept[i] = going.count(&f) == 0;
  }
  return RemovalRefusal(rc);
}

std::unordered_set<const ResultFile*> Going(const std::vector<Row>& rows) {
  std::unordered_set<const ResultFile*> going;
  for (const Row& row : rows) going.insert(row.file);
  return going;
}

std::string DeleteOne(const Row& row, const std::unordered_set<const ResultFile*>& going, const SingleFileRequest& r) {
  const ResultFile& f = *row.file;
  const std::string path = f.FullPath();
  if (std::string e = Guard(row, going, r, r.toTrash ? Removal::Trash : Removal::Delete); !e.empty()) return e;
  if (!r.toTrash) {
    std::string e = DeleteFileStep(path, r.secureDelete);
    return e.empty() ? "" : z_Translate(RuleFor(FileAction::Delete).failure, {path, e});
  }
  platform::TrashOutcome t = platform::MoveToTrash(path);
  if (t.status == platform::TrashStatus::NoTrash)
    return z_Translate(18094, "Die Datei '%1' konnte nicht in den Windows Papierkorb verschoben werden: Auf dem "
                              "Laufwerk '%2' ist kein Windows Papierkorb vorhanden!",
                       {path, platform::GetMountFacts(f.path).mountPoint});
  if (t.status == platform::TrashStatus::Failed) return z_Translate(RuleFor(FileAction::Trash).failure, {path, t.error});
  return "";
}

SingleFileOutcome DeleteRows(ResultTree& tree, const std::vector<Row>& rows, const SingleFileRequest& r,
                             ActionObserver& observer, Prompt& prompt) {
  SingleFileOutcome out;
  if (NothingSelected(rows.size(), prompt)) return out;
  out.total = rows.size();
  ActionLog log(observer, r.log);
  OpenLog(log, r);
  std::unordered_set<const ResultFile*> gone;
  const std::unordered_set<const ResultFile*> going = Going(rows);
  for (const Row& row : rows) {
    if (!Proceed(r)) out.cancelled = true;
    if (out.cancelled) break;
    const std::string path = row.file->FullPath();
    if (IsProtected(*row.file, r)) {
      Tell(prompt, TextRef{18151, "Die Datei '%1' befindet sich in einem geschützten Quellordner und kann nicht gelöscht werden!"},
           {path}, PromptIcon::Exclamation);
      continue;
    }
    if (r.confirmEach &&
        prompt.Ask(PromptMessage::Make(TextRef{18150, "Soll die Datei%!%!%1%!%!gelöscht werden?"}, {path},
                                       PromptButtons::YesNo, PromptIcon::Question)) != PromptAnswer::Yes)
      continue;
    observer.OnProgress({z_Translate(18152, "Lösche: "), path, out.done, out.total, 0});
    platform::LockFile lock;
    std::string e = LockFileStep(lock, r.lockPath, r.run);
    if (!e.empty() && !Proceed(r)) {
      out.cancelled = true;
      break;
    }
    e = e.empty() ? DeleteOne(row, going, r) : LockFailureText(r.lockPath, e);
    if (!e.empty()) {
      Failed(log, prompt, out, e, true);
      continue;
    }
    log.Line(z_Translate(r.toTrash ? RuleFor(FileAction::Trash).doneLog : RuleFor(FileAction::Delete).doneLog, {path}));
    ++out.done;
    gone.insert(row.file);
  }
  DropRows(tree, gone);
  Tell(prompt, RuleFor(FileAction::Delete).summary, {Count(out.done), Count(out.total)});
  return out;
}

SingleFileOutcome PlaceRows(ResultTree& tree, const std::vector<MarkedRow>& marked, const std::string& folder,
                            bool move, const SingleFileRequest& r, ActionObserver& observer, Prompt& prompt) {
  SingleFileOutcome out;
  const std::vector<Row> rows = Resolve(tree, marked);
  if (NothingSelected(rows.size(), prompt)) return out;
  out.total = rows.size();
  ActionLog log(observer, r.log);
  OpenLog(log, r);
  const TextRef failure = move ? TextRef{18158, "Beim Verschieben der Datei '%1' in den Ordner '%2' ist ein Fehler aufgetreten: %3"}
                               : TextRef{18159, "Beim Kopieren der Datei '%1' in den Ordner '%2' ist ein Fehler aufgetreten: %3"};
  const std::string target = platform::StripTrailingSlash(folder);
  std::unordered_set<const ResultFile*> gone;
  const std::unordered_set<const ResultFile*> going = move ? Going(rows) : std::unordered_set<const ResultFile*>{};
  for (const Row& row : rows) {
    if (!Proceed(r)) out.cancelled = true;
    if (out.cancelled) break;
    const ResultFile& f = *row.file;
    const std::string path = f.FullPath();
    const std::string to = platform::JoinPath(target, f.dupname);
    if (move && IsProtected(f, r)) {
      Tell(prompt, TextRef{18157, "Die Datei '%1' befindet sich in einem geschützten Quellordner und kann nicht verschoben werden!"},
           {path}, PromptIcon::Exclamation);
      continue;
    }
    const bool ownFolder =
        target == f.path || (platform::IsWithinFolder(target, f.path) && platform::IsWithinFolder(f.path, target));
    if (ownFolder) {
      Failed(log, prompt, out, z_Translate(18116, "Der Zielordner liegt im Quellordner '%1'.", {f.path}), false);
      continue;
    }
    bool replace = false;
    if (platform::PathExists(to)) {
      replace = prompt.Ask(PromptMessage::Make(TextRef{18156, "Soll die Datei '%1' in dem Ordner '%2' überschrieben werden?"},
                                               {f.dupname, target}, PromptButtons::YesNo,
                                               PromptIcon::Question)) == PromptAnswer::Yes;
      if (!replace) continue;
      if (IsKeptFileOfResult(tree, to, r.protectedSources)) {
        Failed(log, prompt, out,
               z_Translate(failure, {path, target,
                                     z_Translate(18123, "Unter diesem Namen liegt eine Datei des Suchergebnisses, "
                                                        "die erhalten bleibt.")}),
               false);
        continue;
      }
    }
    platform::LockFile lock;
    std::string error = move ? LockFileStep(lock, r.lockPath, r.run) : "";
    if (!error.empty() && !Proceed(r)) {
      out.cancelled = true;
      break;
    }
    if (!error.empty()) error = LockFailureText(r.lockPath, error);
    if (error.empty() && move) error = Guard(row, going, r, Removal::Move);
    if (!error.empty()) {
      Failed(log, prompt, out, error, false);
      continue;
    }
    error = platform::CreateFolderTree(target);
    const platform::CopyProgress progress = [&](std::uint64_t) { return Proceed(r); };
    if (error.empty())
      error = move ? PlaceFile(path, to, false, replace, progress) : CopyFileTo(path, to, replace, progress);
    if (!error.empty() && !Proceed(r)) {
      out.cancelled = true;
      break;
    }
    if (!error.empty()) {
      Failed(log, prompt, out, z_Translate(failure, {path, target, error}), false);
      continue;
    }
    log.Line(z_Translate(RuleFor(move ? FileAction::Move : FileAction::Copy).doneLog, {path, to}));
    ++out.done;
    if (move) gone.insert(row.file);
  }
  DropRows(tree, gone);
  Tell(prompt, RuleFor(move ? FileAction::Move : FileAction::Copy).summary, {Count(out.done), Count(out.total)});
  return out;
}

}  // namespace

SingleFileOutcome File_Delete(ResultTree& tree, const SingleFileRequest& request, ActionObserver& observer,
                              Prompt& prompt) {
  std::vector<Row> rows;
  for (ResultGroup& g : tree.groups)
    for (ResultFile& f : g.files)
      if (f.selected) rows.push_back({&g, &f});
  return DeleteRows(tree, rows, request, observer, prompt);
}

SingleFileOutcome Delete_AllOtherFilesFromGroup(ResultTree& tree, int groupId, std::size_t keepIndex,
                                                const SingleFileRequest& request, ActionObserver& observer,
                                                Prompt& prompt) {
  ResultGroup* g = tree.FindGroup(groupId);
  if (!g || keepIndex >= g->files.size()) return DeleteRows(tree, {}, request, observer, prompt);
  const PromptMessage q = PromptMessage::Make(
      TextRef{18155, "Sollen alle Dateien außer%!%!%1%!%!in der Gruppe '%2' gelöscht werden?"},
      {g->files[keepIndex].FullPath(), g->dupname}, PromptButtons::YesNo, PromptIcon::Question);
  if (prompt.Ask(q) != PromptAnswer::Yes) return {};
  std::vector<Row> rows;
  for (std::size_t i = 0; i < g->files.size(); ++i)
    if (i != keepIndex) rows.push_back({g, &g->files[i]});
  return DeleteRows(tree, rows, request, observer, prompt);
}

SingleFileOutcome File_Moving(ResultTree& tree, const std::vector<MarkedRow>& rows, const std::string& folder,
                              const SingleFileRequest& request, ActionObserver& observer, Prompt& prompt) {
  return PlaceRows(tree, rows, folder, true, request, observer, prompt);
}

SingleFileOutcome File_Copying(ResultTree& tree, const std::vector<MarkedRow>& rows, const std::string& folder,
                               const SingleFileRequest& request, ActionObserver& observer, Prompt& prompt) {
  return PlaceRows(tree, rows, folder, false, request, observer, prompt);
}

SingleFileOutcome File_Rename(ResultTree& tree, const MarkedRow& marked, const std::string& newName,
                              const SingleFileRequest& request, ActionObserver& observer, Prompt& prompt) {
  SingleFileOutcome out;
  const std::vector<Row> rows = Resolve(tree, {marked});
  if (NothingSelected(rows.size(), prompt)) return out;
  out.total = 1;
  ResultFile& f = *rows.front().file;
  const std::string path = f.FullPath();
  if (IsProtected(f, request)) {
    Tell(prompt, TextRef{18161, "Die Datei '%1' befindet sich in einem geschützten Quellordner und kann nicht umbenannt werden!"},
         {path}, PromptIcon::Exclamation);
    return out;
  }
  const std::string to = platform::JoinPath(f.path, newName);
  if (IsPlainFileName(newName) && to != path && platform::PathExists(to)) {
    Tell(prompt, TextRef{18160, "Es ist schon eine Datei mit dem Namen '%1' vorhanden!"}, {newName}, PromptIcon::Exclamation);
    return out;
  }
  ActionLog log(observer, request.log);
  OpenLog(log, request);
  const TextRef failure = RuleFor(FileAction::Rename).failure;
  std::string error = IsPlainFileName(newName)
                          ? Guard(rows.front(), {&f}, request, Removal::Rename)
                          : z_Translate(failure, {path, newName, z_Translate(18117, "Der neue Name ist kein gültiger Dateiname.")});
  if (error.empty() && to != path) {
    if (std::string e = platform::RenameNoReplace(path, to); !e.empty()) error = z_Translate(failure, {path, newName, e});
  }
  if (!error.empty()) {
    log.Line(error, true);
    ++out.errors;
    prompt.Ask(PromptMessage::Composed(error, PromptButtons::Ok, PromptIcon::Exclamation));
    return out;
  }
  log.Line(z_Translate(RuleFor(FileAction::Rename).doneLog, {path, newName}));
  f.dupname = newName;
  out.done = 1;
  return out;
}

}  // namespace twinex
