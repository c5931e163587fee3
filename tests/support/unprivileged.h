#pragma once
// Permission checks that mean something when the tests run as root: the check runs in a child
// process that first gives up root (user and group nobody, 65534) and answers by its exit code.
#include <functional>
#include <string>

namespace twinex::test {

inline constexpr unsigned kNobody = 65534;

// Runs `check` in a forked child without privileges; true when it returned true. A child that
// cannot drop root's privileges answers false. Not root already: the child runs as it is.
bool RunUnprivileged(const std::function<bool()>& check);

// Lets the unprivileged child reach a test folder (a root-made temporary folder is 0700); the
// folder itself and what is in it keep their own permissions.
void OpenToEveryone(const std::string& folder);

}  // namespace twinex::test
