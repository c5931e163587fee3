#include "platform/child_process.h"

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

#include "platform/text.h"

extern char** environ;

namespace twinex::platform {
namespace {

constexpr std::size_t kMaxErrorBytes = 4096;

void CloseFd(int& fd) {
  if (fd >= 0) ::close(fd);
  fd = -1;
}

}  // namespace

ChildProcess::~ChildProcess() {
  if (pid_ > 0) {
    Kill();
    Wait();
  }
  CloseFd(out_);
  CloseFd(err_);
}

std::string ChildProcess::Start(const std::vector<std::string>& argv) {
  if (argv.empty()) return "no program";
  if (pid_ > 0) return "already running";
  int outPipe[2], errPipe[2];
  if (pipe2(outPipe, O_CLOEXEC) != 0) return std::string("pipe: ") + std::strerror(errno);
  if (pipe2(errPipe, O_CLOEXEC) != 0) {
    ::close(outPipe[0]);
    ::close(outPipe[1]);
    return std::string("pipe: ") + std::strerror(errno);
  }
  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_addopen(&actions, 0, "/dev/null", O_RDONLY, 0);
  posix_spawn_file_actions_adddup2(&actions, outPipe[1], 1);
  posix_spawn_file_actions_adddup2(&actions, errPipe[1], 2);
  std::vector<char*> args;
  for (const std::string& a : argv) args.push_back(const_cast<char*>(a.c_str()));
  args.push_back(nullptr);
  const int rc = posix_spawnp(&pid_, args[0], &actions, nullptr, args.data(), environ);
  posix_spawn_file_actions_destroy(&actions);
  ::close(outPipe[1]);
  ::close(errPipe[1]);
  out_ = outPipe[0];
  err_ = errPipe[0];
  if (rc != 0) {
    pid_ = -1;
    CloseFd(out_);
    CloseFd(err_);
    return std::strerror(rc);
  }
  return "";
}

void ChildProcess::DrainErrors() {
  char buf[1024];
  for (;;) {
    pollfd p{err_, POLLIN, 0};
    if (err_ < 0 || ::poll(&p, 1, 0) <= 0) return;
    const ssize_t n = ::read(err_, buf, sizeof buf);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) {
      CloseFd(err_);
      return;
    }
    if (errText_.size() < kMaxErrorBytes) errText_.append(buf, static_cast<std::size_t>(n));
  }
}

long ChildProcess::Read(char* buffer, std::size_t size, int timeoutMs) {
  if (out_ < 0) return 0;
  for (;;) {
    // Standard error is read alongside, so a child that writes much there never blocks on it.
    pollfd fds[2] = {{out_, POLLIN, 0}, {err_, POLLIN, 0}};
    const int ready = ::poll(fds, err_ >= 0 ? 2 : 1, timeoutMs);
    if (ready < 0 && errno == EINTR) continue;
    if (ready < 0) return -2;
    if (ready == 0) return -1;
    if (err_ >= 0 && fds[1].revents) DrainErrors();
    if (!fds[0].revents) continue;
    const ssize_t n = ::read(out_, buffer, size);
    if (n < 0 && errno == EINTR) continue;
    if (n < 0) return -2;
    if (n == 0) CloseFd(out_);
    return static_cast<long>(n);
  }
}

void ChildProcess::Kill() {
  if (pid_ > 0) ::kill(pid_, SIGKILL);
}

void ChildProcess::Pause() {
  if (pid_ > 0) ::kill(pid_, SIGSTOP);
}

void ChildProcess::Resume() {
  if (pid_ > 0) ::kill(pid_, SIGCONT);
}

int ChildProcess::Wait() {
  if (pid_ <= 0) return -1;
  // Whatever is still in the pipes is read so the child can end.
  char buf[4096];
  while (out_ >= 0 && Read(buf, sizeof buf, 1000) > 0) {
  }
  CloseFd(out_);
  while (err_ >= 0) {
    pollfd p{err_, POLLIN, 0};
    if (::poll(&p, 1, 1000) <= 0) break;
    const std::size_t before = errText_.size();
    DrainErrors();
    if (err_ >= 0 && errText_.size() == before) CloseFd(err_);
  }
  CloseFd(err_);
  int status = 0;
  while (::waitpid(pid_, &status, 0) < 0 && errno == EINTR) {
  }
  pid_ = -1;
  return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

std::string ChildProcess::ErrorText() const {
  std::string t = errText_.substr(0, kMaxErrorBytes);
  for (char& c : t)
    if (c == '\n' || c == '\r') c = ' ';
  return Trim(t);
}

}  // namespace twinex::platform
