#pragma once
// What the options page does with the checksum database: show its statistics, clean out rows
// of files that are gone, clear it, make it anew. Each opens the database (so it is refused
// while another instance uses it) and closes it again; questions and results go through the
// prompt.
#include <cstddef>
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "search/checksum_db_location.h"

namespace twinex {

class Prompt;

struct DatabaseInfo {
  std::int64_t version = 0;
  std::uint64_t size = 0;  // bytes of the file
  std::int64_t files = 0;
  std::int64_t checksums = 0;  // rows of hasha, hashp and hashc together
};

// Reads the statistics; "" or the error (busy, missing, damaged …).
std::string GetDBinfo(const DatabaseLocation& location, DatabaseInfo& info);
// "Version: 3", "Größe: …", "Dateien: …", "Prüfsummen: …".
std::vector<std::string> DatabaseInfoLines(const DatabaseInfo& info);

struct MaintenanceProgress {
  std::function<void(const std::string&)> status;                 // step texts
  std::function<bool(std::size_t done, std::size_t total)> step;  // false ends the loop early
};

struct CleanOutcome {
  std::int64_t files = 0;
  std::int64_t checksums = 0;
};

// Removes the rows of files that no longer exist (for an archive member: whose archive no
// longer exists), then compacts and optimises. True when it ran to its end or was stopped.
bool DB_Clean(const DatabaseLocation& location, Prompt& prompt, const MaintenanceProgress& progress = {},
              CleanOutcome* outcome = nullptr);
// Asks, then deletes every row. True when the database was cleared.
bool DB_Clear(const DatabaseLocation& location, Prompt& prompt);
// Asks, then deletes the file and creates an empty database. True when it was made anew.
bool DB_New(const DatabaseLocation& location, Prompt& prompt);

}  // namespace twinex
