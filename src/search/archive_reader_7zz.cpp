// The external archiver's reader, for the types the library cannot read (arj, nrg, split
// volumes) and as a second try for archives the library refuses. The archiver runs as a child
// process; its listing is read as it comes, its extraction streamed into the sink.
#include <cstdio>

#include "platform/child_process.h"
#include "platform/date_time.h"
#include "platform/process.h"
#include "platform/text.h"
#include "search/archive_extract.h"
#include "search/archive_reader.h"

namespace twinex {
namespace {

constexpr int kPollMs = 100;
constexpr std::size_t kReadBlock = 64 * 1024;
constexpr std::size_t kMaxLine = 64 * 1024;

// "2026-12-06 20:12:17.5655505" (local time) to a Date value; 0 when absent.
double ParseTime(const std::string& text) {
  int y = 0, mo = 0, d = 0, h = 0, mi = 0, s = 0;
  if (std::sscanf(text.c_str(), "%d-%d-%d %d:%d:%d", &y, &mo, &d, &h, &mi, &s) != 6) return 0;
  return platform::MakeDate(y, mo, d, h, mi, s);
}

// One block of the technical listing ("Key = value" lines).
struct Entry {
  std::string path, size, modified, created, attributes;
  bool folder = false, encrypted = false, any = false;
};

// The attribute field holds the Windows letters, then the Unix mode ("A -rw-r--r--", "D drwx…").
struct AttributeField {
  std::string letters, mode;
  explicit AttributeField(const std::string& field) {
    const std::size_t space = field.rfind(' ');
    letters = field.substr(0, space == std::string::npos ? field.size() : space);
    mode = space == std::string::npos ? "" : field.substr(space + 1);
  }
};

// Folders and links carry no data of their own.
bool IsFileEntry(const Entry& e) {
  const AttributeField a(e.attributes);
  return !e.folder && a.letters.find('D') == std::string::npos && (a.mode.empty() || a.mode[0] == '-');
}

ArchiveMember ToMember(const Entry& e) {
  ArchiveMember m;
  m.pathInsideZip = e.path;
  SplitInnerPath(e.path, m.folder, m.name);
  long long size = 0;
  if (platform::ParseLong(e.size, size) && size > 0) m.size = static_cast<std::uint64_t>(size);
  m.modified = ParseTime(e.modified);
  m.created = e.created.empty() ? m.modified : ParseTime(e.created);
  const AttributeField a(e.attributes);
  const bool readOnly = a.letters.find('R') != std::string::npos || (a.mode.size() > 2 && a.mode[2] == '-');
  m.attributes = MemberAttributes(readOnly, m.name);
  m.encrypted = e.encrypted;
  return m;
}

bool NeedsPassword(const std::string& errors) {
  return errors.find("Enter password") != std::string::npos || errors.find("Wrong password") != std::string::npos;
}

class SevenZipReader final : public ArchiveReader {
 public:
  explicit SevenZipReader(std::string program) : program_(std::move(program)) {}

