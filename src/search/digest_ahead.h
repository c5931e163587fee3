#pragma once
// Digests of files up to 1 MiB made on a second thread ahead of the walk. While the walk goes
// through a folder's files one by one, a helper thread already reads and hashes those of its
// files whose size was met before, so their digests are ready when the comparison asks. The comparison takes
// a digest only at the moment it would have made it itself, so counters, groups and log lines
// are those of a search without the helper; a digest the helper could not make is made again
// the ordinary way, which also reports the error.
#include <array>
#include <atomic>
#include <condition_variable>
#include <cstdint>
#include <memory>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "platform/file_system.h"
#include "results/file_record.h"

namespace twinex {

class Search;

// One file of a folder whose digest the helper may make.
class DigestJob {
 public:
  // Copies the digest into `out` when the helper made it, waiting while it is at work on it;
  // false when it failed or was not started (it is then left to the caller).
  bool Take(std::uint8_t* out, std::size_t length);

 private:
  friend class DigestAhead;
  enum State : int { kPending, kWorking, kMade, kFailed, kTaken };
  std::string name;
  std::uint64_t size = 0;
  std::atomic<int> state{kPending};
  std::array<std::uint8_t, kMaxDigestLength> digest{};
};

class DigestAhead {
 public:
  // Whether the search's options let digests be made ahead: plain checksums of whole files, with
  // nothing (a database, tag cuts) that would supply or change them otherwise.
  static bool Applies(const Search& search);

  explicit DigestAhead(const Search& search);
  ~DigestAhead();
  DigestAhead(const DigestAhead&) = delete;
  DigestAhead& operator=(const DigestAhead&) = delete;

  class Folder;
  // The walk's hold on a folder it offered: each entry's job (null for none). Leaving the folder
  // abandons what the helper has not begun.
  class Offered {
   public:
    Offered() = default;
    explicit Offered(std::shared_ptr<Folder> folder) : folder_(std::move(folder)) {}
    ~Offered();
    Offered(Offered&&) = default;
    Offered& operator=(Offered&&) = default;
    DigestJob* JobFor(std::size_t entry) const;

   private:
    std::shared_ptr<Folder> folder_;
  };
  // Hands the helper the files of a folder (listed in walk order) that are likely to need their
  // digests: files up to 1 MiB whose size the search met before or that share it within the folder.
  Offered Offer(int folderFd, const std::vector<platform::FileInfo>& entries);

 private:
  void Work();

  const int method_;
  const std::size_t digestLength_;
  std::vector<bool> sizesMet_;  // below the limit for digests made ahead
  std::mutex mutex_;
  std::condition_variable wake_;
  std::vector<std::shared_ptr<Folder>> queue_;  // the newest folder is the walk's current one
  bool stopping_ = false;
  std::thread worker_;
};

class DigestAhead::Folder {
 public:
  explicit Folder(int fd, std::size_t entryCount) : fd_(fd), jobOfEntry_(entryCount, nullptr) {}
  ~Folder();

 private:
  friend class DigestAhead;
  int fd_;  // the helper's own descriptor of the folder
  std::vector<std::unique_ptr<DigestJob>> jobs_;
  std::vector<DigestJob*> jobOfEntry_;
  std::size_t next_ = 0;  // jobs the helper has claimed, from the last one backwards
  std::atomic<bool> abandoned_{false};
};

}  // namespace twinex
