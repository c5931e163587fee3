#include "platform/desktop.h"

#include <thread>

#include "platform/file_system.h"
#include "platform/process.h"

namespace twinex::platform {
namespace {

constexpr char kCompletionSound[] = "/usr/share/sounds/freedesktop/stereo/complete.oga";

class LinuxDesktop : public Desktop {
 public:
  void PlaySound(const std::string& file) override {
    std::vector<std::string> command = SoundPlayerCommand(ExistFile(file) ? file : kCompletionSound);
    if (command.empty()) return;
    // The player runs on beside the program; its own thread waits for it, so nothing is left over.
    std::thread([command] { (void)RunProgram(command); }).detach();
  }
  std::string RequestPowerState(bool hibernate) override { return platform::RequestPowerState(hibernate); }
};

}  // namespace

std::vector<std::string> SoundPlayerCommand(const std::string& file) {
  // In order of preference; each plays the common formats (MP3 and Ogg included).
  static const std::vector<std::vector<std::string>> kPlayers = {
      {"pw-play"},
      {"paplay"},
      {"ffplay", "-nodisp", "-autoexit", "-loglevel", "quiet"},
  };
  for (const auto& player : kPlayers) {
    if (FindProgram(player[0]).empty()) continue;
    std::vector<std::string> command = player;
    command.push_back(file);
    return command;
  }
  return {};
}

Desktop& SystemDesktop() {
  static LinuxDesktop desktop;
  return desktop;
}

}  // namespace twinex::platform
