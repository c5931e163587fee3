#pragma once
// One owner for an open file descriptor: closed when the owner goes, handed on by moving.
#include <cstddef>

namespace twinex::platform {

class UniqueFd {
 public:
  UniqueFd() = default;
  explicit UniqueFd(int fd) noexcept : fd_(fd) {}
  ~UniqueFd() { Reset(); }
  UniqueFd(const UniqueFd&) = delete;
  UniqueFd& operator=(const UniqueFd&) = delete;
  UniqueFd(UniqueFd&& other) noexcept : fd_(other.Release()) {}
  UniqueFd& operator=(UniqueFd&& other) noexcept {
    if (this != &other) Reset(other.Release());
    return *this;
  }

  int get() const noexcept { return fd_; }
  explicit operator bool() const noexcept { return fd_ >= 0; }
  // Gives the descriptor up without closing it.
  int Release() noexcept {
    const int fd = fd_;
    fd_ = -1;
    return fd;
  }
  // Closes the descriptor held (ignoring close's result) and takes `fd`.
  void Reset(int fd = -1) noexcept;
  // Closes now and returns close's result: for a written file the last word on its data.
  [[nodiscard]] int Close() noexcept;

 private:
  int fd_ = -1;
};

// Writes every byte, going on after interrupted and short writes. false with errno set (ENOSPC
// when the device accepts nothing more).
[[nodiscard]] bool WriteAll(int fd, const void* data, std::size_t size);

}  // namespace twinex::platform
