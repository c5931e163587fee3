#include "settings/translate.h"

#include <mutex>
#include <shared_mutex>
#include <unordered_map>

namespace twinex {
namespace {

struct LanguageTable {
  std::shared_mutex lock;
  int code = 7;
  std::unordered_map<int, std::string> texts;
};

LanguageTable& Table() {
  static LanguageTable table;
  return table;
}

}  // namespace

void SetLanguageTable(int languageCode, std::vector<std::pair<int, std::string>> entries) {
  auto& t = Table();
  std::unique_lock guard(t.lock);
  t.code = languageCode;
  t.texts.clear();
  for (auto& [no, text] : entries) t.texts[no] = std::move(text);
}

int CurrentLanguage() {
  auto& t = Table();
  std::shared_lock guard(t.lock);
  return t.code;
}

std::string FillParams(std::string_view text, const std::vector<std::string>& params) {
  // One pass, so that a parameter value holding "%2" is never substituted again.
  std::string out;
  out.reserve(text.size() + 16);
  for (std::size_t i = 0; i < text.size(); ++i) {
    char c = text[i];
    if (c == '%' && i + 1 < text.size()) {
      if (text[i + 1] == '!') {
        out += "\r\n";
        ++i;
        continue;
      }
      // Longest run of digits that names an existing parameter.
      std::size_t j = i + 1, best = 0, bestLen = 0, n = 0;
      while (j < text.size() && text[j] >= '0' && text[j] <= '9' && j - i <= 3) {
        n = n * 10 + static_cast<std::size_t>(text[j] - '0');
        ++j;
        if (n >= 1 && n <= params.size()) {
          best = n;
          bestLen = j - i - 1;
        }
      }
      if (best > 0) {
        out += params[best - 1];
        i += bestLen;
        continue;
      }
    }
    out.push_back(c);
  }
  return out;
}

std::string z_Translate(int textNo, std::string_view german, const std::vector<std::string>& params) {
  std::string text;
  {
    auto& t = Table();
    std::shared_lock guard(t.lock);
    if (t.code != 7 && textNo >= 1) {
      auto it = t.texts.find(textNo);
      if (it != t.texts.end() && !it->second.empty()) text = it->second;
    }
  }
  if (text.empty()) text = german;
  return FillParams(text, params);
}

std::string z_Translate(int textNo, std::string_view german, std::initializer_list<std::string_view> params) {
  std::vector<std::string> p(params.begin(), params.end());
  return z_Translate(textNo, german, p);
}

std::string z_Translate(const TextRef& text, std::initializer_list<std::string_view> params) {
  return z_Translate(text.no, text.german, params);
}

}  // namespace twinex
