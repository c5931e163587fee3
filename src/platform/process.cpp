#include "platform/process.h"

#include <fcntl.h>
#include <spawn.h>
#include <sys/file.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <fstream>

#include "platform/text.h"
#include "platform/unique_fd.h"

extern char** environ;

namespace twinex::platform {
namespace {

std::uint64_t PageSize() {
  long p = sysconf(_SC_PAGESIZE);
  return p > 0 ? static_cast<std::uint64_t>(p) : 4096;
}

// Standard error of a child can be long (a usage text); the first part says what went wrong.
constexpr std::size_t kMaxReasonBytes = 4096;

std::string ReadAll(int fd, std::size_t maxBytes = kMaxReasonBytes) {
  std::string out;
  char buf[4096];
  for (;;) {
    ssize_t n = ::read(fd, buf, sizeof buf);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) break;
    if (out.size() < maxBytes) out.append(buf, static_cast<std::size_t>(n));
  }
  return out.substr(0, maxBytes);
}

// A program's own output that a caller reads (a listing), not a reason.
constexpr std::size_t kMaxOutputBytes = 1 << 20;

std::string OneLine(std::string text) {
  for (char& c : text)
    if (c == '\n' || c == '\r') c = ' ';
  return Trim(text);
}

}  // namespace

std::uint64_t ResidentMemoryBytes() {
  std::ifstream in("/proc/self/statm");
  std::uint64_t total = 0, resident = 0;
  if (!(in >> total >> resident)) return 0;
  return resident * PageSize();
}

std::uint64_t PhysicalMemoryBytes() {
  long pages = sysconf(_SC_PHYS_PAGES);
  return pages > 0 ? static_cast<std::uint64_t>(pages) * PageSize() : 0;
}

void SetLowPriority() {
  // On Linux the nice value belongs to the thread (its tid), so only the calling thread slows down.
  setpriority(PRIO_PROCESS, static_cast<id_t>(gettid()), 19);
}

std::string ExecutablePath() {
  std::string buf(4096, '\0');
  for (;;) {
    ssize_t n = readlink("/proc/self/exe", buf.data(), buf.size());
    if (n < 0) return "";
    if (static_cast<std::size_t>(n) < buf.size()) {
      buf.resize(static_cast<std::size_t>(n));
      return buf;
    }
    buf.resize(buf.size() * 2);
  }
}

std::string GetEnv(const std::string& name) {
  const char* v = std::getenv(name.c_str());
  return v ? std::string(v) : std::string();
}

int RunProgramStatus(const std::vector<std::string>& argv, std::string& reason, std::string* output) {
  reason.clear();
  if (argv.empty()) {
    reason = "no program";
    return -1;
  }
  int pipeFds[2];
  if (pipe2(pipeFds, O_CLOEXEC) != 0) {
    reason = std::string("pipe: ") + std::strerror(errno);
    return -1;
  }
  UniqueFd readEnd(pipeFds[0]), writeEnd(pipeFds[1]);

  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_addopen(&actions, 0, "/dev/null", O_RDONLY, 0);
  if (output)
    posix_spawn_file_actions_adddup2(&actions, writeEnd.get(), 1);
  else
    posix_spawn_file_actions_addopen(&actions, 1, "/dev/null", O_WRONLY, 0);
  posix_spawn_file_actions_adddup2(&actions, writeEnd.get(), 2);

  std::vector<char*> args;
  for (const std::string& a : argv) args.push_back(const_cast<char*>(a.c_str()));
  args.push_back(nullptr);

  pid_t pid = 0;
  int rc = posix_spawnp(&pid, args[0], &actions, nullptr, args.data(), environ);
  posix_spawn_file_actions_destroy(&actions);
  writeEnd.Reset();  // the child's copy is the only writer left: reading ends when it does
  if (rc != 0) {
    reason = std::strerror(rc);
    return -1;
  }
  std::string errText = ReadAll(readEnd.get(), output ? kMaxOutputBytes : kMaxReasonBytes);
  readEnd.Reset();
  if (output) *output = errText;
  errText = OneLine(errText.substr(0, kMaxReasonBytes));

  int status = 0;
  while (waitpid(pid, &status, 0) < 0) {
    if (errno != EINTR) {
      reason = std::string("waitpid: ") + std::strerror(errno);
      return -1;
    }
  }
  if (WIFEXITED(status) && WEXITSTATUS(status) == 0) return 0;
  if (!errText.empty())
    reason = errText;
  else if (WIFSIGNALED(status))
    reason = "ended by signal " + std::to_string(WTERMSIG(status));
  else
    reason = "exit status " + std::to_string(WEXITSTATUS(status));
  return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

std::string RunProgram(const std::vector<std::string>& argv) {
  std::string reason;
  RunProgramStatus(argv, reason);
  return reason;
}

std::string FindProgram(const std::string& name) {
  if (name.find('/') != std::string::npos) return ::access(name.c_str(), X_OK) == 0 ? name : "";
  for (const std::string& dir : Split(GetEnv("PATH"), ':')) {
    std::string candidate = (dir.empty() ? std::string(".") : dir) + "/" + name;
    if (::access(candidate.c_str(), X_OK) == 0) return candidate;
  }
  return "";
}

std::string RequestPowerState(bool hibernate) {
  std::string reason = RunProgram({"systemctl", hibernate ? "hibernate" : "suspend"});
  return reason.empty() ? "" : "systemctl: " + reason;
}

}  // namespace twinex::platform
