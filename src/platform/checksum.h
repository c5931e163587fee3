#pragma once
// Digests through OpenSSL's EVP interface (MD5, SHA-1, SHA-2).
#include <string>

namespace twinex::platform {

// The EVP digest name for a content method index 1..5 ("MD5", "SHA1", "SHA256", "SHA384",
// "SHA512"); empty for 0 (byte comparison) and out-of-range indexes.
const char* DigestName(int contentMethod);

// Makes sure the digest can be created; returns the error text ("CryptCreateHash: …") or "".
[[nodiscard]] std::string InitChecksumProvider(int contentMethod);

}  // namespace twinex::platform
