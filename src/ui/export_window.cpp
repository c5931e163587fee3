#include "ui/export_window.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QDesktopServices>
#include <QFileDialog>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QUrl>
#include <QVBoxLayout>

#include "platform/file_system.h"
#include "settings/settings_file.h"
#include "ui/qt_text.h"
#include "ui/serve_questions.h"
#include "ui/ui_bridge.h"

namespace twinex::ui {

namespace {

// A box of option buttons, one per caption, numbered from 0.
QButtonGroup* Choices(const std::string& title, const std::vector<std::string>& captions, QWidget* parent,
                      QVBoxLayout*& layout) {
  auto* box = new QGroupBox(Q(title), parent);
  layout = new QVBoxLayout(box);
  auto* group = new QButtonGroup(parent);
  for (std::size_t i = 0; i < captions.size(); ++i) {
    auto* radio = new QRadioButton(Q(captions[i]), box);
    group->addButton(radio, static_cast<int>(i));
    layout->addWidget(radio);
  }
  parent->layout()->addWidget(box);
  return group;
}

}  // namespace

ExportWindow::ExportWindow(Session& session, UiBridge& bridge, ExportColumns columns, QWidget* parent)
    : QDialog(parent),
      session_(session),
      bridge_(bridge),
      presenter_(LoadExportSettings(session.settingsFile(), platform::JoinPath(session.app().paths.dataFolder, "export")),
                 columns) {
  setObjectName("ExportWindow");
  setWindowTitle(Q(ExportWindowPresenter::Title()));
  auto* layout = new QVBoxLayout(this);
  auto* top = new QWidget(this);
  auto* topLayout = new QHBoxLayout(top);
  topLayout->setContentsMargins(0, 0, 0, 0);
  layout->addWidget(top);

  QVBoxLayout* boxLayout = nullptr;
  which_ = Choices(z_Translate(22412, "Welche Dateien sollen exportiert werden?"), ExportWindowPresenter::WhichCaptions(),
                   top, boxLayout);
  boxLayout->addStretch(1);
  format_ = Choices(z_Translate(22413, "Speicherformat"), ExportWindowPresenter::FormatCaptions(), top, boxLayout);
  boxLayout->addStretch(1);
  separator_ = Choices(z_Translate(22414, "Datentrennzeichen"), ExportWindowPresenter::SeparatorCaptions(), top, boxLayout);
  custom_ = new QLineEdit(this);
  boxLayout->addWidget(custom_);
  boxLayout->addStretch(1);

  fileList_ = new QCheckBox(Q(z_Translate(22415, "Dateiliste erstellen")), this);
  open_ = new QCheckBox(Q(z_Translate(22416, "Datei nach dem Exportieren öffnen")), this);
  layout->addWidget(fileList_);
  layout->addWidget(open_);

  auto* buttons = new QHBoxLayout;
  buttons->addStretch(1);
  auto* ok = new QPushButton(Q(z_Translate(22440, "OK")), this);
  ok->setDefault(true);
  auto* cancel = new QPushButton(Q(z_Translate(22403, "Abbrechen")), this);
  buttons->addWidget(ok);
  buttons->addWidget(cancel);
  layout->addLayout(buttons);

  auto choose = [this](int ExportSettings::*field) {
    return [this, field](int id) {
      ReadFields();
      presenter_.settings().*field = id;
      Refresh();
    };
  };
  connect(which_, &QButtonGroup::idClicked, this, choose(&ExportSettings::SaveFileType));
  connect(format_, &QButtonGroup::idClicked, this, choose(&ExportSettings::FileFormat));
  connect(separator_, &QButtonGroup::idClicked, this, choose(&ExportSettings::Delimiter));
  connect(ok, &QPushButton::clicked, this, [this] { Export(); });
  connect(cancel, &QPushButton::clicked, this, &QDialog::reject);

  chooseTarget_ = [this](const std::string& suggested, const std::string& filter) {
    return S(QFileDialog::getSaveFileName(this, Q(ExportWindowPresenter::Title()), Q(suggested), Q(filter)));
  };
  Refresh();
}

void ExportWindow::Refresh() {
  const ExportSettings& s = presenter_.settings();
  if (QAbstractButton* b = which_->button(s.SaveFileType)) b->setChecked(true);
  if (QAbstractButton* b = format_->button(s.FileFormat)) b->setChecked(true);
  if (QAbstractButton* b = separator_->button(s.Delimiter)) b->setChecked(true);
  for (QAbstractButton* b : separator_->buttons()) b->setEnabled(presenter_.SeparatorEnabled());
  custom_->setText(Q(s.DelimiterChars));
  custom_->setEnabled(presenter_.CustomSeparatorEnabled());
  fileList_->setChecked(s.SaveOnlyFiles);
  fileList_->setEnabled(presenter_.FileListEnabled());
  open_->setChecked(s.OpenFile);
}

void ExportWindow::ReadFields() {
  ExportSettings& s = presenter_.settings();
  s.DelimiterChars = S(custom_->text());
  s.SaveOnlyFiles = fileList_->isChecked();
  s.OpenFile = open_->isChecked();
}

ExportOutcome ExportWindow::Export() {
  ReadFields();
  ExportOutcome out;
  const Search* search = session_.search();
  std::string target;
  // With nothing to export there is nothing to ask a file for: the session's export says so.
  if (search && HasFilesToExport(search->result, presenter_.settings().SaveFileType)) {
    target = chooseTarget_(presenter_.SuggestedTarget(), presenter_.DialogFilter());
    if (target.empty()) {
      out.status = ExportStatus::Cancelled;
      return out;
    }
    target = presenter_.ChooseTarget(target);
  }
  ExportRequest request = presenter_.MakeRequest(target, session_.resultDescription(), session_.resultDescriptionLines());
  out = RunServingQuestions([&] { return session_.Export(std::move(request)); });
  if (!out.Ok()) return out;
  if (presenter_.settings().OpenFile) QDesktopServices::openUrl(QUrl::fromLocalFile(Q(target)));
  accept();
  return out;
}

void ExportWindow::done(int result) {
  ReadFields();
  if (std::string e = SaveExportSettings(presenter_.settings(), session_.settingsFile()); !e.empty())
    bridge_.Ask(PromptMessage::Composed(e, PromptButtons::Ok, PromptIcon::Exclamation));
  QDialog::done(result);
}

}  // namespace twinex::ui
