// The library reader: zip, rar 4/5, 7z, iso, cab, tar (also compressed), gz, lha/lzh, epub and
// the comic types, as far as the library reads them.
#include <archive.h>
#include <archive_entry.h>
#include <locale.h>
#include <sys/stat.h>

#include <array>
#include <mutex>

#include "platform/date_time.h"
#include "platform/shared_library.h"
#include "platform/text.h"
#include "search/archive_extract.h"
#include "search/archive_reader.h"

namespace twinex {
namespace {

constexpr std::size_t kReadBlock = 64 * 1024;

#define TWINEX_LIBARCHIVE_FUNCTIONS(X)                                                                         \
  X(archive_read_new) X(archive_read_free) X(archive_error_string) X(archive_read_support_filter_all)          \
  X(archive_read_support_format_raw) X(archive_read_support_format_all) X(archive_read_open_filename)          \
  X(archive_read_next_header) X(archive_read_has_encrypted_entries) X(archive_read_data)                       \
  X(archive_entry_pathname_utf8) X(archive_entry_pathname) X(archive_entry_filetype) X(archive_entry_hardlink) \
  X(archive_entry_symlink) X(archive_entry_is_encrypted) X(archive_entry_size_is_set) X(archive_entry_size)    \
  X(archive_entry_mtime) X(archive_entry_birthtime_is_set) X(archive_entry_birthtime) X(archive_entry_perm)

struct LibarchiveLibrary {
  TWINEX_LIBARCHIVE_FUNCTIONS(TWINEX_LIBRARY_MEMBER)
};

// The library, opened with the first archive; every other call here follows a successful Open.
const LibarchiveLibrary* la = nullptr;

bool LoadLibarchive(ArchiveOutcome& outcome) {
  // Set inside the guarded initialisation, so every thread that passed it sees `la`.
  static const LibarchiveLibrary* lib = la =
      TWINEX_LOAD_LIBRARY(LibarchiveLibrary, TWINEX_LIBARCHIVE_SONAME, TWINEX_LIBARCHIVE_FUNCTIONS);
  if (!lib) outcome = {ArchiveError::kOpen, platform::LibraryError(TWINEX_LIBARCHIVE_SONAME)};
  return lib != nullptr;
}

struct ArchiveCloser {
  void operator()(archive* a) const { la->archive_read_free(a); }
};
using ArchivePtr = std::unique_ptr<archive, ArchiveCloser>;

std::string ErrorText(archive* a) {
  const char* e = la->archive_error_string(a);
  return e ? e : "unknown error";
}

// A gz holds one file without a name of its own in the directory: it takes the archive's name
// without ".gz".
std::string SingleStreamName(const std::string& archivePath) {
  std::string name = archivePath.substr(archivePath.rfind('/') + 1);
  if (platform::EndsWith(platform::LowerCase(name), ".gz")) name.resize(name.size() - 3);
  return name.empty() ? "data" : name;
}

ArchivePtr Open(const std::string& path, const ArchiveTypeInfo& type, ArchiveOutcome& outcome) {
  if (!LoadLibarchive(outcome)) return nullptr;
  ArchivePtr a(la->archive_read_new());
  la->archive_read_support_filter_all(a.get());
  if (type.singleStream)
    la->archive_read_support_format_raw(a.get());
  else
    la->archive_read_support_format_all(a.get());
  if (la->archive_read_open_filename(a.get(), path.c_str(), kReadBlock) != ARCHIVE_OK) {
    outcome = {ArchiveError::kOpen, ErrorText(a.get())};
    return nullptr;
  }
  return a;
}

std::string EntryPath(archive_entry* e) {
  // The UTF-8 form where the archive marks its names as such; else the bytes as stored.
  if (const char* u = la->archive_entry_pathname_utf8(e)) return u;
  const char* p = la->archive_entry_pathname(e);
  return p ? p : "";
}

// Only regular files carry data of their own; a hard-link entry points at another member.
bool IsDataMember(archive_entry* e) {
  return la->archive_entry_filetype(e) == AE_IFREG && la->archive_entry_hardlink(e) == nullptr &&
         la->archive_entry_symlink(e) == nullptr;
}

bool IsEncrypted(archive_entry* e) { return la->archive_entry_is_encrypted(e) != 0; }

// Next header; ARCHIVE_WARN (an odd field) still gives a usable entry.
int NextHeader(archive* a, archive_entry** e) {
  int rc = la->archive_read_next_header(a, e);
  while (rc == ARCHIVE_RETRY) rc = la->archive_read_next_header(a, e);
  return rc == ARCHIVE_WARN ? ARCHIVE_OK : rc;
}

// Failures while reading headers: a password on the directory reads as such, the rest as broken.
ArchiveOutcome HeaderFailure(archive* a) {
  if (la->archive_read_has_encrypted_entries(a) > 0) return {ArchiveError::kPassword, ErrorText(a)};
  return {ArchiveError::kRead, ErrorText(a)};
}

// The library converts member names through the character set of the thread's locale; in the
// "C" locale a name with umlauts cannot be converted and comes back empty. UTF-8 is used while
// an archive is read, on this thread only.
class Utf8Names {
 public:
  Utf8Names() : utf8_(newlocale(LC_CTYPE_MASK, "C.UTF-8", nullptr)) {
    if (utf8_) previous_ = uselocale(utf8_);
  }
  ~Utf8Names() {
    if (!utf8_) return;
    uselocale(previous_);
    freelocale(utf8_);
  }
  Utf8Names(const Utf8Names&) = delete;
  Utf8Names& operator=(const Utf8Names&) = delete;

