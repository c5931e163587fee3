#include "cli/cli_signals.h"

#include <atomic>
#include <csignal>

#include "app/session.h"
#include "platform/run_control.h"

namespace twinex::cli {
namespace {

std::atomic<Session*> gSession{nullptr};
std::atomic<RunControl*> gControl{nullptr};

constexpr int kSignals[] = {SIGINT, SIGTERM, SIGHUP};

void OnStopSignal(int) {
  if (Session* s = gSession.load()) s->RequestStop(kStopUser);
  if (RunControl* c = gControl.load()) c->RequestStop(kStopUser);
}

void Install() {
  struct sigaction action {};
  action.sa_handler = OnStopSignal;
  sigemptyset(&action.sa_mask);
  // Reads and writes in progress go on; the handler runs once, so a second signal ends the
  // process when the work does not stop.
  action.sa_flags = SA_RESTART | SA_RESETHAND;
  for (int sig : kSignals) sigaction(sig, &action, nullptr);
}

}  // namespace

StopSignalScope::StopSignalScope(Session& session) {
  gSession.store(&session);
  Install();
}

StopSignalScope::StopSignalScope(RunControl& control) {
  gControl.store(&control);
  Install();
}

StopSignalScope::~StopSignalScope() {
  for (int sig : kSignals) std::signal(sig, SIG_DFL);
  gSession.store(nullptr);
  gControl.store(nullptr);
}

}  // namespace twinex::cli
