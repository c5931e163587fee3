#include "ui/select_dialogs.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDateEdit>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QSpinBox>
#include <QVBoxLayout>

#include "platform/date_time.h"
#include "results/selection_conditions.h"
#include "ui/qt_text.h"

namespace twinex::ui {

namespace {

QComboBox* Choices(QWidget* parent, int count, std::string (*name)(int)) {
  auto* box = new QComboBox(parent);
  for (int i = 0; i < count; ++i) box->addItem(Q(name(i)));
  return box;
}

QDialogButtonBox* OkCancel(QDialog* dialog) {
  auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, dialog);
  buttons->button(QDialogButtonBox::Ok)->setText(Q(z_Translate(22340, "OK")));
  buttons->button(QDialogButtonBox::Cancel)->setText(Q(z_Translate(22341, "Abbrechen")));
  QObject::connect(buttons, &QDialogButtonBox::accepted, dialog, &QDialog::accept);
  QObject::connect(buttons, &QDialogButtonBox::rejected, dialog, &QDialog::reject);
  return buttons;
}

QDate ToQDate(double date) {
  int y, m, d, h, mi, s;
  platform::SplitDate(date, y, m, d, h, mi, s);
  return QDate(y, m, d);
}

}  // namespace

// ---- By date ------------------------------------------------------------------------------

SelectByDateDialog::SelectByDateDialog(const QString& title, QWidget* parent) : QDialog(parent) {
  setObjectName("SelectByDateDialog");
  setWindowTitle(title);
  auto* form = new QFormLayout;
  compareWith = Choices(this, 2, DateCompareWithName);
  form->addRow(Q(z_Translate(22342, "Vergleichen mit:")), compareWith);
  filterType = Choices(this, 3, DateFilterTypeName);
  form->addRow(Q(z_Translate(22343, "Bedingung:")), filterType);
  auto* row = new QHBoxLayout;
  amount = new QSpinBox(this);
  amount->setRange(0, 999999999);
  unit = Choices(this, kDateUnitCount, DateUnitName);
  row->addWidget(amount, 1);
  row->addWidget(unit, 1);
  form->addRow(Q(z_Translate(22344, "Zeitraum:")), row);
  exactDate = new QDateEdit(this);
  exactDate->setCalendarPopup(true);
  exactDate->setDisplayFormat("dd.MM.yyyy");
  form->addRow(Q(z_Translate(22345, "Datum (exakt gleich):")), exactDate);

  auto* layout = new QVBoxLayout(this);
  auto* intro = new QLabel(Q(z_Translate(22346, "Die Bedingung, die das Datum einer Datei erfüllen muss:")), this);
  intro->setWordWrap(true);
  layout->addWidget(intro);
  layout->addLayout(form);
  layout->addStretch(1);
  layout->addWidget(OkCancel(this));
  connect(filterType, &QComboBox::currentIndexChanged, this, &SelectByDateDialog::ShowInputs);

  SelectDateSettings stored = LoadSelectDateSettings();
  if (!stored.hasExactDate) stored.condition.exactDate = platform::Now();
  SetCondition(stored.condition);
  setMinimumWidth(420);
}

void SelectByDateDialog::SetCondition(const DateCondition& c) {
  compareWith->setCurrentIndex(c.compareWith);
  filterType->setCurrentIndex(c.filterType);
  amount->setValue(static_cast<int>(c.amount));
  unit->setCurrentIndex(c.unit);
  exactDate->setDate(ToQDate(c.exactDate));
  ShowInputs();
}

DateCondition SelectByDateDialog::condition() const {
  DateCondition c;
  c.compareWith = compareWith->currentIndex();
  c.filterType = filterType->currentIndex();
  c.amount = amount->value();
  c.unit = unit->currentIndex();
  const QDate d = exactDate->date();
  c.exactDate = platform::MakeDate(d.year(), d.month(), d.day());
  return c;
}

void SelectByDateDialog::ShowInputs() {
  SelectDateSettings s;
  s.condition.filterType = filterType->currentIndex();
  amount->setEnabled(s.AmountInputEnabled());
  unit->setEnabled(s.AmountInputEnabled());
  exactDate->setEnabled(s.DateInputEnabled());
}

void SelectByDateDialog::accept() {
  SelectDateSettings s;
  s.condition = condition();
  s.hasExactDate = true;
  SaveSelectDateSettings(s);
  QDialog::accept();
}

// ---- By size ------------------------------------------------------------------------------