 private:
  locale_t utf8_;
  locale_t previous_ = LC_GLOBAL_LOCALE;
};

class LibarchiveReader final : public ArchiveReader {
 public:
  ArchiveOutcome List(const std::string& path, const ArchiveTypeInfo& type, RunControl& run,
                      const std::function<bool(const ArchiveMember&)>& onMember) override {
    Utf8Names names;
    ArchiveOutcome outcome;
    ArchivePtr a = Open(path, type, outcome);
    if (!a) return outcome;
    archive_entry* e = nullptr;
    for (;;) {
      if (!run.WaitWhilePaused()) return {ArchiveError::kStopped, ""};
      const int rc = NextHeader(a.get(), &e);
      if (rc == ARCHIVE_EOF) return {};
      if (rc != ARCHIVE_OK) return HeaderFailure(a.get());
      if (!IsDataMember(e)) continue;
      ArchiveMember m;
      m.pathInsideZip = type.singleStream ? SingleStreamName(path) : EntryPath(e);
      SplitInnerPath(m.pathInsideZip, m.folder, m.name);
      if (m.name.empty()) continue;
      m.size = la->archive_entry_size_is_set(e) && la->archive_entry_size(e) > 0
                   ? static_cast<std::uint64_t>(la->archive_entry_size(e))
                   : 0;
      m.modified = platform::DateFromUnix(la->archive_entry_mtime(e));
      m.created = la->archive_entry_birthtime_is_set(e) ? platform::DateFromUnix(la->archive_entry_birthtime(e)) : m.modified;
      const mode_t mode = la->archive_entry_perm(e);
      m.attributes = MemberAttributes(mode != 0 && !(mode & S_IWUSR), m.name);
      m.encrypted = IsEncrypted(e);
      if (!onMember(m)) return {};
    }
  }

  ArchiveOutcome Extract(const std::string& path, const ArchiveTypeInfo& type, const std::string& inner,
                         MemberSink& sink, RunControl& run) override {
    Utf8Names names;
    std::lock_guard guard(lock_);
    // A solid archive is read from its start to reach a member. Members are asked for in
    // archive order, so reading on from the last one read saves reading the archive again for
    // each; a member that lies behind the cursor is found by starting afresh. A search asks for
    // members of several archives in turn (a file and its copies in a zip, a 7z and a tar.gz),
    // so each of the last few archives keeps its own cursor.
    Cursor& cursor = CursorFor(path, type);
    for (bool fresh = false; !fresh;) {
      fresh = !CursorFits(cursor, path, type);
      if (fresh) {
        ArchiveOutcome outcome;
        cursor = {};
        cursor.archive = Open(path, type, outcome);
        if (!cursor.archive) return outcome;
        cursor.path = path;
        cursor.type = &type;
        cursor.identity = FileIdentity(path);
        cursor.lastUse = uses_;
      }
      archive* a = cursor.archive.get();
      archive_entry* e = nullptr;
      for (;;) {
        if (!run.WaitWhilePaused()) return {ArchiveError::kStopped, ""};
        const int rc = NextHeader(a, &e);
        if (rc == ARCHIVE_EOF) break;
        if (rc != ARCHIVE_OK) {
          ArchiveOutcome failed = HeaderFailure(a);
          cursor = {};
          return failed;
        }
        if (!type.singleStream && EntryPath(e) != inner) continue;
        ArchiveOutcome outcome = !IsDataMember(e)   ? ArchiveOutcome{ArchiveError::kNotAFile, ""}
                                 : IsEncrypted(e) ? ArchiveOutcome{ArchiveError::kPassword, ""}
                                                  : CopyData(a, e, sink, run);
        if (!outcome.ok() || type.singleStream) cursor = {};
        return outcome;
      }
      cursor = {};
    }
    return {ArchiveError::kNotFound, ""};
  }

