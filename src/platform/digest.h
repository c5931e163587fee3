#pragma once
// One running digest (MD5, SHA-1, SHA-2) through OpenSSL's one-algorithm functions. An object is
// meant to be reused for many files: Begin starts over without allocating.
#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>

namespace twinex::platform {

class Digest {
 public:
  Digest();
  ~Digest();
  Digest(const Digest&) = delete;
  Digest& operator=(const Digest&) = delete;

  // Starts a digest for a content method 1..5 (see DigestName); "" or why it cannot.
  [[nodiscard]] std::string Begin(int contentMethod);
  [[nodiscard]] std::string Add(const void* data, std::size_t length);
  // Writes the digest (at most `capacity` bytes) and its length; "" or why it failed.
  [[nodiscard]] std::string Finish(std::uint8_t* out, std::size_t capacity, std::size_t& length);
  // The whole digest in lowercase hex digits, as checksum files and cache names write it; ""
  // when it failed.
  std::string FinishHex();

 private:
  struct State;
  std::unique_ptr<State> state_;
};

}  // namespace twinex::platform
