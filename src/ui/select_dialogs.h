#pragma once
// The dialogs of the select-by-date, by-size, by-name and by-path commands. Each loads its
// settings when it opens and stores them when it is closed with OK; the condition it returns
// is what the engine's command takes.
#include <QDialog>
#include <functional>

#include "results/selection_settings.h"

class QCheckBox;
class QComboBox;
class QDateEdit;
class QDialogButtonBox;
class QLineEdit;
class QPushButton;
class QSpinBox;

namespace twinex::ui {

class SelectByDateDialog : public QDialog {
  Q_OBJECT
 public:
  explicit SelectByDateDialog(const QString& title, QWidget* parent = nullptr);
  DateCondition condition() const;
  void SetCondition(const DateCondition& condition);
  void accept() override;

  QComboBox* compareWith;
  QComboBox* filterType;
  QSpinBox* amount;
  QComboBox* unit;
  QDateEdit* exactDate;

 private:
  void ShowInputs();
};

class SelectBySizeDialog : public QDialog {
  Q_OBJECT
 public:
  explicit SelectBySizeDialog(const QString& title, QWidget* parent = nullptr);
  SizeCondition condition() const;
  void accept() override;

  QComboBox* filterType;
  QLineEdit* amount;
  QComboBox* unit;

 private:
  QDialogButtonBox* buttons_;
};

// Select by name or by path: a search text with wildcards and its history.
class SelectByPatternDialog : public QDialog {
  Q_OBJECT
 public:
  SelectByPatternDialog(PatternField field, const QString& title, QWidget* parent = nullptr);
  PatternCondition condition() const;
  // Tests the search text first: an invalid one shows why and keeps the dialog open.
  void accept() override;
  const SelectPatternSettings& settings() const { return settings_; }
  // The message an invalid text showed last ("" when none).
  const QString& lastError() const { return lastError_; }
  // Shows that message (a message box unless set).
  std::function<void(const QString&)> showError;

  QComboBox* text;
  QCheckBox* caseSensitive;
  QPushButton* forget;

 private:
  void FillHistory();
  PatternField field_;
  SelectPatternSettings settings_;
  QString lastError_;
};

}  // namespace twinex::ui
