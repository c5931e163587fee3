#include "platform/digest.h"

#include <openssl/err.h>
#include <openssl/crypto.h>
#include <openssl/evp.h>

#include <array>
#include <mutex>

#include "platform/checksum.h"

namespace twinex::platform {
namespace {

std::string OpenSslError() {
  unsigned long code = ERR_get_error();
  ERR_clear_error();
  if (code == 0) return "unknown error";
  char buf[256];
  ERR_error_string_n(code, buf, sizeof buf);
  return buf;
}

// Fetching an algorithm is costly next to hashing a small file, so each is fetched once, and
// only when a search uses it: every fetched algorithm brings its tables into memory.
const EVP_MD* DigestFor(int contentMethod) {
  if (contentMethod < 1 || contentMethod > 5) return nullptr;
  static std::once_flag initialised;
  static std::array<std::once_flag, 6> fetched;
  static std::array<EVP_MD*, 6> digests{};
  // The library's configuration file names nothing a digest needs; not reading it keeps the
  // start of a search (and its memory) small.
  std::call_once(initialised, [] { OPENSSL_init_crypto(OPENSSL_INIT_NO_LOAD_CONFIG, nullptr); });
  const auto i = static_cast<std::size_t>(contentMethod);
  std::call_once(fetched[i], [i] { digests[i] = EVP_MD_fetch(nullptr, DigestName(static_cast<int>(i)), nullptr); });
  return digests[i];
}

}  // namespace

Digest::~Digest() { EVP_MD_CTX_free(ctx_); }

std::string Digest::Begin(int contentMethod) {
  const EVP_MD* md = DigestFor(contentMethod);
  if (!md) return "unsupported digest algorithm";
  if (!ctx_ && !(ctx_ = EVP_MD_CTX_new())) return OpenSslError();
  if (EVP_DigestInit_ex2(ctx_, md, nullptr) != 1) return OpenSslError();
  return "";
}

std::string Digest::Add(const void* data, std::size_t length) {
  if (!ctx_ || EVP_DigestUpdate(ctx_, data, length) != 1) return OpenSslError();
  return "";
}

std::string Digest::Finish(std::uint8_t* out, std::size_t capacity, std::size_t& length) {
  length = 0;
  if (!ctx_) return "digest not started";
  std::array<unsigned char, EVP_MAX_MD_SIZE> full{};
  unsigned int n = 0;
  if (EVP_DigestFinal_ex(ctx_, full.data(), &n) != 1) return OpenSslError();
  length = n < capacity ? n : capacity;
  for (std::size_t i = 0; i < length; ++i) out[i] = full[i];
  return "";
}

}  // namespace twinex::platform
