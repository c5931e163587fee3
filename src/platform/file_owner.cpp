#include "platform/file_owner.h"

#include <fcntl.h>
#include <pwd.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <vector>

#include "platform/folder_handle.h"

namespace twinex::platform {

std::string OwnerNames::OwnerOf(const std::string& path) {
  const int fd = OpenLongPath(path, O_PATH | O_NOFOLLOW | O_CLOEXEC);
  if (fd < 0) return {};
  struct stat st;
  const bool ok = ::fstat(fd, &st) == 0;
  ::close(fd);
  return ok ? NameOf(static_cast<std::uint32_t>(st.st_uid)) : std::string();
}

std::string OwnerNames::NameOf(std::uint32_t uid) {
  if (auto it = names_.find(uid); it != names_.end()) return it->second;
  std::vector<char> buffer(1024);
  struct passwd entry;
  struct passwd* found = nullptr;
  int rc = 0;
  while ((rc = getpwuid_r(uid, &entry, buffer.data(), buffer.size(), &found)) == ERANGE && buffer.size() < (1u << 20))
    buffer.resize(buffer.size() * 2);
  std::string name = rc == 0 && found ? std::string(found->pw_name) : std::to_string(uid);
  names_.emplace(uid, name);
  return name;
}

}  // namespace twinex::platform
