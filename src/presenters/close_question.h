#pragma once
// The question whether to save the result when the result window closes, and its countdown:
// a user who has walked away does not keep the window open for ever.
#include <string>

namespace twinex {

enum class CloseAnswer { Save, DontSave };

class CloseQuestion {
 public:
  static constexpr int kSeconds = 15;
  explicit CloseQuestion(int seconds = kSeconds) : remaining_(seconds) {}

  // Whether to ask: "BeendenBestaetigen" is on and there is a result worth saving.
  static bool Wanted(const std::string& beendenBestaetigen, bool hasGroups);
  static std::string Question();
  static std::string DontAskAgainCaption();
  // The value "BeendenBestaetigen" gets when the user ticks "do not show again".
  static std::string OptionOff() { return "0"; }

  // The countdown line for the seconds left.
  std::string CountdownText() const;
  int remaining() const { return remaining_; }
  // One second has passed; true when the time is up and the question answers itself.
  bool Tick();
  bool expired() const { return remaining_ <= 0; }
  // The answer when the time runs out: closing goes on without saving, since a save needs a
  // name only the user can give.
  static CloseAnswer TimeoutAnswer() { return CloseAnswer::DontSave; }

 private:
  int remaining_;
};

}  // namespace twinex
