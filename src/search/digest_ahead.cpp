#include "search/digest_ahead.h"

#include <fcntl.h>
#include <unistd.h>

#include <algorithm>
#include <cstring>

#include "platform/read_only_file.h"
#include "search/file_checksum.h"
#include "search/search.h"

namespace twinex {
namespace {

// Files up to this size are read in one block. Below the length from which the first and last
// blocks are compared first, a file whose size was met before is sure to need its digest; above
// it, a pair those blocks tell apart leaves the digest made ahead unused, a cheap loss at this
// size next to the files that do need it.
constexpr std::uint64_t kSizeLimit = 1024 * 1024;
// Folders waiting for the helper at once, each holding a descriptor: a deep tree does not pile
// them up.
constexpr std::size_t kMaxQueued = 8;

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

DigestAhead::Folder::~Folder() {
  if (fd_ >= 0) ::close(fd_);
}

DigestAhead::Offered::~Offered() {
  if (folder_) folder_->abandoned_ = true;
}

DigestJob* DigestAhead::Offered::JobFor(std::size_t entry) const {
  return folder_ ? folder_->jobOfEntry_[entry] : nullptr;
}

bool DigestAhead::Applies(const Search& s) {
  const SearchSettings& st = s.settings;
  return s.method == kMethodProperties && s.criteria[kCritContent] && s.contentMethod > 0 && !s.useDatabase &&
         !st.IgnoreMP3Tags && !st.IgnoreFlacMetadata && !st.IgnoreExif && std::thread::hardware_concurrency() > 1;
}

DigestAhead::DigestAhead(const Search& s)
    : method_(s.checksum.index),
      digestLength_(static_cast<std::size_t>(std::clamp(s.checksum.digestLength, 0, kMaxDigestLength))),
      sizesMet_(kSizeLimit, false),
      worker_([this] { Work(); }) {}

DigestAhead::~DigestAhead() {
  {
    std::lock_guard lock(mutex_);
    stopping_ = true;
  }
  wake_.notify_all();
  worker_.join();
}

DigestAhead::Offered DigestAhead::Offer(int folderFd, const std::vector<platform::FileInfo>& entries) {
  std::vector<std::size_t> picked;
  for (std::size_t i = 0; i < entries.size(); ++i) {
    const platform::FileInfo& e = entries[i];
    if (e.isSymlink || !e.isRegular || e.size == 0 || e.size >= kSizeLimit) continue;
    const auto size = static_cast<std::size_t>(e.size);
    if (sizesMet_[size]) {
      picked.push_back(i);
    } else {
      sizesMet_[size] = true;
    }
  }
  {
    std::lock_guard lock(mutex_);
    if (picked.empty() || queue_.size() >= kMaxQueued) return {};
  }
  const int fd = ::fcntl(folderFd, F_DUPFD_CLOEXEC, 0);
  if (fd < 0) return {};
  auto folder = std::make_shared<Folder>(fd, entries.size());
  folder->jobs_.reserve(picked.size());
  for (std::size_t i : picked) {
    auto job = std::make_unique<DigestJob>();
    job->name = entries[i].name;
    job->size = entries[i].size;
    folder->jobOfEntry_[i] = job.get();
    folder->jobs_.push_back(std::move(job));
  }
  {
    std::lock_guard lock(mutex_);
    queue_.push_back(folder);
  }
  wake_.notify_one();
  return Offered(std::move(folder));
}

void DigestAhead::Work() {
  ChecksumWorkspace workspace;
  RunControl run;  // the helper is never paused: the walk decides what is taken
  ChecksumDescriptor descriptor;
  descriptor.index = method_;
  descriptor.digestLength = static_cast<int>(digestLength_);
  const FileRecord wholeFile;  // no cuts
  std::string error;
  for (;;) {
    std::shared_ptr<Folder> folder;
    DigestJob* job = nullptr;
    {
      std::unique_lock lock(mutex_);
      wake_.wait(lock, [&] {
        while (!queue_.empty()) {
          Folder& f = *queue_.back();
          if (!f.abandoned_ && f.next_ < f.jobs_.size()) return true;
          queue_.pop_back();
        }
        return stopping_;
      });
      if (queue_.empty()) return;  // stopping
      folder = queue_.back();
      // From the folder's last file backwards: the walk, which takes over every job the helper
      // has not begun, works from the front, so the two meet once instead of the walk waiting
      // at every file for the one the helper is just reading.
      job = folder->jobs_[folder->jobs_.size() - 1 - folder->next_++].get();
    }
    int expected = DigestJob::kPending;
    if (!job->state.compare_exchange_strong(expected, DigestJob::kWorking)) continue;  // the walk got there first
    platform::ReadOnlyFile file;
    bool made = file.OpenInFolder(folder->fd_, job->name, job->size).empty() &&
                CreateHashFromFile(file, wholeFile, job->digest.data(), descriptor, kSizeLimit, workspace, error, run) ==
                    HashOutcome::Created;
    job->state.store(made ? DigestJob::kMade : DigestJob::kFailed);
    job->state.notify_all();
  }
}

}  // namespace twinex
