#pragma once
// Digests made on a second thread ahead of the comparison. While the walk goes through a
// folder's files one by one, a helper thread already reads and hashes those whose size was met
// before, and the earlier file of that size they will be compared with, so their digests are
// ready when the comparison asks. Two large files that both need their digests are hashed side
// by side, one on each thread. The comparison takes a digest only at the moment it would have
// made it itself, so counters, groups and log lines are those of a search without the helper; a
// digest the helper could not make (or chose not to) is made again the ordinary way, which also
// reports the error.
#include <array>
#include <atomic>
#include <condition_variable>
#include <cstdint>
#include <deque>
#include <memory>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "platform/file_system.h"
#include "platform/run_control.h"
#include "results/file_record.h"

namespace twinex {

class Search;
class DigestAheadFolder;

// One file whose digest the helper may make.
class DigestJob {
 public:
  // Copies the digest into `out` when the helper made it, waiting while it is at work on it;
  // false when it failed or was not started (it is then left to the caller).
  bool Take(std::uint8_t* out, std::size_t length);

 private:
  friend class DigestAhead;
  friend class OfferedFolder;
  enum State : int { kPending, kWorking, kMade, kFailed, kTaken };
  std::string name;  // inside the folder, or the whole path of a file met in an earlier folder
  bool byPath = false;
  std::uint64_t size = 0;
  long record = 0;  // the stored record the file became; read and written by the walk only
  // The one file this one is expected to be compared with (each other's partner): when their
  // first or last blocks differ, neither digest will be asked for.
  DigestJob* partner = nullptr;
  std::atomic<int> state{kPending};
  std::array<std::uint8_t, kMaxDigestLength> digest{};
};

// The walk's hold on a folder it offered: each entry's job (null for none). Leaving the folder
// abandons what the helper has not begun.
class OfferedFolder {
 public:
  OfferedFolder() = default;
  explicit OfferedFolder(std::shared_ptr<DigestAheadFolder> folder) : folder_(std::move(folder)) {}
  ~OfferedFolder();
  OfferedFolder(OfferedFolder&&) = default;
  OfferedFolder& operator=(OfferedFolder&&) = default;
  DigestJob* JobFor(std::size_t entry) const;
  // The walk stored the entry as `record`: a later file of its size asks for it by record.
  void Stored(std::size_t entry, long record) const;
  // The job of a stored record offered with this folder, or null.
  DigestJob* JobForRecord(long record) const;

 private:
  friend class DigestAhead;
  std::shared_ptr<DigestAheadFolder> folder_;
};

class DigestAhead {
 public:
  // Files below this size are read in one block and offered with their folder; from it on, the
  // two files of a comparison are hashed side by side instead.
  static constexpr std::uint64_t kSizeLimit = 1024 * 1024;

  // Whether the search's options let digests be made ahead: plain checksums of whole files, with
  // nothing (a database, tag cuts) that would supply or change them otherwise.
  static bool Applies(const Search& search);

  explicit DigestAhead(const Search& search);
  ~DigestAhead();
  DigestAhead(const DigestAhead&) = delete;
  DigestAhead& operator=(const DigestAhead&) = delete;

  // Hands the helper the files of a folder (listed in walk order) that are likely to need their
  // digests: files up to 1 MiB whose size the search met before or that share it within the
  // folder, each with the earlier file of its size that has no digest yet.
  OfferedFolder Offer(int folderFd, const std::vector<platform::FileInfo>& entries);
  // The walk entered a folder offered before it got there: its files go first again.
  void Promote(const OfferedFolder& folder);
  // The walk stored a file of this size as `record`: the latest such file is the one a later file
  // of the size is compared with first.
  void NoteStored(std::uint64_t size, long record);
  // Starts the digest of a large file at once, ahead of every folder's files, for a comparison
  // that is about to make the digest of another file on its own thread.
  std::shared_ptr<DigestJob> Soon(std::string path, std::uint64_t size);

 private:
  void Work();
  // The next job to work on, claimed; null when stopping. `folder` holds its folder alive.
  DigestJob* NextJob(std::shared_ptr<DigestAheadFolder>& folder, std::shared_ptr<DigestJob>& soon);

  const Search& search_;
  const int method_;
  const std::size_t digestLength_;
  // Per size below the limit: 0 never met, kMet met, else the latest stored record of the size,
  // which had no digest yet. Zeroed by the system and backed only where sizes occur.
  static constexpr std::int32_t kMet = -1;
  struct FreeSizes {
    void operator()(std::int32_t* p) const;
  };
  std::unique_ptr<std::int32_t[], FreeSizes> sizes_;
  std::mutex mutex_;
  std::condition_variable wake_;
  // The walk's current folder last; before it, a folder offered ahead of the walk.
  std::vector<std::shared_ptr<DigestAheadFolder>> queue_;
  std::deque<std::shared_ptr<DigestJob>> soon_;
  bool stopping_ = false;
  // The helper is never paused (the walk decides what is taken), but the end of the walk ends
  // the file it is reading: a large file need not be finished for nobody.
  RunControl run_;
  std::thread worker_;
};

class DigestAheadFolder {
 public:
  explicit DigestAheadFolder(int fd, std::size_t entryCount) : fd_(fd), jobOfEntry_(entryCount, nullptr) {}
  ~DigestAheadFolder();

 private:
  friend class DigestAhead;
  friend class OfferedFolder;
  int fd_;  // the helper's own descriptor of the folder
  std::vector<std::unique_ptr<DigestJob>> jobs_;  // in the order the walk will ask for them
  std::vector<DigestJob*> jobOfEntry_;
  std::size_t next_ = 0;  // jobs the helper has claimed, from the last one backwards
  std::atomic<bool> abandoned_{false};
};

}  // namespace twinex
