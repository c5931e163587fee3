#pragma once
// The digests of the content methods (MD5, SHA-1, SHA-2) by name.
#include <string>

namespace twinex::platform {

// The digest name for a content method index 1..5 ("MD5", "SHA1", "SHA256", "SHA384",
// "SHA512"); empty for 0 (byte comparison) and out-of-range indexes.
const char* DigestName(int contentMethod);

// Makes sure the digest can be created; returns the error text ("CryptCreateHash: …") or "".
[[nodiscard]] std::string InitChecksumProvider(int contentMethod);

}  // namespace twinex::platform
