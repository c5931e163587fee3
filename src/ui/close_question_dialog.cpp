#include "ui/close_question_dialog.h"

#include <QCheckBox>
#include <QDialogButtonBox>
#include <QLabel>
#include <QPushButton>
#include <QTimer>
#include <QVBoxLayout>

#include "app/session.h"
#include "settings/settings_file.h"
#include "settings/window_settings.h"
#include "ui/qt_text.h"

namespace twinex::ui {

CloseQuestionDialog::CloseQuestionDialog(QWidget* parent, int seconds) : QDialog(parent), question_(seconds) {
  setObjectName("CloseQuestionDialog");
  setWindowTitle(Q(z_Translate(22427, "Suchergebnis speichern")));
  auto* layout = new QVBoxLayout(this);
  layout->addWidget(new QLabel(Q(CloseQuestion::Question()), this));
  countdown_ = new QLabel(this);
  layout->addWidget(countdown_);
  dontAsk_ = new QCheckBox(Q(CloseQuestion::DontAskAgainCaption()), this);
  layout->addWidget(dontAsk_);
  auto* buttons = new QDialogButtonBox(QDialogButtonBox::Yes | QDialogButtonBox::No, this);
  buttons->button(QDialogButtonBox::Yes)->setText(Q(z_Translate(11120, "Ja")));
  buttons->button(QDialogButtonBox::No)->setText(Q(z_Translate(11121, "Nein")));
  layout->addWidget(buttons);
  connect(buttons->button(QDialogButtonBox::Yes), &QPushButton::clicked, this, [this] { Answer(CloseAnswer::Save); });
  connect(buttons->button(QDialogButtonBox::No), &QPushButton::clicked, this, [this] { Answer(CloseAnswer::DontSave); });
  countdown_->setText(CountdownText());
  timer_ = new QTimer(this);
  timer_->setInterval(1000);
  connect(timer_, &QTimer::timeout, this, &CloseQuestionDialog::Tick);
  timer_->start();
}

bool CloseQuestionDialog::dontAskAgain() const { return dontAsk_->isChecked(); }

QString CloseQuestionDialog::CountdownText() const { return Q(question_.CountdownText()); }

void CloseQuestionDialog::Tick() {
  const bool over = question_.Tick();
  countdown_->setText(CountdownText());
  if (over) Answer(CloseQuestion::TimeoutAnswer());
}

void CloseQuestionDialog::Answer(CloseAnswer answer) {
  timer_->stop();
  answer_ = answer;
  accept();
}

void AskToSaveOnClose(QWidget* parent, Session& session, WindowSettings& windowSettings,
                      const std::function<void()>& save) {
  if (!parent->isVisible()) return;
  const std::string& file = session.settingsFile();
  const Search* search = session.search();
  if (!CloseQuestion::Wanted(ReadSetting("Optionen", "BeendenBestaetigen", file), search && !search->result.groups.empty()))
    return;
  CloseQuestionDialog dialog(parent);
  // Escape or the title bar's close button leave the window closing without a save.
  dialog.exec();
  if (dialog.dontAskAgain()) StoreSetting(windowSettings, "Optionen", "BeendenBestaetigen", CloseQuestion::OptionOff(), file);
  if (dialog.answer() == CloseAnswer::Save) save();
}

}  // namespace twinex::ui
