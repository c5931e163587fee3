#pragma once
// Where the checksum database and its lock file are; the program's paths decide it.
#include <string>

namespace twinex {

struct DatabaseLocation {
  std::string file;      // .../db/checksum.adb
  std::string lockFile;  // .../TwinexDB.lock
};

}  // namespace twinex
