#pragma once
// A prompt that answers from a script, then with a fallback (the safe answer unless set), and
// records every text it was shown.
#include <deque>
#include <optional>
#include <string>
#include <vector>

#include "settings/prompt.h"

namespace twinex::test {

struct ScriptedPrompt : Prompt {
  std::deque<PromptAnswer> answers;
  std::optional<PromptAnswer> fallback;  // for questions; a message with only OK gets OK
  std::vector<std::string> texts;
  PromptAnswer Ask(const PromptMessage& m) override {
    texts.push_back(m.Text());
    if (!answers.empty() && m.buttons != PromptButtons::Ok) {
      PromptAnswer a = answers.front();
      answers.pop_front();
      return a;
    }
    return m.buttons == PromptButtons::Ok || !fallback ? SafeAnswer(m.buttons) : *fallback;
  }
};

}  // namespace twinex::test
