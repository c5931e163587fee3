#pragma once
// The shortcuts window: every configurable command with its key; OK stores the keys that differ
// from the defaults in section "Shortcuts".
#include <QDialog>
#include <functional>
#include <string>
#include <vector>

#include "presenters/command_keys.h"

class QTableWidget;

namespace twinex::ui {

class ShortcutsDialog : public QDialog {
  Q_OBJECT
 public:
  explicit ShortcutsDialog(WindowSettings& settings, QWidget* parent = nullptr);
  // The key shown for a command now (portable text).
  std::string KeyText(const std::string& command) const;
  void SetKeyText(const std::string& command, const std::string& key);
  void RestoreDefaults();
  // Refuses keys given twice (with the message), else stores them and closes.
  void accept() override;
  std::function<void(const QString&)> showError;

 private:
  int RowOf(const std::string& command) const;
  WindowSettings& settings_;
  std::vector<CommandKey> commands_;
  QTableWidget* table_;
};

}  // namespace twinex::ui
