#include "settings/prompt.h"

#include "settings/translate.h"

namespace twinex {

std::string PromptMessage::Text() const { return z_Translate(textNo, german, params); }

PromptMessage PromptMessage::Make(const TextRef& text, std::vector<std::string> params, PromptButtons buttons,
                                  PromptIcon icon) {
  PromptMessage m;
  m.textNo = text.no;
  m.german = text.german;
  m.params = std::move(params);
  m.buttons = buttons;
  m.icon = icon;
  return m;
}

PromptMessage PromptMessage::Composed(std::string text, PromptButtons buttons, PromptIcon icon) {
  PromptMessage m;
  m.german = std::move(text);
  m.buttons = buttons;
  m.icon = icon;
  return m;
}

PromptAnswer SafeAnswer(PromptButtons buttons) {
  switch (buttons) {
    case PromptButtons::YesNo:
      return PromptAnswer::No;
    case PromptButtons::OkCancel:
    case PromptButtons::YesNoCancel:
      return PromptAnswer::Cancel;
    case PromptButtons::Ok:
      break;
  }
  return PromptAnswer::Ok;
}

PromptAnswer SilentPrompt::Ask(const PromptMessage& message) {
  asked.push_back(message);
  return SafeAnswer(message.buttons);
}

}  // namespace twinex
