#include "platform/checksum.h"

#include <openssl/err.h>
#include <openssl/evp.h>

namespace twinex::platform {
namespace {

std::string OpenSslError() {
  unsigned long code = ERR_get_error();
  if (code == 0) return "unknown error";
  char buf[256];
  ERR_error_string_n(code, buf, sizeof buf);
  return buf;
}

}  // namespace

const char* DigestName(int contentMethod) {
  static const char* const kNames[] = {"", "MD5", "SHA1", "SHA256", "SHA384", "SHA512"};
  if (contentMethod < 1 || contentMethod > 5) return "";
  return kNames[contentMethod];
}

std::string InitChecksumProvider(int contentMethod) {
  const char* name = DigestName(contentMethod);
  if (!*name) return "";
  EVP_MD* md = EVP_MD_fetch(nullptr, name, nullptr);
  if (!md) return std::string("CryptCreateHash: ") + OpenSslError();
  EVP_MD_CTX* ctx = EVP_MD_CTX_new();
  bool ok = ctx && EVP_DigestInit_ex(ctx, md, nullptr) == 1;
  std::string err = ok ? "" : std::string("CryptCreateHash: ") + OpenSslError();
  EVP_MD_CTX_free(ctx);
  EVP_MD_free(md);
  return err;
}

}  // namespace twinex::platform
