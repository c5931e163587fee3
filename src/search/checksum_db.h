#pragma once
// The checksum database "checksum.adb": checksums kept between searches so that unchanged files
// need not be read again. One instance at a time uses it: the lock file "TwinexDB.lock" says
// who, and SQLite's exclusive locking mode guards the file itself.
#include <array>
#include <cstdint>
#include <span>
#include <string>
#include <unordered_map>
#include <vector>

#include "platform/process.h"
#include "search/checksum_db_location.h"
#include "search/checksum_db_sqlite.h"

namespace twinex {

inline constexpr int kDatabaseVersion = 3;

// One checksum table: its name and the columns that, with the file id, pick a row. Content
// checksums and picture hashes are keyed by a type, audio fingerprints by length and algorithm.
struct HashTable {
  const char* name;
  std::vector<const char*> keyColumns;
};
extern const HashTable kHashContent;  // hashc (ctype)
extern const HashTable kHashPicture;  // hashp (ctype)
extern const HashTable kHashAudio;    // hasha (seconds, algo)

// How the files table names a file: a plain file by its full path; an archive member by its
// path inside the archive and the archive's full path.
struct FileKey {
  std::string file;
  std::string archive;  // empty for a plain file
};

// What a stored checksum is checked against before it is trusted.
struct FileStamp {
  std::uint64_t size = 0;
  double modified = 0;  // Date value
};

enum class LookupResult { Found, NotFound, Error };
enum class StoreResult { Stored, Updated, Error };

class ChecksumDatabase {
 public:
  explicit ChecksumDatabase(DatabaseLocation location);
  ~ChecksumDatabase();
  ChecksumDatabase(const ChecksumDatabase&) = delete;
  ChecksumDatabase& operator=(const ChecksumDatabase&) = delete;

  const DatabaseLocation& location() const { return location_; }

  // True when another instance holds the database; `message` then says so.
  bool IsDBused(std::string& message) const;
  // Opens the existing database (taking the lock, upgrading version 2). False with the error
  // text when it cannot be used; nothing is left open then.
  bool Init_Database_Checksum(std::string& errorText);
  // Creates the database when its file is missing, after deleting it first when asked.
  bool Create_Checksum_Database(bool deleteExisting, std::string& errorText);
  // Commits what is pending, closes the file and releases the lock.
  void Close_Database();
  bool IsOpen() const { return open_; }

  // Looks a checksum up. With `checkSize` / `checkDate`, a stored size or date that differs
  // from the stamp makes it not found (the file changed since).
  LookupResult Get(const HashTable& table, const FileKey& file, std::span<const std::int64_t> keys,
                   const FileStamp& stamp, bool checkSize, bool checkDate, std::vector<std::uint8_t>& checksum);
  // Stores or replaces a checksum. Stores are gathered into transactions that are committed
  // every so many stores or after a second, and by Commit.
  StoreResult Save(const HashTable& table, const FileKey& file, std::span<const std::int64_t> keys,
                   const FileStamp& stamp, std::span<const std::uint8_t> checksum);
  // Commits the pending stores; "" or the error.
  std::string Commit();

  // The last failure of Get, Save or Execute.
  const std::string& lastError() const { return lastError_; }
  std::string Execute(const std::string& sql);
  db::Connection& connection() { return connection_; }
  // A prepared statement kept for the life of the connection, reset for its next use; null
  // (with lastError) when it cannot be prepared.
  db::Statement* Prepared(const std::string& sql);

 private:
  bool Fail(std::string& errorText, std::string message);
  bool TakeLock(std::string& errorText);
  bool TouchExclusively(std::string& errorText);
  bool CheckVersion(std::string& errorText);
  // The id of the file's row: >0 found, 0 none, -1 error.
  std::int64_t FindFile(const FileKey& file);
  std::int64_t FindFileRow(const FileKey& file);
  std::int64_t InsertFile(const FileKey& file);
  bool BeginBatch();
  void Remember(const FileKey& file, std::int64_t id);

  // The last few file rows looked for: a store follows the lookup of the same file closely, so
  // it need not search the files table again.
  struct KnownFile {
    std::string file, archive;
    std::int64_t id = -1;
  };
  std::array<KnownFile, 4> known_;
  std::size_t nextKnown_ = 0;

  DatabaseLocation location_;
  db::Connection connection_;
  std::unordered_map<std::string, db::Statement> prepared_;
  platform::LockFile lock_;
  std::string lastError_;
  bool open_ = false;
  int batchStores_ = 0;
  std::int64_t batchStart_ = 0;
};

// Deletes the file and the journal files SQLite keeps beside it (missing ones are fine);
// "" or the system's message for the database file itself.
std::string RemoveDatabaseFiles(const std::string& file);

}  // namespace twinex
