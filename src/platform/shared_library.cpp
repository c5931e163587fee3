#include "platform/shared_library.h"

#include <dlfcn.h>

#include <map>
#include <mutex>

namespace twinex::platform {
namespace {

std::mutex& ErrorsLock() {
  static std::mutex lock;
  return lock;
}
std::map<std::string, std::string>& Errors() {
  static std::map<std::string, std::string> errors;
  return errors;
}

void Remember(const char* soname, const std::string& error) {
  std::lock_guard<std::mutex> hold(ErrorsLock());
  Errors()[soname] = error;
}

}  // namespace

SharedLibrary::SharedLibrary(const char* soname) : soname_(soname) {
  // RTLD_NOW: a function missing from an older library shows here, once, rather than as a
  // crash in the middle of a search.
  handle_ = ::dlopen(soname, RTLD_NOW | RTLD_LOCAL);
  if (!handle_) {
    const char* why = ::dlerror();
    error_ = why ? why : std::string(soname) + ": cannot be loaded";
    Remember(soname, error_);
  }
}

void* SharedLibrary::Symbol(const char* name) {
  if (!handle_) return nullptr;
  ::dlerror();
  void* address = ::dlsym(handle_, name);
  if (!address && error_.empty()) {
    const char* why = ::dlerror();
    error_ = why ? why : std::string(name) + ": not found";
    Remember(soname_.c_str(), error_);
  }
  return address;
}

std::string LibraryError(const char* soname) {
  std::lock_guard<std::mutex> hold(ErrorsLock());
  const auto it = Errors().find(soname);
  return it == Errors().end() ? std::string() : it->second;
}

}  // namespace twinex::platform
