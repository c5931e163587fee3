#include "platform/ini_file.h"

#include <sys/stat.h>
#include <time.h>

#include <cerrno>
#include <cstdint>
#include <cstring>
#include <mutex>

#include "platform/file_system.h"
#include "platform/ini_document.h"
#include "platform/text.h"
#include "platform/text_file.h"

namespace twinex::platform {
namespace {

constexpr std::size_t kMaxCachedFiles = 16;
// Coarse file-system clocks (jiffies, FAT's two seconds) let a same-size rewrite keep the
// modification time; a file changed this shortly before it was read is checked by content.
constexpr std::int64_t kRacyWindowNs = 2'000'000'000;

struct FileStamp {
  bool exists = false;
  std::uint64_t size = 0;
  std::int64_t mtimeNs = 0;
  std::uint64_t inode = 0;
  std::uint64_t device = 0;
  bool operator==(const FileStamp&) const = default;
};

struct CacheEntry {
  IniDocument doc;
  std::string raw;  // the bytes the document was parsed from
  FileStamp stamp;
  std::int64_t readAtNs = 0;
  int batchDepth = 0;
  bool dirty = false;  // changed inside a batch, not yet written
  std::uint64_t lastUse = 0;
};

std::mutex gMutex;
std::map<std::string, CacheEntry> gCache;
std::uint64_t gUseClock = 0;

std::int64_t NowNs() {
  struct timespec ts;
  clock_gettime(CLOCK_REALTIME, &ts);
  return static_cast<std::int64_t>(ts.tv_sec) * 1'000'000'000 + ts.tv_nsec;
}

// False (with the error) when the file exists but cannot be examined.
bool StampOf(const std::string& path, FileStamp& stamp, std::string* error) {
  stamp = FileStamp{};
  struct stat st;
  if (::stat(path.c_str(), &st) != 0) {
    if (errno == ENOENT || errno == ENOTDIR) return true;
    if (error) *error = std::string("stat: ") + std::strerror(errno);
    return false;
  }
  stamp.exists = true;
  stamp.size = static_cast<std::uint64_t>(st.st_size);
  stamp.mtimeNs = static_cast<std::int64_t>(st.st_mtim.tv_sec) * 1'000'000'000 + st.st_mtim.tv_nsec;
  stamp.inode = st.st_ino;
  stamp.device = st.st_dev;
  return true;
}

void EvictIdle(const std::string& keep) {
  while (gCache.size() > kMaxCachedFiles) {
    auto oldest = gCache.end();
    for (auto it = gCache.begin(); it != gCache.end(); ++it) {
      if (it->second.batchDepth > 0 || it->second.dirty || it->first == keep) continue;
      if (oldest == gCache.end() || it->second.lastUse < oldest->second.lastUse) oldest = it;
    }
    if (oldest == gCache.end()) return;
    gCache.erase(oldest);
  }
}

// The parsed file, current with the disk unless a batch holds it. A missing file is an empty
// document; null (with the error) when the file exists but cannot be read, so that a write
// never replaces a file it could not read.
CacheEntry* Load(const std::string& path, std::string* error) {
  auto it = gCache.find(path);
  if (it != gCache.end() && it->second.batchDepth > 0) {
    it->second.lastUse = ++gUseClock;
    return &it->second;
  }
  FileStamp stamp;
  if (!StampOf(path, stamp, error)) return nullptr;
  const std::int64_t now = NowNs();
  if (it != gCache.end() && it->second.stamp == stamp &&
      (!stamp.exists || stamp.mtimeNs + kRacyWindowNs <= it->second.readAtNs)) {
    it->second.lastUse = ++gUseClock;
    return &it->second;
  }
  std::string bytes;
  if (stamp.exists && !ReadWholeFile(path, bytes, error)) return nullptr;
  if (it == gCache.end()) {
    it = gCache.emplace(path, CacheEntry{}).first;
    it->second.doc = IniDocument::Parse(DecodeTextFile(bytes));
  } else if (bytes != it->second.raw) {
    it->second.doc = IniDocument::Parse(DecodeTextFile(bytes));
  }
  CacheEntry& e = it->second;
  e.raw = std::move(bytes);
  e.stamp = stamp;
  e.readAtNs = now;
  e.lastUse = ++gUseClock;
  EvictIdle(path);
  return &e;
}

// Writes the document; on failure the cached copy is dropped so that reads show the disk.
std::string Flush(const std::string& path, CacheEntry& e) {
  std::string bytes = EncodeUtf16LE(e.doc.Serialize(), true);
  std::string error = WriteFileAtomic(path, bytes);
  if (!error.empty()) {
    gCache.erase(path);
    return error;
  }
  e.dirty = false;
  e.raw = std::move(bytes);
  e.readAtNs = NowNs();
  if (!StampOf(path, e.stamp, nullptr)) e.stamp = FileStamp{};
  return "";
}

// Writes now, or marks the change for the end of the batch that holds the file.
std::string Store(const std::string& path, CacheEntry& e) {
  if (e.batchDepth > 0) {
    e.dirty = true;
    return "";
  }
  return Flush(path, e);
}

std::string CacheKey(const std::string& file) { return AbsolutePath(file); }

// A name that would read back as something else, or split the file, is refused.
std::string NameProblem(std::string_view section, std::string_view key) {
  if (Trim(section).empty() || section.find_first_of("]\r\n") != std::string_view::npos)
    return "IniWrite: invalid section name";
  std::string k = Trim(key);
  if (k.empty() || k[0] == '[' || k[0] == ';' || k.find_first_of("=\r\n") != std::string::npos)
    return "IniWrite: invalid key name";
  return "";
}

// A line break inside a value would end the line early and turn the rest into other lines.
std::string OneLineValue(std::string_view value) {
  std::string v(value);
  for (char& c : v)
    if (c == '\r' || c == '\n') c = ' ';
  return v;
}

}  // namespace

std::string IniRead(const std::string& file, std::string_view section, std::string_view key, std::string_view def) {
  std::lock_guard lock(gMutex);
  CacheEntry* e = Load(CacheKey(file), nullptr);
  if (!e) return std::string(def);
  std::optional<std::string> v = e->doc.Get(section, key);
  return v ? *v : std::string(def);
}

std::string IniWrite(const std::string& file, std::string_view section, std::string_view key, std::string_view value) {
  if (std::string problem = NameProblem(section, key); !problem.empty()) return problem;
  std::lock_guard lock(gMutex);
  const std::string path = CacheKey(file);
  std::string error;
  CacheEntry* e = Load(path, &error);
  if (!e) return error;
  if (!e->doc.Set(section, key, OneLineValue(value))) return "";
  return Store(path, *e);
}

std::string IniDeleteSection(const std::string& file, std::string_view section) {
  std::lock_guard lock(gMutex);
  const std::string path = CacheKey(file);
  std::string error;
  CacheEntry* e = Load(path, &error);
  if (!e) return error;
  if (!e->doc.RemoveSection(section)) return "";
  return Store(path, *e);
}

std::vector<std::string> IniSectionKeys(const std::string& file, std::string_view section) {
  std::lock_guard lock(gMutex);
  CacheEntry* e = Load(CacheKey(file), nullptr);
  return e ? e->doc.Keys(section) : std::vector<std::string>{};
}

IniBatch::IniBatch(const std::string& file) : file_(CacheKey(file)) {
  std::lock_guard lock(gMutex);
  // A file that cannot be read gets no batch: its reads and writes report as they would alone.
  if (CacheEntry* e = Load(file_, nullptr)) {
    ++e->batchDepth;
    active_ = true;
  }
}

IniBatch::~IniBatch() {
  // Without writeNow nothing is written here, so there is no error to lose.
  (void)End(false);
}

std::string IniBatch::Commit() { return End(true); }

std::string IniBatch::End(bool writeNow) {
  std::lock_guard lock(gMutex);
  if (committed_ || !active_) return "";
  committed_ = true;
  auto it = gCache.find(file_);
  if (it == gCache.end()) return "";
  CacheEntry& e = it->second;
  --e.batchDepth;
  // An inner batch that simply ends leaves the writing to the outermost one.
  if (!e.dirty || (!writeNow && e.batchDepth > 0)) return "";
  return Flush(file_, e);
}

}  // namespace twinex::platform