SelectBySizeDialog::SelectBySizeDialog(const QString& title, QWidget* parent) : QDialog(parent) {
  setObjectName("SelectBySizeDialog");
  setWindowTitle(title);
  auto* layout = new QVBoxLayout(this);
  auto* row = new QHBoxLayout;
  filterType = Choices(this, 3, SizeFilterTypeName);
  amount = new QLineEdit(this);
  unit = Choices(this, kSizeUnitCount, SizeConditionUnitName);
  row->addWidget(filterType);
  row->addWidget(amount, 1);
  row->addWidget(unit);
  layout->addWidget(new QLabel(Q(z_Translate(22347, "Dateigröße:")), this));
  layout->addLayout(row);
  buttons_ = OkCancel(this);
  layout->addWidget(buttons_);
  // OK waits for an amount the command can use.
  connect(amount, &QLineEdit::textChanged, this, [this](const QString& t) {
    std::int64_t v = 0;
    buttons_->button(QDialogButtonBox::Ok)->setEnabled(ParseSizeAmount(S(t), v));
  });
  const SelectSizeSettings stored = LoadSelectSizeSettings();
  filterType->setCurrentIndex(stored.condition.filterType);
  amount->setText(Q(SizeAmountText(stored.condition.amount)));
  unit->setCurrentIndex(stored.condition.unit);
}

SizeCondition SelectBySizeDialog::condition() const {
  SizeCondition c;
  c.filterType = filterType->currentIndex();
  c.unit = unit->currentIndex();
  if (!ParseSizeAmount(S(amount->text()), c.amount)) c.amount = -1;  // refused by the command
  return c;
}

void SelectBySizeDialog::accept() {
  SelectSizeSettings s;
  s.condition = condition();
  if (s.condition.amount < 0) return;
  SaveSelectSizeSettings(s);
  QDialog::accept();
}

// ---- By name or path ----------------------------------------------------------------------

SelectByPatternDialog::SelectByPatternDialog(PatternField field, const QString& title, QWidget* parent)
    : QDialog(parent), field_(field), settings_(LoadSelectPatternSettings(field)) {
  setObjectName(field == PatternField::Name ? "SelectByNameDialog" : "SelectByPathDialog");
  setWindowTitle(title);
  auto* layout = new QVBoxLayout(this);
  layout->addWidget(new QLabel(Q(z_Translate(22348, "Suchtext (Platzhalter * ? # [a-z] erlaubt):")), this));
  auto* row = new QHBoxLayout;
  text = new QComboBox(this);
  text->setEditable(true);
  text->setInsertPolicy(QComboBox::NoInsert);
  forget = new QPushButton(Q(z_Translate(22349, "Aus Verlauf löschen")), this);
  row->addWidget(text, 1);
  row->addWidget(forget);
  layout->addLayout(row);
  caseSensitive = new QCheckBox(Q(z_Translate(22350, "Groß- und Kleinschreibung beachten")), this);
  caseSensitive->setChecked(settings_.caseSensitive);
  layout->addWidget(caseSensitive);
  layout->addWidget(OkCancel(this));
  FillHistory();
  text->setEditText(Q(settings_.text));
  connect(forget, &QPushButton::clicked, this, [this] {
    const int at = text->currentIndex();
    if (at < 0 || text->currentText() != text->itemText(at)) return;
    if (settings_.Forget(static_cast<std::size_t>(at))) {
      FillHistory();
      SaveSelectPatternSettings(field_, settings_);  // a deleted entry stays deleted, OK or not
    }
  });
  setMinimumWidth(460);
}

void SelectByPatternDialog::FillHistory() {
  const QString current = text->currentText();
  text->clear();
  for (const std::string& e : settings_.history) text->addItem(Q(e));
  text->setEditText(current);
  forget->setEnabled(!settings_.history.empty());
}

PatternCondition SelectByPatternDialog::condition() const { return {S(text->currentText()), caseSensitive->isChecked()}; }

void SelectByPatternDialog::accept() {
  const PatternCondition c = condition();
  lastError_ = Q(TestSearchText(c.pattern));
  if (!lastError_.isEmpty()) {
    if (showError)
      showError(lastError_);
    else
      QMessageBox::information(this, windowTitle(), QString(lastError_).replace("\r\n", "\n"));
    return;
  }
  settings_.Remember(c.pattern);
  settings_.caseSensitive = c.caseSensitive;
  SaveSelectPatternSettings(field_, settings_);
  QDialog::accept();
}

}  // namespace twinex::ui
