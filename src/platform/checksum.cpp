#include "platform/checksum.h"

#include "platform/digest.h"

namespace twinex::platform {

const char* DigestName(int contentMethod) {
  static const char* const kNames[] = {"", "MD5", "SHA1", "SHA256", "SHA384", "SHA512"};
  if (contentMethod < 1 || contentMethod > 5) return "";
  return kNames[contentMethod];
}

std::string InitChecksumProvider(int contentMethod) {
  if (!*DigestName(contentMethod)) return "";
  Digest digest;
  std::string error = digest.Begin(contentMethod);
  return error.empty() ? "" : "CryptCreateHash: " + error;
}

}  // namespace twinex::platform
