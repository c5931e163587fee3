#include "app/settings_file_mark.h"

#include "platform/file_system.h"
#include "platform/ini_file.h"
#include "platform/text.h"
#include "platform/text_file.h"

namespace twinex {

std::string PrepareSettingsFile(const std::string& path) {
  if (!platform::ExistFile(path)) {
    if (platform::ExistFolder(path)) return "CreateFileWide: " + path + " is a folder";
    return platform::WriteFileAtomic(path, "\xFF\xFE");
  }
  std::string bytes, error;
  if (!platform::ReadWholeFile(path, bytes, &error)) return error;
  if (platform::StartsWith(bytes, "\xFF\xFE")) return "";
  // Through a temporary file, so a crash leaves the old file rather than half a new one.
  return platform::WriteFileAtomic(path, platform::EncodeUtf16LE(platform::DecodeTextFile(bytes), true));
}

}  // namespace twinex
