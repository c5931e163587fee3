#include "app/error_record.h"

#include <unistd.h>

#include <atomic>
#include <mutex>

#include "app/logs.h"
#include "platform/run_control.h"
#include "settings/translate.h"

namespace twinex {
namespace {

std::atomic<int> gErrorCount{0};
std::atomic<const RunControl*> gRun{nullptr};

struct StateStore {
  std::mutex lock;
  DiagnosticState state;
};

StateStore& Store() {
  static StateStore store;
  return store;
}

std::string StopText() {
  const RunControl* run = gRun.load();
  return run ? std::to_string(run->State()) + "/" + std::to_string(run->StopReason()) : "0/0";
}

}  // namespace

void SetDiagnosticState(const DiagnosticState& state) {
  std::lock_guard guard(Store().lock);
  Store().state = state;
}

void SetDiagnosticRun(const RunControl* run) { gRun.store(run); }

int ErrorCount() { return gErrorCount.load(); }

void LogErrorRecord(std::string_view where, std::string_view error) {
  const int count = ++gErrorCount;
  DiagnosticState state;
  {
    std::lock_guard guard(Store().lock);
    state = Store().state;
  }
  const LogFiles files = GetLogFiles();
  LogFehler(std::string(where) + ": " + std::string(error));
  const std::string lines[] = {
      "Apptitle: " + files.appTitle,
      "Datapath: " + files.dataFolder,
      std::string("Admin: ") + (geteuid() == 0 ? "1" : "0"),
      "Errcount: " + std::to_string(count),
      "Lang: " + std::to_string(CurrentLanguage()),
      "Stop:" + StopText(),
      std::string("Unicode:") + (state.unicodeSupport ? "1" : "0"),
      "SM:" + std::to_string(state.searchMethod),
      "Sb1:" + state.statusBar[0],
      "Sb2:" + state.statusBar[1],
      "Sb3:" + state.statusBar[2],
  };
  for (const std::string& line : lines) LogFehler(line, false, false);
  LogFehler("Sb4:" + state.statusBar[3], true, false);
}

}  // namespace twinex
