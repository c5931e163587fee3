#pragma once
// Runs twinex-cli as a user would: a real process with its own data folder below a temporary
// folder, standard output and standard error captured. Header-only, since the program's path
// is known to the test programs only.
#include <sys/wait.h>

#include <cstdio>
#include <string>

#include "support/temp_dir.h"

namespace twinex::test {

struct CliRun {
  int exitCode = -1;
  std::string out, err;
  bool Says(const std::string& part) const { return (out + err).find(part) != std::string::npos; }
};

// `env` is put in front of the command (German messages unless a test asks otherwise); with
// `inHome` the program runs with the temporary folder as its working folder.
inline CliRun RunCli(const TempDir& home, const std::string& args,
                     const std::string& env = "LC_ALL= LC_MESSAGES=de_DE.UTF-8", bool inHome = false) {
  const std::string errFile = home / "stderr.txt";
  const std::string cmd = (inHome ? "cd '" + home.path() + "' && " : std::string()) + env + " XDG_DATA_HOME='" +
                          home.path() + "/data' " TWINEX_CLI " " + args + " 2>'" + errFile + "'";
  CliRun r;
  FILE* p = popen(cmd.c_str(), "r");
  char buf[4096];
  for (std::size_t n; (n = fread(buf, 1, sizeof buf, p)) > 0;) r.out.append(buf, n);
  const int status = pclose(p);
  r.exitCode = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
  r.err = ReadFile(errFile);
  return r;
}

inline bool Has(const std::string& text, const std::string& part) { return text.find(part) != std::string::npos; }

}  // namespace twinex::test
