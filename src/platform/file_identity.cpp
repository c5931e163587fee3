#include "platform/file_identity.h"

#include <sys/stat.h>

#include <climits>
#include <cstdlib>

#include "platform/file_system.h"

namespace twinex::platform {
namespace {

std::string Resolved(const std::string& path) {
  char buf[PATH_MAX];
  return ::realpath(path.c_str(), buf) ? std::string(buf) : std::string();
}

}  // namespace

EntryIdentity GetEntryIdentity(const std::string& path) {
  EntryIdentity id;
  const std::string absolute = AbsolutePath(path);
  struct stat st;
  if (::lstat(absolute.c_str(), &st) != 0) return id;
  id.exists = true;
  id.device = st.st_dev;
  id.inode = st.st_ino;
  id.links = st.st_nlink;
  id.name = FileNameOf(absolute);
  const std::string folder = ParentFolder(absolute);
  if (::stat(folder.c_str(), &st) == 0) {
    id.folderDevice = st.st_dev;
    id.folderInode = st.st_ino;
  }
  if (std::string real = Resolved(folder); !real.empty()) id.canonicalPath = JoinPath(real, id.name);
  return id;
}

bool SameEntry(const EntryIdentity& a, const EntryIdentity& b) {
  if (!a.exists || !b.exists) return false;
  if (a.folderInode != 0 && a.folderDevice == b.folderDevice && a.folderInode == b.folderInode && a.name == b.name)
    return true;
  return !a.canonicalPath.empty() && a.canonicalPath == b.canonicalPath;
}

bool SameFile(const EntryIdentity& a, const EntryIdentity& b) {
  return a.exists && b.exists && a.device == b.device && a.inode == b.inode;
}

bool IsWithinFolder(const std::string& path, const std::string& folder) {
  struct stat root;
  if (::stat(folder.c_str(), &root) != 0) return false;
  // A folder that does not exist yet will be made below its nearest existing ancestor.
  std::string existing = AbsolutePath(path);
  std::string real;
  for (;;) {
    real = Resolved(existing);
    if (!real.empty()) break;
    const std::string parent = ParentFolder(existing);
    if (parent.empty() || parent == existing) return false;
    existing = parent;
  }
  for (std::string at = real;;) {
    struct stat st;
    if (::stat(at.c_str(), &st) == 0 && st.st_dev == root.st_dev && st.st_ino == root.st_ino) return true;
    const std::string parent = ParentFolder(at);
    if (parent.empty() || parent == at) return false;
    at = parent;
  }
}

}  // namespace twinex::platform
