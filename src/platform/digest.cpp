#include "platform/digest.h"

// The one-algorithm functions are marked deprecated in favour of the provider interface, but
// they are the same code without the provider machinery, whose set-up alone (the algorithm
// store, names and properties) costs a search some 1.4 MB of memory and a slower start.
#define OPENSSL_SUPPRESS_DEPRECATED
#include <openssl/md5.h>
#include <openssl/sha.h>

#include <array>
#include <cstring>

#include "platform/checksum.h"

namespace twinex::platform {
namespace {

// One algorithm's three steps over its context, in the order of the content methods 1..5.
struct Algorithm {
  int (*init)(void* ctx);
  int (*update)(void* ctx, const void* data, std::size_t length);
  int (*final)(unsigned char* out, void* ctx);
  std::size_t length;
};

template <class Ctx, int (*Init)(Ctx*), int (*Update)(Ctx*, const void*, std::size_t),
          int (*Final)(unsigned char*, Ctx*), std::size_t Length>
constexpr Algorithm Make() {
  return {[](void* c) { return Init(static_cast<Ctx*>(c)); },
          [](void* c, const void* d, std::size_t n) { return Update(static_cast<Ctx*>(c), d, n); },
          [](unsigned char* out, void* c) { return Final(out, static_cast<Ctx*>(c)); }, Length};
}

constexpr std::array<Algorithm, 5> kAlgorithms = {
    Make<MD5_CTX, MD5_Init, MD5_Update, MD5_Final, MD5_DIGEST_LENGTH>(),
    Make<SHA_CTX, SHA1_Init, SHA1_Update, SHA1_Final, SHA_DIGEST_LENGTH>(),
    Make<SHA256_CTX, SHA256_Init, SHA256_Update, SHA256_Final, SHA256_DIGEST_LENGTH>(),
    Make<SHA512_CTX, SHA384_Init, SHA384_Update, SHA384_Final, SHA384_DIGEST_LENGTH>(),
    Make<SHA512_CTX, SHA512_Init, SHA512_Update, SHA512_Final, SHA512_DIGEST_LENGTH>(),
};

}  // namespace

struct Digest::State {
  // Room for the largest context; every algorithm's context is plain data.
  union {
    MD5_CTX md5;
    SHA_CTX sha1;
    SHA256_CTX sha256;
    SHA512_CTX sha512;
  } ctx;
  const Algorithm* algorithm = nullptr;
};

Digest::Digest() : state_(std::make_unique<State>()) {}
Digest::~Digest() = default;

std::string Digest::Begin(int contentMethod) {
  if (contentMethod < 1 || contentMethod > static_cast<int>(kAlgorithms.size())) return "unsupported digest algorithm";
  state_->algorithm = &kAlgorithms[static_cast<std::size_t>(contentMethod - 1)];
  if (state_->algorithm->init(&state_->ctx) != 1) {
    state_->algorithm = nullptr;
    return std::string("cannot start ") + DigestName(contentMethod);
  }
  return "";
}

std::string Digest::Add(const void* data, std::size_t length) {
  if (!state_->algorithm) return "digest not started";
  if (state_->algorithm->update(&state_->ctx, data, length) != 1) return "digest update failed";
  return "";
}

std::string Digest::Finish(std::uint8_t* out, std::size_t capacity, std::size_t& length) {
  length = 0;
  if (!state_->algorithm) return "digest not started";
  std::array<unsigned char, SHA512_DIGEST_LENGTH> full{};
  const Algorithm& a = *state_->algorithm;
  state_->algorithm = nullptr;
  if (a.final(full.data(), &state_->ctx) != 1) return "digest finish failed";
  length = a.length < capacity ? a.length : capacity;
  std::memcpy(out, full.data(), length);
  return "";
}

std::string Digest::FinishHex() {
  std::uint8_t bytes[SHA512_DIGEST_LENGTH];
  std::size_t length = 0;
  if (!Finish(bytes, sizeof bytes, length).empty()) return "";
  static constexpr char kDigits[] = "0123456789abcdef";
  std::string hex;
  for (std::size_t i = 0; i < length; ++i) {
    hex += kDigits[bytes[i] >> 4];
    hex += kDigits[bytes[i] & 15];
  }
  return hex;
}

}  // namespace twinex::platform
