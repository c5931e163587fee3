#pragma once
// One running digest (MD5, SHA-1, SHA-2) through OpenSSL's EVP interface. An object is meant to
// be reused for many files: Begin starts over without allocating.
#include <cstddef>
#include <cstdint>
#include <string>

struct evp_md_ctx_st;

namespace twinex::platform {

class Digest {
 public:
  Digest() = default;
  ~Digest();
  Digest(const Digest&) = delete;
  Digest& operator=(const Digest&) = delete;

  // Starts a digest for a content method 1..5 (see DigestName); "" or OpenSSL's message.
  [[nodiscard]] std::string Begin(int contentMethod);
  [[nodiscard]] std::string Add(const void* data, std::size_t length);
  // Writes the digest (at most `capacity` bytes) and its length; "" or OpenSSL's message.
  [[nodiscard]] std::string Finish(std::uint8_t* out, std::size_t capacity, std::size_t& length);

 private:
  evp_md_ctx_st* ctx_ = nullptr;
};

}  // namespace twinex::platform
