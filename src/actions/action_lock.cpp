#include "actions/action_lock.h"

#include "settings/translate.h"

namespace twinex {

std::string LockFileStep(platform::LockFile& lock, const std::string& lockPath, RunControl* run) {
  if (lockPath.empty()) return "";
  return lock.Lock(lockPath, platform::LockMode::Exclusive, [run] { return !run || run->WaitWhilePaused(); });
}

std::string LockFailureText(const std::string& lockPath, const std::string& error) {
  return z_Translate(18148, "Die Sperrdatei '%1' für Dateiaktionen konnte nicht benutzt werden: %2", {lockPath, error});
}

}  // namespace twinex
