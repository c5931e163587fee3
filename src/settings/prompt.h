#pragma once
// Every question and message box goes through one interface: the GUI shows a dialog, the
// command line answers from its flags, tests script the answers.
#include <string>
#include <vector>

#include "settings/translate.h"

namespace twinex {

enum class PromptButtons { Ok, OkCancel, YesNo, YesNoCancel };
enum class PromptIcon { None, Information, Exclamation, Question, Critical };
enum class PromptAnswer { Ok, Cancel, Yes, No };

struct PromptMessage {
  int textNo = 0;
  std::string german;
  std::vector<std::string> params;
  PromptButtons buttons = PromptButtons::Ok;
  PromptIcon icon = PromptIcon::Information;
  std::string title;
  // > 0: the box closes itself after so many seconds with the first button's answer.
  int timeoutSeconds = 0;
  // The translated text with its parameters filled in.
  std::string Text() const;

  static PromptMessage Make(const TextRef& text, std::vector<std::string> params = {},
                            PromptButtons buttons = PromptButtons::Ok, PromptIcon icon = PromptIcon::Information);
  // A text that was composed (and translated) already, such as several messages joined.
  static PromptMessage Composed(std::string text, PromptButtons buttons = PromptButtons::Ok,
                                PromptIcon icon = PromptIcon::Information);
};

class Prompt {
 public:
  virtual ~Prompt() = default;
  virtual PromptAnswer Ask(const PromptMessage& message) = 0;
};

// The answer that loses nothing: No for yes/no questions, Cancel where offered, else Ok.
PromptAnswer SafeAnswer(PromptButtons buttons);

// Answers every question with the safe answer and remembers the messages (for tests and for
// callers without a user).
class SilentPrompt : public Prompt {
 public:
  PromptAnswer Ask(const PromptMessage& message) override;
  std::vector<PromptMessage> asked;
};

}  // namespace twinex
