#pragma once
// The account that owns a file, for the owner column of the result.
#include <cstdint>
#include <string>
#include <unordered_map>

namespace twinex::platform {

// Resolves owner ids to account names, asking the account database once per id.
class OwnerNames {
 public:
  // The account name of the file's owner (a link itself, not its target); empty when the file
  // cannot be read. An id without an account shows as its number.
  std::string OwnerOf(const std::string& path);
  std::string NameOf(std::uint32_t uid);

 private:
  std::unordered_map<std::uint32_t, std::string> names_;
};

}  // namespace twinex::platform
