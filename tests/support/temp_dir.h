#pragma once
// Temporary folders and files for tests: every test builds its own tree and never touches $HOME.
#include <cstdint>
#include <string>

namespace twinex::test {

class TempDir {
 public:
  TempDir();
  ~TempDir();
  TempDir(const TempDir&) = delete;
  TempDir& operator=(const TempDir&) = delete;

  const std::string& path() const { return path_; }
  // Path of a relative name inside the folder.
  std::string operator/(const std::string& rel) const { return path_ + "/" + rel; }

  // Creates the file (and its folders) with the given content; returns its full path.
  std::string Write(const std::string& rel, const std::string& content) const;
  // Creates a sparse file of the given size.
  std::string WriteSparse(const std::string& rel, std::uint64_t size) const;
  std::string MakeDir(const std::string& rel) const;

 private:
  std::string path_;
};

std::string ReadFile(const std::string& path);
// Whether anything (also a dangling symbolic link) is at the path.
bool Exists(const std::string& path);
// Sets the modification time (seconds since the epoch, local time interpretation is the caller's).
void SetMTime(const std::string& path, std::int64_t epochSeconds);

}  // namespace twinex::test
