#pragma once
// What the after-search actions ask of the desktop: a sound, and standby or hibernation. One
// seam, so that tests put a fake in its place and another platform its own calls.
#include <string>
#include <vector>

namespace twinex::platform {

class Desktop {
 public:
  virtual ~Desktop() = default;
  // Starts playing the file and returns at once; a missing file plays the desktop's own
  // completion sound. Silent when no player is installed.
  virtual void PlaySound(const std::string& file) = 0;
  // Standby (suspend) or hibernation; "" or why the system refused.
  virtual std::string RequestPowerState(bool hibernate) = 0;
};

// The running system's desktop: a PipeWire, PulseAudio or ffmpeg player for sounds, systemd for
// the power states.
Desktop& SystemDesktop();

// The player command for a sound file, from the programs found in PATH; empty when none is.
std::vector<std::string> SoundPlayerCommand(const std::string& file);

}  // namespace twinex::platform
