#include "search/checksum_db_maintenance.h"

#include <sys/stat.h>

#include <cerrno>

#include "platform/number_format.h"
#include "search/checksum_db.h"
#include "settings/prompt.h"
#include "settings/translate.h"

namespace twinex {
namespace {

constexpr const char* kChecksumTables[] = {"hasha", "hashp", "hashc"};

void Warn(Prompt& prompt, const std::string& text) {
  prompt.Ask(PromptMessage::Composed(text, PromptButtons::Ok, PromptIcon::Exclamation));
}

std::string AccessError(const ChecksumDatabase& db, const std::string& detail) {
  return z_Translate(16011, "Beim Zugriff auf die Datenbank '%1' ist ein Fehler aufgetreten: %2", {db.location().file, detail});
}

bool Open(ChecksumDatabase& db, std::string& error) { return !db.IsDBused(error) && db.Init_Database_Checksum(error); }

// Only a path that is certainly gone loses its rows: a file behind an unreadable folder or on
// a share that does not answer may come back.
bool FileIsGone(const std::string& path) {
  struct stat st {};
  if (::stat(path.c_str(), &st) != 0) return errno == ENOENT || errno == ENOTDIR;
  return S_ISDIR(st.st_mode);
}

std::string Count(ChecksumDatabase& db, const std::string& sql, const char* column, std::int64_t& count) {
  db::Statement* st = db.Prepared(sql);
  if (!st) return db.lastError();
  if (st->Step() != db::StepResult::Row) return st->error();
  count = st->Int(st->ColumnIndex(column));
  return "";
}

// Compacts and optimises after rows were removed.
std::string Compact(ChecksumDatabase& db, const MaintenanceProgress& progress, const char* optimize) {
  if (progress.status) progress.status(z_Translate(16024, "Komprimiere Datenbank..."));
  if (std::string e = db.Execute("VACUUM"); !e.empty()) return e;
  if (progress.status) progress.status(z_Translate(16025, "Optimiere Datenbank..."));
  return db.Execute(optimize);
}

struct FileRow {
  std::int64_t id;
  std::string checkedPath;
};

std::string ReadFileRows(ChecksumDatabase& db, std::vector<FileRow>& rows) {
  db::Statement* st = db.Prepared("SELECT id,file,archive FROM files");
  if (!st) return db.lastError();
  for (;;) {
    switch (st->Step()) {
      case db::StepResult::Row: {
        std::string archive = st->IsNull(2) ? std::string() : st->Text(2);
        rows.push_back({st->Int(0), archive.empty() ? st->Text(1) : archive});
        continue;
      }
      case db::StepResult::Done:
        return "";
      case db::StepResult::Error:
        return st->error();
    }
  }
}

std::string DeleteFileRows(ChecksumDatabase& db, std::int64_t id, CleanOutcome& out) {
  for (const char* table : kChecksumTables) {
    db::Statement* st = db.Prepared(std::string("DELETE FROM ") + table + " WHERE fileid = ?");
    if (!st) return db.lastError();
    st->Bind(1, id);
    if (st->Step() != db::StepResult::Done) return st->error();
    out.checksums += db.connection().Changes();
  }
  db::Statement* st = db.Prepared("DELETE FROM files WHERE id = ?");
  if (!st) return db.lastError();
  st->Bind(1, id);
  if (st->Step() != db::StepResult::Done) return st->error();
  ++out.files;
  return "";
}

std::string CleanRows(ChecksumDatabase& db, const MaintenanceProgress& progress, CleanOutcome& out) {
  std::vector<FileRow> rows;
  if (std::string e = ReadFileRows(db, rows); !e.empty()) return e;
  // One transaction: a clean of many thousand rows is not a disk flush per row.
  if (std::string e = db.Execute("BEGIN TRANSACTION;"); !e.empty()) return e;
  for (std::size_t i = 0; i < rows.size(); ++i) {
    if (progress.step && !progress.step(i + 1, rows.size())) break;
    if (!FileIsGone(rows[i].checkedPath)) continue;
    if (std::string e = DeleteFileRows(db, rows[i].id, out); !e.empty()) {
      db.Execute("ROLLBACK;");
      out = {};
      return e;
    }
  }
  return db.Commit();
}

}  // namespace

std::string GetDBinfo(const DatabaseLocation& location, DatabaseInfo& info) {
  info = {};
  ChecksumDatabase db(location);
  std::string error;
  if (!Open(db, error)) return error;
  struct stat st {};
  if (::stat(location.file.c_str(), &st) == 0) info.size = static_cast<std::uint64_t>(st.st_size);
  db::Statement* ver = db.Prepared("SELECT ver FROM config WHERE id = ?");
  if (!ver) return AccessError(db, db.lastError());
  ver->Bind(1, 1);
  if (ver->Step() != db::StepResult::Row) return AccessError(db, ver->error());
  info.version = ver->Int(0);
  std::int64_t a = 0, p = 0, c = 0;
  for (std::string e : {Count(db, "SELECT count(id) as anz FROM files", "anz", info.files),
                        Count(db, "SELECT count(id) as anz1 FROM hasha", "anz1", a),
                        Count(db, "SELECT count(id) as anz2 FROM hashp", "anz2", p),
                        Count(db, "SELECT count(id) as anz3 FROM hashc;", "anz3", c)})
    if (!e.empty()) return AccessError(db, e);
  info.checksums = a + p + c;
  return "";
}

std::vector<std::string> DatabaseInfoLines(const DatabaseInfo& info) {
  return {z_Translate(16020, "Version:") + " " + std::to_string(info.version),
          z_Translate(16021, "Größe:") + " " + platform::FormatSizeAuto(info.size),
          z_Translate(16022, "Dateien:") + " " + platform::FormatCount(info.files),
          z_Translate(16023, "Prüfsummen:") + " " + platform::FormatCount(info.checksums)};
}

bool DB_Clean(const DatabaseLocation& location, Prompt& prompt, const MaintenanceProgress& progress,
              CleanOutcome* outcome) {
  ChecksumDatabase db(location);
  std::string error;
  if (!Open(db, error)) {
    Warn(prompt, error);
    return false;
  }
  CleanOutcome out;
  error = CleanRows(db, progress, out);
  if (error.empty()) error = Compact(db, progress, "PRAGMA optimize;");
  db.Close_Database();
  if (outcome) *outcome = out;
  if (!error.empty()) {
    Warn(prompt, AccessError(db, error));
    return false;
  }
  prompt.Ask(PromptMessage::Make(TextRef{16026, "Es wurden %1 Dateien mit insgesamt %2 Prüfsummen aus der Datenbank entfernt."},
                                 {platform::FormatCount(out.files), platform::FormatCount(out.checksums)}));
  return true;
}

bool DB_Clear(const DatabaseLocation& location, Prompt& prompt) {
  if (prompt.Ask(PromptMessage::Make(TextRef{16027, "Sollen alle Prüfsummen in der Datenbank gelöscht werden?"}, {},
                                     PromptButtons::YesNo, PromptIcon::Question)) != PromptAnswer::Yes)
    return false;
  ChecksumDatabase db(location);
  std::string error;
  if (!Open(db, error)) {
    Warn(prompt, error);
    return false;
  }
  // All four tables or none.
  error = db.Execute(
      "BEGIN TRANSACTION;DELETE FROM hasha;DELETE FROM hashp;DELETE FROM hashc;DELETE FROM files;COMMIT TRANSACTION;");
  if (!error.empty() && db.connection().InTransaction()) db.Execute("ROLLBACK;");
  if (error.empty()) error = Compact(db, {}, "PRAGMA optimize");
  db.Close_Database();
  if (!error.empty()) {
    Warn(prompt, AccessError(db, error));
    return false;
  }
  prompt.Ask(PromptMessage::Make(TextRef{16028, "Die Datenbank wurde erfolgreich zurückgesetzt."}));
  return true;
}

bool DB_New(const DatabaseLocation& location, Prompt& prompt) {
  if (prompt.Ask(PromptMessage::Make(
          TextRef{16029, "Soll die vorhandene Datenbank gelöscht und eine neue Datenbank erstellt werden?"}, {},
          PromptButtons::YesNo, PromptIcon::Question)) != PromptAnswer::Yes)
    return false;
  ChecksumDatabase db(location);
  std::string error;
  if (!db.Create_Checksum_Database(true, error)) {
    Warn(prompt, error);
    return false;
  }
  prompt.Ask(PromptMessage::Make(TextRef{16030, "Die Datenbank wurde neu erstellt."}));
  return true;
}

}  // namespace twinex
