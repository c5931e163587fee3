#include "search/digest_ahead.h"

#include <fcntl.h>
#include <unistd.h>

#include <algorithm>
#include <cstdlib>
#include <unordered_map>
#include <cstring>

#include "platform/read_only_file.h"
#include "search/content_sample.h"
#include "search/file_checksum.h"
#include "search/search.h"

namespace twinex {
namespace {

// Folders waiting for the helper at once, each holding a descriptor: a deep tree does not pile
// them up.
constexpr std::size_t kMaxQueued = 8;
// Most jobs are small files, read in one block; a large file is read in pieces so that the
// helper's buffer stays small.
constexpr std::uint64_t kReadBlock = 128 * 1024;
// What the comparison looks at first at either end of a file long enough for a look.
constexpr std::size_t kEndBlock = 4096;

std::string OpenJob(const DigestAheadFolder* folder, int folderFd, const std::string& name, bool byPath,
                    std::uint64_t size, platform::ReadOnlyFile& file) {
  if (byPath || !folder) return file.Open(name);
  return file.OpenInFolder(folderFd, name, size);
}

// True only when both files could be read and their first or last blocks differ: then the
// comparison of the pair settles without digests.
bool EndsDiffer(const platform::ReadOnlyFile& a, const platform::ReadOnlyFile& b, std::uint64_t size,
                std::vector<char>& buffer) {
  if (a.Size() != size || b.Size() != size) return false;
  buffer.resize(2 * kEndBlock);
  char* x = buffer.data();
  char* y = x + kEndBlock;
  for (std::uint64_t at : {std::uint64_t{0}, size - kEndBlock}) {
    if (!a.ReadAt(at, x, kEndBlock).empty() || !b.ReadAt(at, y, kEndBlock).empty()) return false;
    if (std::memcmp(x, y, kEndBlock) != 0) return true;
  }
  return false;
}

}  // namespace

bool DigestJob::Take(std::uint8_t* out, std::size_t length) {
  int s = state.load();
  if (s == kPending && state.compare_exchange_strong(s, kTaken)) return false;
  while (s == kWorking) {
    state.wait(kWorking);
    s = state.load();
  }
  if (s != kMade) return false;
  std::memcpy(out, digest.data(), std::min(length, digest.size()));
  state.store(kTaken);
  return true;
}

DigestAheadFolder::~DigestAheadFolder() {
  if (fd_ >= 0) ::close(fd_);
}

OfferedFolder::~OfferedFolder() {
  if (folder_) folder_->abandoned_ = true;
}

DigestJob* OfferedFolder::JobFor(std::size_t entry) const {
  return folder_ ? folder_->jobOfEntry_[entry] : nullptr;
}

void OfferedFolder::Stored(std::size_t entry, long record) const {
  if (DigestJob* job = JobFor(entry)) job->record = record;
}

DigestJob* OfferedFolder::JobForRecord(long record) const {
  if (!folder_) return nullptr;
  for (const auto& job : folder_->jobs_)
    if (job->record == record) return job.get();
  return nullptr;
}

bool DigestAhead::Applies(const Search& s) {
  const SearchSettings& st = s.settings;
  return s.method == kMethodProperties && s.criteria[kCritContent] && s.contentMethod > 0 && !s.useDatabase &&
         !st.IgnoreMP3Tags && !st.IgnoreFlacMetadata && !st.IgnoreExif && std::thread::hardware_concurrency() > 1;
}

DigestAhead::DigestAhead(const Search& s)
    : search_(s),
      method_(s.checksum.index),
      digestLength_(static_cast<std::size_t>(std::clamp(s.checksum.digestLength, 0, kMaxDigestLength))),
      sizes_(static_cast<std::int32_t*>(std::calloc(kSizeLimit, sizeof(std::int32_t)))),
      worker_([this] { Work(); }) {}

void DigestAhead::FreeSizes::operator()(std::int32_t* p) const { std::free(p); }

DigestAhead::~DigestAhead() {
  {
    std::lock_guard lock(mutex_);
    stopping_ = true;
  }
  run_.RequestStop();
  wake_.notify_all();
  worker_.join();
}

void DigestAhead::NoteStored(std::uint64_t size, long record) {
  if (sizes_ && size > 0 && size < kSizeLimit) sizes_[size] = static_cast<std::int32_t>(record);
}

OfferedFolder DigestAhead::Offer(int folderFd, const std::vector<platform::FileInfo>& entries) {
  // Below the length from which the first and last blocks are compared first, a file whose size
  // was met before is sure to need its digest, and so is the earlier file of that size when it
  // has none; above it, the helper looks at those blocks itself before it reads the pair whole.
  struct Pick {
    std::size_t entry;
    long earlierRecord = 0;           // the earlier file was met in an earlier folder
    std::ptrdiff_t earlierEntry = -1;  // ... or in this one
  };
  if (!sizes_) return {};  // no room for the sizes: the walk makes every digest itself
  std::vector<Pick> picks;
  std::vector<std::int32_t> laterFiles(entries.size(), 0);  // files of this folder paired with the entry
  std::unordered_map<std::uint64_t, std::size_t> firstHere;  // sizes first met in this folder
  for (std::size_t i = 0; i < entries.size(); ++i) {
    const platform::FileInfo& e = entries[i];
    if (e.isSymlink || !e.isRegular || e.size == 0 || e.size >= kSizeLimit) continue;
    const auto size = static_cast<std::size_t>(e.size);
    std::int32_t& met = sizes_[size];
    if (met == 0) {
      met = kMet;
      firstHere.emplace(size, i);
      continue;
    }
    Pick p{i};
    if (auto here = firstHere.find(size); here != firstHere.end()) {
      p.earlierEntry = static_cast<std::ptrdiff_t>(here->second);
      ++laterFiles[here->second];
    } else if (met != kMet) {
      const FileRecord& r = search_.files.Record(met);
      if (!r.HashCreated && r.SIZE == size && r.ArchiveType == 0) p.earlierRecord = met;
      met = kMet;  // offered once: after this file's comparison it has its digest
    }
    picks.push_back(p);
  }
  {
    std::lock_guard lock(mutex_);
    std::erase_if(queue_, [](const auto& f) { return f->abandoned_.load(); });
    if (picks.empty() || queue_.size() >= kMaxQueued) return {};
  }
  const int fd = ::fcntl(folderFd, F_DUPFD_CLOEXEC, 0);
  if (fd < 0) return {};
  auto folder = std::make_shared<DigestAheadFolder>(fd, entries.size());
  auto add = [&](std::string name, bool byPath, std::uint64_t size) {
    auto job = std::make_unique<DigestJob>();
    job->name = std::move(name);
    job->byPath = byPath;
    job->size = size;
    folder->jobs_.push_back(std::move(job));
    return folder->jobs_.back().get();
  };
  auto pair = [](DigestJob* later, DigestJob* earlier, bool mutual) {
    later->partner = earlier;
    if (mutual) earlier->partner = later;
  };
  // Jobs in the order the walk asks for them: an earlier folder's file right before the file
  // it is compared with.
  std::size_t nextPick = 0;
  for (std::size_t i = 0; i < entries.size(); ++i) {
    const bool picked = nextPick < picks.size() && picks[nextPick].entry == i;
    if (!picked && laterFiles[i] == 0) continue;
    DigestJob* earlier = nullptr;
    if (picked && picks[nextPick].earlierRecord != 0) {
      const long record = picks[nextPick].earlierRecord;
      earlier = add(search_.files.GetPathWithFileName(record), true, entries[i].size);
      earlier->record = record;
    }
    DigestJob* job = add(entries[i].name, false, entries[i].size);
    folder->jobOfEntry_[i] = job;
    if (picked) {
      const Pick& p = picks[nextPick++];
      if (earlier) {
        pair(job, earlier, true);
      } else if (p.earlierEntry >= 0) {
        const auto e = static_cast<std::size_t>(p.earlierEntry);
        pair(job, folder->jobOfEntry_[e], laterFiles[e] == 1);
      }
    }
  }
  {
    std::lock_guard lock(mutex_);
    queue_.push_back(folder);
  }
  wake_.notify_one();
  return OfferedFolder(std::move(folder));
}

void DigestAhead::Promote(const OfferedFolder& offered) {
  if (!offered.folder_) return;
  {
    std::lock_guard lock(mutex_);
    auto it = std::find(queue_.begin(), queue_.end(), offered.folder_);
    if (it == queue_.end()) return;  // the helper has claimed all its jobs
    std::rotate(it, it + 1, queue_.end());
  }
  wake_.notify_one();
}

std::shared_ptr<DigestJob> DigestAhead::Soon(std::string path, std::uint64_t size) {
  auto job = std::make_shared<DigestJob>();
  job->name = std::move(path);
  job->byPath = true;
  job->size = size;
  {
    std::lock_guard lock(mutex_);
    soon_.push_back(job);
  }
  wake_.notify_one();
  return job;
}

DigestJob* DigestAhead::NextJob(std::shared_ptr<DigestAheadFolder>& folder, std::shared_ptr<DigestJob>& soon) {
  std::unique_lock lock(mutex_);
  for (;;) {
    wake_.wait(lock, [&] {
      if (stopping_ || !soon_.empty()) return true;
      while (!queue_.empty()) {
        const DigestAheadFolder& f = *queue_.back();
        if (!f.abandoned_ && f.next_ < f.jobs_.size()) return true;
        queue_.pop_back();
      }
      return false;
    });
    if (stopping_) return nullptr;
    DigestJob* job = nullptr;
    if (!soon_.empty()) {
      soon = std::move(soon_.front());
      soon_.pop_front();
      folder.reset();
      job = soon.get();
    } else {
      folder = queue_.back();
      // From the folder's last file backwards: the walk, which takes over every job the helper
      // has not begun, works from the front, so the two meet once instead of the walk waiting
      // at every file for the one the helper is just reading.
      job = folder->jobs_[folder->jobs_.size() - 1 - folder->next_++].get();
    }
    int expected = DigestJob::kPending;
    if (job->state.compare_exchange_strong(expected, DigestJob::kWorking)) return job;  // else the walk got there first
  }
}

void DigestAhead::Work() {
  ChecksumWorkspace workspace;
  ChecksumDescriptor descriptor;
  descriptor.index = method_;
  descriptor.digestLength = static_cast<int>(digestLength_);
  const RecordExtras wholeFile;  // no cuts
  std::string error;
  std::vector<char> ends;
  auto finish = [](DigestJob& job, int state) {
    job.state.store(state);
    job.state.notify_all();
  };
  for (;;) {
    std::shared_ptr<DigestAheadFolder> folder;
    std::shared_ptr<DigestJob> soon;
    DigestJob* job = NextJob(folder, soon);
    if (!job) return;
    const int folderFd = folder ? folder->fd_ : -1;
    platform::ReadOnlyFile file;
    if (!OpenJob(folder.get(), folderFd, job->name, job->byPath, job->size, file).empty()) {
      finish(*job, DigestJob::kFailed);
      continue;
    }
    if (DigestJob* other = job->partner; other && ContentSamples::Worthwhile(job->size)) {
      platform::ReadOnlyFile otherFile;
      if (OpenJob(folder.get(), folderFd, other->name, other->byPath, other->size, otherFile).empty() &&
          EndsDiffer(file, otherFile, job->size, ends)) {
        // Neither digest will be asked for; should one be after all, the walk makes it.
        finish(*job, DigestJob::kFailed);
        int pending = DigestJob::kPending;
        if (other->partner == job && other->state.compare_exchange_strong(pending, DigestJob::kFailed))
          other->state.notify_all();
        continue;
      }
    }
    const bool made = CreateHashFromFile(file, wholeFile, job->digest.data(), descriptor, kReadBlock, workspace, error,
                                         run_) == HashOutcome::Created;
    finish(*job, made ? DigestJob::kMade : DigestJob::kFailed);
  }
}

}  // namespace twinex
