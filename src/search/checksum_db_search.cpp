#include "search/checksum_db_search.h"

#include <algorithm>
#include <cstring>

#include "search/checksum_db.h"
#include "search/search.h"
#include "settings/translate.h"

namespace twinex {
namespace {

// The open database when this use of it is switched on, else null.
ChecksumDatabase* Usable(Search& s, bool useOn) {
  return useOn && s.database && s.database->IsOpen() ? s.database.get() : nullptr;
}

FileKey KeyOf(const Search& s, long index) {
  const FileRecord& r = s.files.Record(index);
  // An archive member's record carries the archive as its path and the member's inner path.
  if (r.ArchiveType != 0) return {s.files.PathInsideZip(r), s.files.Folder(r.FolderIndex)};
  return {s.files.GetPathWithFileName(index), ""};
}

FileStamp StampOf(const FileRecord& r) { return {r.SIZE, r.DateLastModified}; }

// Reported once: the database is closed, so later calls find nothing to use.
void GiveUp(Search& s) {
  ChecksumDatabase& db = *s.database;
  std::string detail = db.connection().FileMoved()
                           ? z_Translate(16002, "Die Datenbank '%1' konnte nicht gefunden werden!", {db.location().file})
                           : db.lastError();
  s.LogProtokoll(z_Translate(16011, "Beim Zugriff auf die Datenbank '%1' ist ein Fehler aufgetreten: %2",
                             {db.location().file, detail}) +
                     " " + z_Translate(16012, "Die Suche wird ohne die Datenbank fortgesetzt."),
                 true);
  db.Close_Database();
}

// `length`, when not 0, is the only length a stored value may have; a row of another length
// is passed over and the file is read instead.
bool Lookup(Search& s, ChecksumDatabase& db, const HashTable& table, long index, std::span<const std::int64_t> keys,
            std::vector<std::uint8_t>& out, std::size_t length = 0) {
  switch (db.Get(table, KeyOf(s, index), keys, StampOf(s.files.Record(index)), s.settings.checksize,
                 s.settings.checkdate, out)) {
    case LookupResult::Found:
      if (length != 0 && out.size() != length) return false;
      ++s.counters.dbChecksumsUsed;
      return true;
    case LookupResult::NotFound:
      return false;
    case LookupResult::Error:
      GiveUp(s);
      return false;
  }
  return false;
}

void Store(Search& s, ChecksumDatabase& db, const HashTable& table, long index, std::span<const std::int64_t> keys,
           std::span<const std::uint8_t> bytes) {
  switch (db.Save(table, KeyOf(s, index), keys, StampOf(s.files.Record(index)), bytes)) {
    case StoreResult::Stored:
      ++s.counters.dbChecksumsStored;
      break;
    case StoreResult::Updated:
      ++s.counters.dbChecksumsUpdated;
      break;
    case StoreResult::Error:
      GiveUp(s);
      break;
  }
}

// A digest of the whole file, and one that is a real digest: a file not longer than the digest
// is compared by its own bytes, which have no business in the database.
bool ContentDigestCacheable(const Search& s, const FileRecord& r) {
  return s.checksum.index > 0 && s.files.EffectiveSize(r) == r.SIZE &&
         r.SIZE > static_cast<std::uint64_t>(s.checksum.digestLength);
}

}  // namespace

void DB_OpenForSearch(Search& s) {
  s.useDatabase = false;
  s.database.reset();
  const SearchSettings& st = s.settings;
  if (!st.usedb || !(st.usedbcontent || st.usedbpic || st.usedbaudio) || s.env.database.file.empty()) return;
  auto db = std::make_unique<ChecksumDatabase>(s.env.database);
  std::string message;
  if (db->IsDBused(message) || !db->Init_Database_Checksum(message)) {
    s.LogProtokoll(message, true);
    return;
  }
  s.database = std::move(db);
  s.useDatabase = true;
}

bool DB_Get_Hash(Search& s, long index) {
  FileRecord& r = s.files.Record(index);
  ChecksumDatabase* db = Usable(s, s.settings.usedbcontent);
  if (!db || r.HashCreated || r.DBChecked || !ContentDigestCacheable(s, r)) return false;
  r.DBChecked = true;
  const std::int64_t keys[] = {s.checksum.index};
  std::vector<std::uint8_t> digest;
  if (!Lookup(s, *db, kHashContent, index, keys, digest, static_cast<std::size_t>(s.checksum.digestLength)))
    return false;
  std::copy(digest.begin(), digest.end(), s.files.HashArray(r));
  r.HashCreated = true;
  return true;
}

void DB_Save_Hash(Search& s, long index) {
  const FileRecord& r = s.files.Record(index);
  ChecksumDatabase* db = Usable(s, s.settings.usedbcontent);
  if (!db || !r.HashCreated || !ContentDigestCacheable(s, r)) return;
  const std::int64_t keys[] = {s.checksum.index};
  Store(s, *db, kHashContent, index, keys,
        std::span<const std::uint8_t>(s.files.HashArray(r), static_cast<std::size_t>(s.checksum.digestLength)));
}

bool DB_Get_Pic_Hash(Search& s, long index, int ctype, std::vector<std::uint8_t>& hash) {
  ChecksumDatabase* db = Usable(s, s.settings.usedbpic);
  const std::int64_t keys[] = {ctype};
  return db && Lookup(s, *db, kHashPicture, index, keys, hash);
}

void DB_Save_Pic_Hash(Search& s, long index, int ctype, std::span<const std::uint8_t> hash) {
  ChecksumDatabase* db = Usable(s, s.settings.usedbpic);
  const std::int64_t keys[] = {ctype};
  if (db) Store(s, *db, kHashPicture, index, keys, hash);
}

bool DB_Get_Audio_Hash(Search& s, long index, int seconds, int algo, std::vector<std::int32_t>& fingerprint) {
  ChecksumDatabase* db = Usable(s, s.settings.usedbaudio);
  const std::int64_t keys[] = {seconds, algo};
  std::vector<std::uint8_t> bytes;
  if (!db || !Lookup(s, *db, kHashAudio, index, keys, bytes)) return false;
  fingerprint.assign(bytes.size() / sizeof(std::int32_t), 0);
  std::memcpy(fingerprint.data(), bytes.data(), fingerprint.size() * sizeof(std::int32_t));
  return true;
}

void DB_Save_Audio_Hash(Search& s, long index, int seconds, int algo, std::span<const std::int32_t> fingerprint) {
  ChecksumDatabase* db = Usable(s, s.settings.usedbaudio);
  const std::int64_t keys[] = {seconds, algo};
  if (db)
    Store(s, *db, kHashAudio, index, keys,
          std::span<const std::uint8_t>(reinterpret_cast<const std::uint8_t*>(fingerprint.data()), fingerprint.size_bytes()));
}

void DB_OptimizeAfterSearch(Search& s) {
  ChecksumDatabase* db = Usable(s, true);
  if (!db) return;
  std::string error = db->Commit();
  if (error.empty()) error = db->Execute("PRAGMA optimize;");
  if (!error.empty()) s.LogProtokoll("DB execute2: " + error, true);
}

void DB_CloseForSearch(Search& s) {
  if (s.database) s.database->Close_Database();
  s.database.reset();
}

}  // namespace twinex
