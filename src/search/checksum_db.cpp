#include "search/checksum_db.h"

#include <sqlite3.h>
#include <unistd.h>

#include <cerrno>

#include "platform/date_time.h"
#include "platform/file_system.h"
#include "platform/read_only_file.h"
#include "settings/translate.h"

namespace twinex {
namespace {

constexpr const char* kSchemaIndexes =
    "CREATE INDEX file_archive ON files (file ASC, archive ASC);"
    "CREATE INDEX fileid_ctype ON hashc (fileid, ctype);"
    "CREATE INDEX fileid_ctypes ON hashp (fileid, ctype);"
    "CREATE INDEX fileid_seconds_algo ON hasha (fileid, seconds, algo);";

const std::string kSchemaBatch = std::string(
    "PRAGMA foreign_keys = off;BEGIN TRANSACTION;"
    "CREATE TABLE files (id INTEGER PRIMARY KEY UNIQUE NOT NULL, file STRING NOT NULL COLLATE NOCASE, "
    "archive STRING COLLATE NOCASE);"
    "CREATE TABLE hasha (id INTEGER PRIMARY KEY UNIQUE NOT NULL, fileid INTEGER NOT NULL REFERENCES files (id), "
    "fsize INTEGER NOT NULL, fdate DOUBLE NOT NULL, seconds INTEGER NOT NULL, algo INTEGER NOT NULL, checksum BLOB);"
    "CREATE TABLE hashc (id INTEGER PRIMARY KEY UNIQUE NOT NULL, fileid INTEGER NOT NULL REFERENCES files (id), "
    "fsize INTEGER NOT NULL, fdate DOUBLE NOT NULL, ctype INTEGER NOT NULL, checksum BLOB);"
    "CREATE TABLE hashp (id INTEGER PRIMARY KEY UNIQUE NOT NULL, fileid INTEGER NOT NULL REFERENCES files (id), "
    "fsize INTEGER NOT NULL, fdate DOUBLE NOT NULL, ctype INTEGER NOT NULL, checksum BLOB);"
    "CREATE TABLE config (id INTEGER PRIMARY KEY UNIQUE NOT NULL, ver INTEGER);") +
    kSchemaIndexes +
    "INSERT INTO config (id, ver) VALUES (1, 3);"
    "COMMIT TRANSACTION;PRAGMA foreign_keys = on;";

const std::string kUpgradeFrom2 = std::string("PRAGMA foreign_keys = off;BEGIN TRANSACTION;"
                                              "CREATE INDEX file ON files (file ASC);") +
                                  kSchemaIndexes +
                                  "UPDATE config SET ver = 3;"
                                  "COMMIT TRANSACTION;PRAGMA foreign_keys = on;";

// A first search stores thousands of checksums; a commit each would cost disk flushes each.
// Gathered, a crash loses at most the last second of stores, which are only a cache.
constexpr int kStoresPerCommit = 10000;
constexpr std::int64_t kCommitIntervalMs = 1000;

std::string WhereKeys(const HashTable& t) {
  std::string where = " WHERE fileid = ?";
  for (const char* column : t.keyColumns) where += std::string(" AND ") + column + " = ?";
  return where;
}

std::string BusyText() {
  return z_Translate(16001,
                     "Der Zugriff auf die Datenbank ist momentan nicht möglich, da diese von einer anderen "
                     "Twinex-Instanz verwendet wird!");
}

bool IsBusyCode(int code) { return code == SQLITE_BUSY || code == SQLITE_LOCKED; }

}  // namespace

const HashTable kHashContent{"hashc", {"ctype"}};
const HashTable kHashPicture{"hashp", {"ctype"}};
const HashTable kHashAudio{"hasha", {"seconds", "algo"}};

std::string RemoveDatabaseFiles(const std::string& file) {
  std::string error;
  if (::unlink(file.c_str()) != 0 && errno != ENOENT) error = platform::SystemErrorText(errno);
  // A journal left beside a new file would be taken for its own and rolled into it.
  for (const char* suffix : {"-journal", "-wal", "-shm"}) ::unlink((file + suffix).c_str());
  return error;
}

ChecksumDatabase::ChecksumDatabase(DatabaseLocation location) : location_(std::move(location)) {}

ChecksumDatabase::~ChecksumDatabase() { Close_Database(); }

bool ChecksumDatabase::IsDBused(std::string& message) const {
  if (lock_.Locked() || !platform::LockFile::IsHeldElsewhere(location_.lockFile)) return false;
  message = BusyText();
  return true;
}

bool ChecksumDatabase::Fail(std::string& errorText, std::string message) {
  errorText = std::move(message);
  known_ = {};
  prepared_.clear();
  connection_.Close();
  lock_.Unlock();
  open_ = false;
  return false;
}

// The lock is taken before the file is touched, so that testing and taking it are one step.
bool ChecksumDatabase::TakeLock(std::string& errorText) {
  if (lock_.Locked() || lock_.TryLock(location_.lockFile)) return true;
  const int err = errno;
  if (platform::LockFile::IsHeldElsewhere(location_.lockFile))
    errorText = BusyText();
  else
    errorText = z_Translate(16003, "Die Datenbank '%1' konnte nicht geöffnet werden: %2",
                            {location_.file, location_.lockFile + ": " + platform::SystemErrorText(err)});
  return false;
}

bool ChecksumDatabase::TouchExclusively(std::string& errorText) {
  static const char* const kAttempts[] = {"BEGIN EXCLUSIVE TRANSACTION;", "COMMIT TRANSACTION;"};
  for (int attempt = 0; attempt < 2; ++attempt) {
    std::string e = connection_.Execute(kAttempts[attempt]);
    if (e.empty()) continue;
    const int code = connection_.ErrorCode();
    if (connection_.InTransaction()) connection_.Execute("ROLLBACK;");
    // Only a lock held elsewhere is "another instance"; a damaged file says what it is.
    if (IsBusyCode(code)) {
      std::string detail = e + " - " + std::to_string(code) + (attempt == 1 ? " (2)" : "");
      return Fail(errorText, z_Translate(16005, "Die Datenbank ist schon von einer anderen Instanz von Twinex geöffnet! (%1)",
                                         {detail}));
    }
    return Fail(errorText, z_Translate(16003, "Die Datenbank '%1' konnte nicht geöffnet werden: %2", {location_.file, e}));
  }
  return true;
}

bool ChecksumDatabase::CheckVersion(std::string& errorText) {
  auto incompatible = [&](const std::string& detail) {
    return Fail(errorText, z_Translate(16007, "Die Datenbank '%1' ist nicht kompatibel mit der Anwendung! (%2)",
                                       {location_.file, detail}));
  };
  std::int64_t version = 0;
  {
    db::Statement st(connection_, "SELECT ver FROM config WHERE id = ?");
    if (!st.ok()) return incompatible(st.error());
    st.Bind(1, 1);
    switch (st.Step()) {
      case db::StepResult::Row:
        version = st.Int(0);
        break;
      case db::StepResult::Done:
        return incompatible("-");
      case db::StepResult::Error:
        return Fail(errorText,
                    z_Translate(16003, "Die Datenbank '%1' konnte nicht geöffnet werden: %2", {location_.file, st.error()}));
    }
  }
  if (version == 2) {
    std::string e = connection_.Execute(kUpgradeFrom2);
    if (!e.empty()) {
      if (connection_.InTransaction()) connection_.Execute("ROLLBACK;");
      return Fail(errorText, z_Translate(16006, "Beim Aktualisieren der Datenbank '%1' von v%2 auf v%3 ist ein Fehler aufgetreten: %4",
                                         {location_.file, "2", "3", e}));
    }
    version = kDatabaseVersion;
  }
  if (version != kDatabaseVersion) return incompatible(std::to_string(version));
  return true;
}

bool ChecksumDatabase::Init_Database_Checksum(std::string& errorText) {
  errorText.clear();
  if (open_) return true;
  if (!platform::ExistFile(location_.file))
    return Fail(errorText, z_Translate(16002, "Die Datenbank '%1' konnte nicht gefunden werden!", {location_.file}));
  if (!TakeLock(errorText)) return false;
  if (std::string e = connection_.Open(location_.file, false); !e.empty())
    return Fail(errorText, z_Translate(16003, "Die Datenbank '%1' konnte nicht geöffnet werden: %2", {location_.file, e}));
  if (connection_.ReadOnly())
    return Fail(errorText, z_Translate(16003, "Die Datenbank '%1' konnte nicht geöffnet werden: %2",
                                       {location_.file, sqlite3_errstr(SQLITE_READONLY)}));
  if (std::string e = connection_.Execute("PRAGMA LOCKING_MODE=EXCLUSIVE;"); !e.empty())
    return Fail(errorText, "Pragma: " + e);
  // "PRAGMA optimize" after a search analyses tables that lack statistics; a sample of each
  // index serves the planner as well as a full pass and keeps the first search quick.
  connection_.Execute("PRAGMA analysis_limit=1000;");
  if (!TouchExclusively(errorText) || !CheckVersion(errorText)) return false;
  open_ = true;
  batchStores_ = 0;
  return true;
}

bool ChecksumDatabase::Create_Checksum_Database(bool deleteExisting, std::string& errorText) {
  errorText.clear();
  Close_Database();
  // Another instance working with the file must not have it deleted or replaced underneath.
  if (!TakeLock(errorText)) return false;
  const std::string& path = location_.file;
  if (deleteExisting && platform::ExistFile(path)) {
    if (std::string e = RemoveDatabaseFiles(path); !e.empty())
      return Fail(errorText, z_Translate(16008, "Beim Löschen der Datenbankdatei '%1' ist ein Fehler aufgetreten: %2", {path, e}));
  }
  if (!platform::ExistFile(path)) {
    RemoveDatabaseFiles(path);  // stale journals only: the file itself is gone
    if (std::string e = connection_.Open(path, true); !e.empty())
      return Fail(errorText, z_Translate(16009, "Beim Erstellen der Datenbankdatei '%1' ist ein Fehler aufgetreten: %2", {path, e}));
    if (std::string e = connection_.Execute(kSchemaBatch); !e.empty()) {
      Fail(errorText, z_Translate(16010, "Beim Erstellen der Tabellen ist ein Fehler aufgetreten: %1", {e}));
      // A half-made file would later be refused as incompatible; the next start makes it anew.
      RemoveDatabaseFiles(path);
      return false;
    }
  }
  connection_.Close();
  lock_.Unlock();
  return true;
}

void ChecksumDatabase::Close_Database() {
  if (open_) Commit();
  known_ = {};
  prepared_.clear();
  connection_.Close();
  lock_.Unlock();
  open_ = false;
}

std::string ChecksumDatabase::Execute(const std::string& sql) {
  lastError_ = connection_.Execute(sql);
  return lastError_;
}

db::Statement* ChecksumDatabase::Prepared(const std::string& sql) {
  auto it = prepared_.find(sql);
  if (it == prepared_.end()) {
    db::Statement st(connection_, sql);
    if (!st.ok()) {
      lastError_ = st.error();
      return nullptr;
    }
    it = prepared_.emplace(sql, std::move(st)).first;
  }
  it->second.Reset();
  return &it->second;
}

// The files column compares without regard to case, but two paths that differ only in case
// are two files here: the index finds the candidates, the exact text decides.
std::int64_t ChecksumDatabase::FindFile(const FileKey& f) {
  for (const KnownFile& k : known_)
    if (k.id >= 0 && k.file == f.file && k.archive == f.archive) return k.id;
  const std::int64_t id = FindFileRow(f);
  if (id >= 0) Remember(f, id);
  return id;
}

void ChecksumDatabase::Remember(const FileKey& f, std::int64_t id) {
  for (KnownFile& k : known_) {
    if (k.id >= 0 && k.file == f.file && k.archive == f.archive) {
      k.id = id;
      return;
    }
  }
  known_[nextKnown_] = {f.file, f.archive, id};
  nextKnown_ = (nextKnown_ + 1) % known_.size();
}

std::int64_t ChecksumDatabase::FindFileRow(const FileKey& f) {
  const bool member = !f.archive.empty();
  db::Statement* st = Prepared(member ? "SELECT id,file,archive FROM files WHERE file = ? AND archive = ?"
                                      : "SELECT id,file,archive FROM files WHERE file = ?");
  if (!st) return -1;
  if (member)
    st->BindAll(f.file, f.archive);
  else
    st->BindAll(f.file);
  for (;;) {
    switch (st->Step()) {
      case db::StepResult::Row:
        if (st->Text(1) == f.file && (member ? !st->IsNull(2) && st->Text(2) == f.archive : st->IsNull(2)))
          return st->Int(0);
        continue;
      case db::StepResult::Done:
        return 0;
      case db::StepResult::Error:
        lastError_ = st->error();
        return -1;
    }
  }
}

std::int64_t ChecksumDatabase::InsertFile(const FileKey& f) {
  const bool member = !f.archive.empty();
  db::Statement* st =
      Prepared(member ? "INSERT INTO files (file,archive) VALUES (?,?)" : "INSERT INTO files (file) VALUES (?)");
  if (!st) return -1;
  if (member)
    st->BindAll(f.file, f.archive);
  else
    st->BindAll(f.file);
  if (st->Step() != db::StepResult::Done) {
    lastError_ = st->error();
    return -1;
  }
  const std::int64_t id = sqlite3_last_insert_rowid(connection_.handle());
  Remember(f, id);
  return id;
}

LookupResult ChecksumDatabase::Get(const HashTable& t, const FileKey& file, std::span<const std::int64_t> keys,
                                   const FileStamp& stamp, bool checkSize, bool checkDate,
                                   std::vector<std::uint8_t>& checksum) {
  if (!open_ || keys.size() != t.keyColumns.size()) return LookupResult::Error;
  const std::int64_t fileId = FindFile(file);
  if (fileId < 0) return LookupResult::Error;
  if (fileId == 0) return LookupResult::NotFound;
  db::Statement* st = Prepared(std::string("SELECT checksum, fsize, fdate FROM ") + t.name + WhereKeys(t));
  if (!st) return LookupResult::Error;
  st->Bind(1, fileId);
  for (std::size_t i = 0; i < keys.size(); ++i) st->Bind(static_cast<int>(i) + 2, keys[i]);
  switch (st->Step()) {
    case db::StepResult::Done:
      return LookupResult::NotFound;
    case db::StepResult::Error:
      lastError_ = st->error();
      return LookupResult::Error;
    case db::StepResult::Row:
      break;
  }
  if (checkDate && st->Double(2) != stamp.modified) return LookupResult::NotFound;
  if (checkSize && st->Int(1) != static_cast<std::int64_t>(stamp.size)) return LookupResult::NotFound;
  checksum = st->Blob(0);
  return LookupResult::Found;
}

bool ChecksumDatabase::BeginBatch() {
  if (connection_.InTransaction()) return true;
  if (!Execute("BEGIN TRANSACTION;").empty()) return false;
  batchStores_ = 0;
  batchStart_ = platform::TickCount();
  return true;
}

StoreResult ChecksumDatabase::Save(const HashTable& t, const FileKey& file, std::span<const std::int64_t> keys,
                                   const FileStamp& stamp, std::span<const std::uint8_t> checksum) {
  if (!open_ || keys.size() != t.keyColumns.size() || !BeginBatch()) return StoreResult::Error;
  std::int64_t fileId = FindFile(file);
  std::int64_t rowId = 0;
  if (fileId == 0) {
    fileId = InsertFile(file);
  } else if (fileId > 0) {
    db::Statement* find = Prepared(std::string("SELECT id FROM ") + t.name + WhereKeys(t));
    if (!find) return StoreResult::Error;
    find->Bind(1, fileId);
    for (std::size_t i = 0; i < keys.size(); ++i) find->Bind(static_cast<int>(i) + 2, keys[i]);
    switch (find->Step()) {
      case db::StepResult::Row:
        rowId = find->Int(0);
        break;
      case db::StepResult::Done:
        break;
      case db::StepResult::Error:
        lastError_ = find->error();
        return StoreResult::Error;
    }
  }
  if (fileId < 0) return StoreResult::Error;

  db::Statement* st = nullptr;
  if (rowId != 0) {
    st = Prepared(std::string("UPDATE ") + t.name + " SET checksum=?,fsize=?,fdate=? WHERE id = ?");
    if (!st) return StoreResult::Error;
    st->BindBlob(1, checksum);
    st->Bind(2, static_cast<std::int64_t>(stamp.size));
    st->Bind(3, stamp.modified);
    st->Bind(4, rowId);
  } else {
    std::string columns = "fileid,fsize,fdate", marks = "?,?,?";
    for (const char* column : t.keyColumns) (columns += ",") += column, marks += ",?";
    st = Prepared(std::string("INSERT INTO ") + t.name + " (" + columns + ",checksum) VALUES (" + marks + ",?)");
    if (!st) return StoreResult::Error;
    st->BindAll(fileId, static_cast<std::int64_t>(stamp.size), stamp.modified);
    int index = 3;
    for (std::int64_t key : keys) st->Bind(++index, key);
    st->BindBlob(++index, checksum);
  }
  if (st->Step() != db::StepResult::Done) {
    lastError_ = st->error();
    return StoreResult::Error;
  }
  if (++batchStores_ >= kStoresPerCommit || platform::TickCount() - batchStart_ >= kCommitIntervalMs) {
    if (!Commit().empty()) return StoreResult::Error;
  }
  return rowId != 0 ? StoreResult::Updated : StoreResult::Stored;
}

std::string ChecksumDatabase::Commit() {
  if (!connection_.InTransaction()) return "";
  std::string e = Execute("COMMIT TRANSACTION;");
  if (!e.empty()) {
    // Rows inserted in this batch are gone again, and so are the ids remembered for them.
    if (connection_.InTransaction()) connection_.Execute("ROLLBACK;");
    known_ = {};
  }
  batchStores_ = 0;
  return e;
}

}  // namespace twinex