 private:
  // The archive left open after the last extraction, and what it was opened for.
  struct Cursor {
    std::string path;
    const ArchiveTypeInfo* type = nullptr;
    std::string identity;
    ArchivePtr archive;
    std::uint64_t lastUse = 0;
  };

  // The file's device, inode, size and modification time: an archive changed since the cursor
  // was opened is read afresh.
  static std::string FileIdentity(const std::string& path) {
    struct stat st;
    if (::stat(path.c_str(), &st) != 0) return "";
    return std::to_string(st.st_dev) + ":" + std::to_string(st.st_ino) + ":" + std::to_string(st.st_size) + ":" +
           std::to_string(st.st_mtim.tv_sec) + "." + std::to_string(st.st_mtim.tv_nsec);
  }

  static bool CursorFits(const Cursor& cursor, const std::string& path, const ArchiveTypeInfo& type) {
    return cursor.archive && !type.singleStream && cursor.path == path && cursor.type == &type &&
           !cursor.identity.empty() && cursor.identity == FileIdentity(path);
  }

  // The cursor of this archive, or the one used longest ago (an open solid archive holds its
  // decoder's dictionary, so only a few stay open).
  Cursor& CursorFor(const std::string& path, const ArchiveTypeInfo& type) {
    Cursor* pick = &cursors_[0];
    for (Cursor& c : cursors_) {
      if (c.path == path && c.type == &type) {
        pick = &c;
        break;
      }
      if (c.lastUse < pick->lastUse) pick = &c;
    }
    pick->lastUse = ++uses_;
    return *pick;
  }

  static constexpr std::size_t kCursors = 4;
  std::mutex lock_;  // the reader serves every search of the process
  std::array<Cursor, kCursors> cursors_;
  std::uint64_t uses_ = 0;

  static ArchiveOutcome CopyData(archive* a, archive_entry* e, MemberSink& sink, RunControl& run) {
    const std::uint64_t announced =
        la->archive_entry_size_is_set(e) && la->archive_entry_size(e) > 0 ? static_cast<std::uint64_t>(la->archive_entry_size(e)) : 0;
    if (ArchiveOutcome begun = sink.Begin(announced); !begun.ok()) return begun;
    std::string buffer(kReadBlock, '\0');
    for (;;) {
      const la_ssize_t n = la->archive_read_data(a, buffer.data(), buffer.size());
      if (n == 0) break;
      if (n < 0) {
        ArchiveOutcome failed{IsEncrypted(e) || la->archive_read_has_encrypted_entries(a) > 0 ? ArchiveError::kPassword
                                                                                           : ArchiveError::kRead,
                              ErrorText(a)};
        sink.Abandon();
        return failed;
      }
      if (ArchiveOutcome written = sink.Write(buffer.data(), static_cast<std::size_t>(n)); !written.ok()) {
        sink.Abandon();
        return written;
      }
      if (!run.ContinueAfterBlock()) {
        sink.Abandon();
        return {run.StopRequested() ? ArchiveError::kStopped : ArchiveError::kSkipped, ""};
      }
    }
    return sink.Finish();
  }
};

}  // namespace

std::unique_ptr<ArchiveReader> MakeLibarchiveReader() { return std::make_unique<LibarchiveReader>(); }

}  // namespace twinex
