#include "support/unprivileged.h"

#include <grp.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>

namespace twinex::test {

bool RunUnprivileged(const std::function<bool()>& check) {
  std::fflush(nullptr);  // the child must not write the parent's buffered output a second time
  const pid_t pid = ::fork();
  if (pid < 0) return false;
  if (pid == 0) {
    if (::geteuid() == 0 && (::setgroups(0, nullptr) != 0 || ::setresgid(kNobody, kNobody, kNobody) != 0 ||
                             ::setresuid(kNobody, kNobody, kNobody) != 0))
      ::_exit(2);
    ::_exit(check() ? 0 : 1);
  }
  int status = 0;
  while (::waitpid(pid, &status, 0) < 0)
    if (errno != EINTR) return false;
  return WIFEXITED(status) && WEXITSTATUS(status) == 0;
}

void OpenToEveryone(const std::string& folder) { ::chmod(folder.c_str(), 0777); }

}  // namespace twinex::test
