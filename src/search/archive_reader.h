#pragma once
// Reading archives: listing the members without unpacking them, and extracting one member to a
// file of ours. Two readers stand behind one interface (a library for the common types, the
// external archiver for the rest); the type table chooses.
#include <cstdint>
#include <functional>
#include <memory>
#include <string>

#include "platform/run_control.h"
#include "search/archive_types.h"

namespace twinex {

class MemberSink;

// One member as the archive describes it.
struct ArchiveMember {
  std::string pathInsideZip;  // the archive's own name: folder and name joined by "/"
  std::string folder;         // without trailing "/"; empty at the archive's top
  std::string name;
  std::uint64_t size = 0;
  double modified = 0;  // local Date values
  double created = 0;
  std::uint32_t attributes = 0;  // Windows-style bits, as for plain files
  bool encrypted = false;        // needs a password: never extracted
};

enum class ArchiveError {
  kNone,
  kOpen,       // not readable as an archive of its type (also: truncated header, wrong type)
  kRead,       // broken after it was opened
  kPassword,   // the member, or the whole archive, needs a password
  kNotFound,   // the member is not (or no longer) in the archive
  kNotAFile,   // a link or folder entry: never extracted
  kTooLarge,   // more data than the size limit allows
  kNoSpace,    // more data than the temporary folder can take
  kWrite,      // the temporary file could not be written
  kStopped,    // the whole run was stopped
  kSkipped,    // the user gave up this member
  kNoProgram,  // the external archiver is missing
};

struct ArchiveOutcome {
  ArchiveError error = ArchiveError::kNone;
  std::string text;  // the reader's own message, for the log
  bool ok() const { return error == ArchiveError::kNone; }
};

class ArchiveReader {
 public:
  virtual ~ArchiveReader() = default;
  // Calls onMember for every file member in archive order (folders, links and entries that
  // carry no data of their own are left out). Between members the run's pause is honoured;
  // a stop ends the listing with kStopped. onMember returning false ends it too (kNone).
  virtual ArchiveOutcome List(const std::string& archive, const ArchiveTypeInfo& type, RunControl& run,
                              const std::function<bool(const ArchiveMember&)>& onMember) = 0;
  // Writes the data of the member named pathInsideZip (as List reported it) into the sink.
  virtual ArchiveOutcome Extract(const std::string& archive, const ArchiveTypeInfo& type,
                                 const std::string& pathInsideZip, MemberSink& sink, RunControl& run) = 0;
};

std::unique_ptr<ArchiveReader> MakeLibarchiveReader();
// program: the external archiver, looked up in PATH when it holds no "/".
std::unique_ptr<ArchiveReader> MakeSevenZipReader(std::string program = "7zz");

// Windows-style attribute bits of a member, as plain files get them: read-only, hidden for a
// name beginning with ".", normal when neither.
std::uint32_t MemberAttributes(bool readOnly, std::string_view name);

// Splits an inner path into its folder and name; turns "\" into "/" first and drops leading
// "/" and "./", since the archive's path is only shown, never used as a path of ours.
void SplitInnerPath(std::string_view inner, std::string& folder, std::string& name);

}  // namespace twinex
