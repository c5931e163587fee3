#pragma once
// Lock files held with flock, standing in for named mutexes and guarding work that two processes
// must not interleave. The file stays when the lock is released: deleting it would let a second
// process lock a fresh file while a third still holds the old one.
#include <functional>
#include <string>

namespace twinex::platform {

enum class LockMode { Shared, Exclusive };

class LockFile {
 public:
  LockFile() = default;
  ~LockFile();
  LockFile(const LockFile&) = delete;
  LockFile& operator=(const LockFile&) = delete;
  LockFile(LockFile&& other) noexcept;
  LockFile& operator=(LockFile&& other) noexcept;

  // Takes the lock without waiting (creating the file when missing); false when another
  // process holds it in a conflicting mode, or the file cannot be opened.
  [[nodiscard]] bool TryLock(const std::string& path, LockMode mode = LockMode::Exclusive);
  // Takes the lock, trying again every few milliseconds while keepWaiting says so. The error
  // text, "" once held; "lock: given up" when keepWaiting ended the wait.
  [[nodiscard]] std::string Lock(const std::string& path, LockMode mode, const std::function<bool()>& keepWaiting);
  void Unlock();
  bool Locked() const { return fd_ >= 0; }

  // Whether some process holds the lock: with anyHolder a shared holder counts too, otherwise
  // only an exclusive one. Probes without keeping anything; a missing file is never held.
  [[nodiscard]] static bool IsHeldElsewhere(const std::string& path, bool anyHolder = false);

 private:
  int fd_ = -1;
};

}  // namespace twinex::platform
