#include "support/temp_dir.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <sys/time.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <stdexcept>

namespace fs = std::filesystem;

namespace twinex::test {

TempDir::TempDir() {
  std::string tmpl = (fs::temp_directory_path() / "twinex-test-XXXXXX").string();
  if (!mkdtemp(tmpl.data())) throw std::runtime_error("mkdtemp failed");
  path_ = tmpl;
}

TempDir::~TempDir() {
  std::error_code ec;
  // Make read-only leftovers removable before deleting the tree.
  for (auto it = fs::recursive_directory_iterator(path_, fs::directory_options::skip_permission_denied, ec);
       !ec && it != fs::recursive_directory_iterator(); it.increment(ec)) {
    if (it->is_directory(ec) && !it->is_symlink(ec)) chmod(it->path().c_str(), 0700);
  }
  chmod(path_.c_str(), 0700);
  fs::remove_all(path_, ec);
}

std::string TempDir::MakeDir(const std::string& rel) const {
  std::string p = *this / rel;
  fs::create_directories(p);
  return p;
}

std::string TempDir::Write(const std::string& rel, const std::string& content) const {
  std::string p = *this / rel;
  fs::create_directories(fs::path(p).parent_path());
  std::ofstream out(p, std::ios::binary | std::ios::trunc);
  out.write(content.data(), static_cast<std::streamsize>(content.size()));
  if (!out) throw std::runtime_error("cannot write " + p);
  return p;
}

std::string TempDir::WriteSparse(const std::string& rel, std::uint64_t size) const {
  std::string p = *this / rel;
  fs::create_directories(fs::path(p).parent_path());
  int fd = ::open(p.c_str(), O_CREAT | O_TRUNC | O_WRONLY, 0644);
  if (fd < 0 || ftruncate(fd, static_cast<off_t>(size)) != 0) throw std::runtime_error("sparse " + p);
  ::close(fd);
  return p;
}

std::string ReadFile(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  std::ostringstream ss;
  ss << in.rdbuf();
  return ss.str();
}

void SetMTime(const std::string& path, std::int64_t epochSeconds) {
  struct timeval tv[2] = {{epochSeconds, 0}, {epochSeconds, 0}};
  lutimes(path.c_str(), tv);
}

bool Exists(const std::string& path) {
  struct stat st;
  return ::lstat(path.c_str(), &st) == 0;
}

}  // namespace twinex::test