  ArchiveOutcome List(const std::string& path, const ArchiveTypeInfo&, RunControl& run,
                      const std::function<bool(const ArchiveMember&)>& onMember) override {
    platform::ChildProcess child;
    if (ArchiveOutcome started = Start(child, {"l", "-slt", "-ba", "-sccUTF-8", "--", path}); !started.ok())
      return started;
    Entry entry;
    std::uint64_t listed = 0;
    bool wanted = true;
    auto flush = [&]() {
      if (entry.any && IsFileEntry(entry) && wanted) {
        ArchiveMember m = ToMember(entry);
        if (!m.name.empty()) {
          ++listed;
          wanted = onMember(m);
        }
      }
      entry = Entry{};
    };
    auto takeLine = [&](const std::string& line) {
      const std::size_t eq = line.find(" = ");
      const std::string key = eq == std::string::npos ? platform::Trim(line) : line.substr(0, eq);
      const std::string value = eq == std::string::npos ? "" : line.substr(eq + 3);
      if (key == "Path") {
        flush();
        entry.path = value;
        entry.any = true;
      } else if (key == "Size") {
        entry.size = value;
      } else if (key == "Modified") {
        entry.modified = value;
      } else if (key == "Created") {
        entry.created = value;
      } else if (key == "Attributes") {
        entry.attributes = value;
      } else if (key == "Folder") {
        entry.folder = value == "+";
      } else if (key == "Encrypted") {
        entry.encrypted = value == "+";
      }
    };
    std::string pending;
    char buf[kReadBlock];
    for (;;) {
      if (!run.WaitWhilePaused() || !wanted) {
        child.Kill();
        child.Wait();
        return wanted ? ArchiveOutcome{ArchiveError::kStopped, ""} : ArchiveOutcome{};
      }
      const long n = child.Read(buf, sizeof buf, kPollMs);
      if (n == -1) continue;
      if (n <= 0) break;
      pending.append(buf, static_cast<std::size_t>(n));
      std::size_t start = 0;
      for (std::size_t nl; (nl = pending.find('\n', start)) != std::string::npos; start = nl + 1) {
        std::string line = pending.substr(start, nl - start);
        if (!line.empty() && line.back() == '\r') line.pop_back();
        takeLine(line);
      }
      pending.erase(0, start);
      if (pending.size() > kMaxLine) pending.clear();  // no listing line is that long
    }
    if (!pending.empty()) takeLine(pending);
    flush();
    const int code = child.Wait();
    if (code == 0) return {};
    const std::string errors = child.ErrorText();
    if (NeedsPassword(errors)) return {ArchiveError::kPassword, errors};
    return {listed == 0 ? ArchiveError::kOpen : ArchiveError::kRead, errors.empty() ? "exit code " + std::to_string(code) : errors};
  }

  ArchiveOutcome Extract(const std::string& path, const ArchiveTypeInfo&, const std::string& inner, MemberSink& sink,
                         RunControl& run) override {
    // -spd: the member's name is a name, not a wildcard; "--": a name starting with "-" is no switch.
    platform::ChildProcess child;
    if (ArchiveOutcome started = Start(child, {"e", "-so", "-bso2", "-bsp0", "-bd", "-spd", "--", path, inner});
        !started.ok())
      return started;
    // The announced size is not known here; the sink bounds what arrives.
    ArchiveOutcome outcome = sink.Begin(0);
    char buf[kReadBlock];
    while (outcome.ok()) {
      if (!run.WaitWhilePaused()) {
        outcome = {ArchiveError::kStopped, ""};
        break;
      }
      const long n = child.Read(buf, sizeof buf, kPollMs);
      if (n == -1) continue;
      if (n == -2) outcome = {ArchiveError::kRead, "read"};
      if (n <= 0) break;
      outcome = sink.Write(buf, static_cast<std::size_t>(n));
      if (outcome.ok() && !run.ContinueAfterBlock())
        outcome = {run.StopRequested() ? ArchiveError::kStopped : ArchiveError::kSkipped, ""};
    }
    if (!outcome.ok()) child.Kill();
    const int code = child.Wait();
    const std::string errors = child.ErrorText();
    if (outcome.ok() && code != 0)
      outcome = {NeedsPassword(errors) ? ArchiveError::kPassword : ArchiveError::kRead,
                 errors.empty() ? "exit code " + std::to_string(code) : errors};
    if (outcome.ok() && errors.find("Files: 0 ") != std::string::npos) outcome = {ArchiveError::kNotFound, ""};
    if (outcome.ok()) return sink.Finish();
    sink.Abandon();
    return outcome;
  }

 private:
  ArchiveOutcome Start(platform::ChildProcess& child, std::vector<std::string> args) {
    const std::string program = platform::FindProgram(program_);
    if (program.empty()) return {ArchiveError::kNoProgram, program_};
    args.insert(args.begin(), program);
    const std::string reason = child.Start(args);
    if (!reason.empty()) return {ArchiveError::kNoProgram, reason};
    return {};
  }

  std::string program_;
};

}  // namespace

std::unique_ptr<ArchiveReader> MakeSevenZipReader(std::string program) {
  return std::make_unique<SevenZipReader>(std::move(program));
}

}  // namespace twinex
