#include "ui/shortcuts_dialog.h"

#include <QDialogButtonBox>
#include <QHeaderView>
#include <QKeySequenceEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QTableWidget>
#include <QVBoxLayout>

#include "settings/settings_file.h"
#include "settings/translate.h"
#include "ui/qt_text.h"
#include "ui/shortcuts.h"

namespace twinex::ui {

ShortcutsDialog::ShortcutsDialog(WindowSettings& settings, QWidget* parent)
    : QDialog(parent), settings_(settings), commands_(ConfigurableCommands()) {
  setObjectName("ShortcutsDialog");
  setWindowTitle(Q(ShortcutsWindowTitle()));
  auto* layout = new QVBoxLayout(this);
  table_ = new QTableWidget(static_cast<int>(commands_.size()), 2, this);
  table_->setHorizontalHeaderLabels({Q(CommandColumnTitle()), Q(KeyColumnTitle())});
  table_->verticalHeader()->hide();
  table_->horizontalHeader()->setSectionResizeMode(0, QHeaderView::Stretch);
  table_->setEditTriggers(QAbstractItemView::NoEditTriggers);
  const Shortcuts keys = LoadShortcuts(settings_);
  for (std::size_t i = 0; i < commands_.size(); ++i) {
    const int row = static_cast<int>(i);
    table_->setItem(row, 0, new QTableWidgetItem(Q(commands_[i].caption)));
    auto* edit = new QKeySequenceEdit(keys.Key(commands_[i].command, commands_[i].defaultKey), table_);
    table_->setCellWidget(row, 1, edit);
  }
  table_->setColumnWidth(1, 180);
  layout->addWidget(table_);
  auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
  buttons->button(QDialogButtonBox::Ok)->setText(Q(z_Translate(22340, "OK")));
  buttons->button(QDialogButtonBox::Cancel)->setText(Q(z_Translate(22341, "Abbrechen")));
  QPushButton* defaults = buttons->addButton(Q(RestoreDefaultKeysText()), QDialogButtonBox::ResetRole);
  connect(defaults, &QPushButton::clicked, this, &ShortcutsDialog::RestoreDefaults);
  connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
  connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
  layout->addWidget(buttons);
  resize(760, 560);
}

int ShortcutsDialog::RowOf(const std::string& command) const {
  for (std::size_t i = 0; i < commands_.size(); ++i)
    if (commands_[i].command == command) return static_cast<int>(i);
  return -1;
}

std::string ShortcutsDialog::KeyText(const std::string& command) const {
  const int row = RowOf(command);
  if (row < 0) return "";
  auto* edit = static_cast<QKeySequenceEdit*>(table_->cellWidget(row, 1));
  return S(edit->keySequence().toString(QKeySequence::PortableText));
}

void ShortcutsDialog::SetKeyText(const std::string& command, const std::string& key) {
  const int row = RowOf(command);
  if (row >= 0)
    static_cast<QKeySequenceEdit*>(table_->cellWidget(row, 1))
        ->setKeySequence(QKeySequence(Q(key), QKeySequence::PortableText));
}

void ShortcutsDialog::RestoreDefaults() {
  for (const CommandKey& c : commands_) SetKeyText(c.command, c.defaultKey);
}

void ShortcutsDialog::accept() {
  std::map<std::string, std::string> keys;
  for (const CommandKey& c : commands_) keys[c.command] = KeyText(c.command);
  if (const std::string clash = KeyClash(keys); !clash.empty()) {
    if (showError)
      showError(Q(clash));
    else
      QMessageBox::information(this, windowTitle(), Q(clash));
    return;
  }
  StoreKeys(settings_, keys);
  // Written at once: the keys hold for windows opened before the program ends.
  for (const WindowSettings::Entry& e : settings_.entries())
    if (e.section == "Shortcuts") ProfilePutItemWide(e.section, e.key, e.value, SettingsFilePath());
  QDialog::accept();
}

}  // namespace twinex::ui
