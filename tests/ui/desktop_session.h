#pragma once
// What every window test stands on: a scratch home (XDG_DATA_HOME below a temporary folder), the
// bridge with a scripted answerer that records every question, a started session over its own
// settings and the main window.
#include <QtTest>

#include <algorithm>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "app/session.h"
#include "settings/settings_file.h"
#include "support/temp_dir.h"
#include "ui/main_window.h"
#include "ui/result_window.h"
#include "ui/ui_bridge.h"

namespace twinex::ui {

class DesktopSession {
 protected:
  using Answerer = std::function<PromptAnswer(const PromptMessage&)>;

  // The default answerer gives Ok to plain messages and answer_ to questions (Ok or Cancel
  // where those are the buttons).
  void OpenSession(Answerer answer = {}) {
    dir_ = std::make_unique<test::TempDir>();
    qputenv("XDG_DATA_HOME", QByteArray::fromStdString(*dir_ / "xdg"));
    qputenv("LANG", "de_DE.UTF-8");
    asked_.clear();
    answer_ = PromptAnswer::Yes;
    if (!answer)
      answer = [this](const PromptMessage& m) {
        if (m.buttons == PromptButtons::Ok) return PromptAnswer::Ok;
        if (m.buttons == PromptButtons::OkCancel) return answer_ == PromptAnswer::Yes ? PromptAnswer::Ok : PromptAnswer::Cancel;
        return answer_;
      };
    bridge_ = std::make_unique<UiBridge>();
    bridge_->SetAnswerer([this, answer](const PromptMessage& m) {
      asked_.push_back(m.Text());
      return answer(m);
    });
    session_ = std::make_unique<Session>(bridge_->Ports());
    StartupRequest r;
    r.executablePath = *dir_ / "bin/twinex";
    r.version = "4.0.0";
    QCOMPARE(QString::fromStdString(session_->Start(r)), QString());
    session_->LoadSettings();
    session_->settings().sources.sources.clear();
    window_ = std::make_unique<MainWindow>(*session_, *bridge_);
  }

  void CloseSession() {
    if (window_) window_->close();
    window_.reset();
    session_.reset();
    bridge_.reset();
    SetSettingsFolders({});
    SetSettingsFilePath("");
    dir_.reset();
  }

  // Whether some question or message held the text.
  bool Asked(const std::string& part) const {
    return std::any_of(asked_.begin(), asked_.end(), [&](const std::string& t) { return t.find(part) != std::string::npos; });
  }
  // Two groups of two copies each below data/c0 and data/c1, searched by size and content: the
  // result window over them, or null when the search did not start.
  ResultWindow* SearchCopies() {
    for (int i = 0; i < 2; ++i)
      for (int c = 0; c < 2; ++c)
        dir_->Write("data/c" + std::to_string(c) + "/f" + std::to_string(i) + ".bin",
                    std::string(static_cast<std::size_t>(10 + i), static_cast<char>('a' + i)));
    window_->AddSourceFolder(*dir_ / "data");
    for (int c = 0; c < 7; ++c) window_->presenter().SetCriterion(c, c == kCritSize || c == kCritContent);
    ResultWindow* r = window_->StartSearch();
    if (r) WaitForEnd(r);
    return r;
  }
  // QTRY_ macros return from the calling function, so this one is void.
  void WaitForEnd(ResultWindow* r) { QTRY_VERIFY_WITH_TIMEOUT(!r->Running(), 60000); }

  std::unique_ptr<test::TempDir> dir_;
  std::unique_ptr<UiBridge> bridge_;
  std::unique_ptr<Session> session_;
  std::unique_ptr<MainWindow> window_;
  std::vector<std::string> asked_;
  PromptAnswer answer_ = PromptAnswer::Yes;
};

}  // namespace twinex::ui
