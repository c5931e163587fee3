#include "ui/file_manager_window.h"

#include <QApplication>
#include <QButtonGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QFileDialog>
#include <QFormLayout>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>
#include <QSignalBlocker>
#include <QTimer>
#include <QVBoxLayout>
#include <chrono>

#include "ui/qt_text.h"
#include "ui/ui_bridge.h"

namespace twinex::ui {

namespace {
constexpr int kRefreshMs = 100;

QLabel* Caption(const TextRef& text, QWidget* parent) { return new QLabel(Q(z_Translate(text)), parent); }

}  // namespace

FileManagerWindow::FileManagerWindow(Session& session, UiBridge& bridge, QWidget* parent)
    : QDialog(parent), session_(session), bridge_(bridge), presenter_(LoadFileManagerSettings(session.settingsFile())) {
  setObjectName("FileManagerWindow");
  setWindowTitle(Q(FileManagerPresenter::Title()));
  auto* layout = new QVBoxLayout(this);
  auto* columns = new QHBoxLayout;
  layout->addLayout(columns);
  auto* left = new QVBoxLayout;
  columns->addLayout(left, 1);

  auto* actionBox = new QGroupBox(Q(z_Translate(22437, "Aktion")), this);
  auto* actionLayout = new QVBoxLayout(actionBox);
  actions_ = new QButtonGroup(this);
  const std::vector<std::string> captions = FileManagerPresenter::ActionCaptions();
  for (std::size_t a = 0; a < captions.size(); ++a) {
    auto* radio = new QRadioButton(Q(captions[a]), actionBox);
    actions_->addButton(radio, static_cast<int>(a));
    actionLayout->addWidget(radio);
  }
  left->addWidget(actionBox);
  connect(actions_, &QButtonGroup::idClicked, this, [this](int id) {
    presenter_.SetAction(static_cast<FileAction>(id));
    Refresh();
  });

  auto* groupBox = new QGroupBox(Q(z_Translate(22435, "Welche Gruppen sollen bearbeitet werden?")), this);
  auto* groupLayout = new QVBoxLayout(groupBox);
  groups_ = new QButtonGroup(this);
  const TextRef groupCaptions[] = {TextRef{18030, "Alle Gruppen (Filter ignorieren)"},
                                   TextRef{18031, "Nur Gruppen, welche durch den Filter angezeigt werden"}};
  for (int g = 0; g < 2; ++g) {
    auto* radio = new QRadioButton(Q(z_Translate(groupCaptions[g])), groupBox);
    groups_->addButton(radio, g);
    groupLayout->addWidget(radio);
  }
  left->addWidget(groupBox);
  connect(groups_, &QButtonGroup::idClicked, this, [this](int id) { presenter_.settings().GroupAction = id; });

  auto* targetBox = new QGroupBox(Q(z_Translate(22404, "Sicherungsordner")), this);
  auto* targetLayout = new QGridLayout(targetBox);
  folder_ = new QLineEdit(targetBox);
  browse_ = new QPushButton("...", targetBox);
  browse_->setMaximumWidth(40);
  subfolder_ = new QLineEdit(targetBox);
  targetLayout->addWidget(folder_, 0, 0);
  targetLayout->addWidget(browse_, 0, 1);
  targetLayout->addWidget(Caption(TextRef{22438, "Name des Unterordners:"}, targetBox), 1, 0, 1, 2);
  targetLayout->addWidget(subfolder_, 2, 0, 1, 2);
  left->addWidget(targetBox);
  connect(browse_, &QPushButton::clicked, this, [this] {
    const QString dir = QFileDialog::getExistingDirectory(this, Q(z_Translate(22404, "Sicherungsordner")), folder_->text());
    if (!dir.isEmpty()) folder_->setText(dir);
  });

  auto* renameBox = new QGroupBox(Q(z_Translate(22405, "Vorlage für den neuen Dateinamen")), this);
  auto* renameLayout = new QVBoxLayout(renameBox);
  rename_ = new QLineEdit(renameBox);
  renameLayout->addWidget(rename_);
  // The placeholders, one family a line.
  QLabel* help = new QLabel(Q(z_Translate(22406,
                                          "%NAME% = Dateiname ohne Endung, %EXT% = Dateiendung mit Punkt%!"
                                          "%FOLDER% = Name des Ordners, %GNAME% = Name der Gruppe%!"
                                          "%FNAME% / %LNAME% = Name der ersten / letzten Datei der Gruppe%!"
                                          "%CDATE% / %MDATE% = Erstell- / Änderungsdatum%!"
                                          "%PDATE% = Aufnahmedatum des Bildes%!"
                                          "%YYYY% %YY% %MM% %DD% %HH% %NN% %SS% = aktuelles Datum und Uhrzeit"))
                                .replace("\r\n", "\n"),
                            renameBox);
  renameLayout->addWidget(help);
  left->addWidget(renameBox);
  left->addStretch(1);

  auto* optionBox = new QGroupBox(Q(z_Translate(22436, "Optionen")), this);
  auto* optionLayout = new QVBoxLayout(optionBox);
  for (const FileManagerOption& o : FileManagerOptions()) {
    auto* box = new QCheckBox(Q(z_Translate(o.caption)), optionBox);
    optionLayout->addWidget(box);
    options_.push_back(box);
    connect(box, &QCheckBox::clicked, this, [this, &o](bool on) {
      presenter_.SetOption(o, on, bridge_);
      Refresh();
    });
  }
  auto* closeRow = new QHBoxLayout;
  closeAfter_ = new QCheckBox(Q(z_Translate(22407, "Nach Abschluss der Aktion:")), optionBox);
  closeType_ = new QComboBox(optionBox);
  closeType_->addItems({Q(z_Translate(22408, "Dateimanager schließen")), Q(z_Translate(22409, "Twinex beenden"))});
  closeRow->addWidget(closeAfter_);
  closeRow->addWidget(closeType_, 1);
  optionLayout->addLayout(closeRow);
  optionLayout->addStretch(1);
  columns->addWidget(optionBox, 1);
  connect(closeAfter_, &QCheckBox::clicked, this, [this](bool on) { presenter_.settings().CloseFileManager = on; });
  connect(closeType_, &QComboBox::currentIndexChanged, this, [this](int i) { presenter_.settings().CloseFileManagerType = i; });

  refusal_ = new QLabel(this);
  refusal_->setWordWrap(true);
  refusal_->setStyleSheet("color: palette(link)");
  layout->addWidget(refusal_);

  auto* progress = new QFormLayout;
  action_ = new QLabel(this);
  current_ = new QLabel(this);
  current_->setTextFormat(Qt::PlainText);
  current_->setMinimumWidth(200);
  current_->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Preferred);  // a long path must not widen the window
  done_ = new QLabel(this);
  auto* barRow = new QHBoxLayout;
  bar_ = new QProgressBar(this);
  elapsed_ = new QLabel(this);
  barRow->addWidget(bar_, 1);
  barRow->addWidget(elapsed_);
  progress->addRow(Caption(TextRef{22430, "Aktion :"}, this), action_);
  progress->addRow(Caption(TextRef{22431, "Aktuelle Datei :"}, this), current_);
  progress->addRow(Caption(TextRef{22432, "Dateien bearbeitet :"}, this), done_);
  progress->addRow(Caption(TextRef{22433, "Fortschritt :"}, this), barRow);
  layout->addLayout(progress);

  log_ = new QPlainTextEdit(this);
  log_->setReadOnly(true);
  log_->setMaximumBlockCount(100000);
  log_->setMinimumHeight(120);
  layout->addWidget(log_, 1);

  auto* buttons = new QHBoxLayout;
  buttons->addStretch(1);
  ok_ = new QPushButton(Q(z_Translate(22440, "OK")), this);
  ok_->setDefault(true);
  cancel_ = new QPushButton(this);
  buttons->addWidget(ok_);
  buttons->addWidget(cancel_);
  layout->addLayout(buttons);
  connect(ok_, &QPushButton::clicked, this, &FileManagerWindow::Start);
  connect(cancel_, &QPushButton::clicked, this, &FileManagerWindow::CancelOrClose);
  // Only the lines of this window's own run; the last of them may arrive after the run's end.
  connect(&bridge_, &UiBridge::logLine, this, [this](const QString& text, bool isError) {
    if (presenter_.state() != FileManagerPresenter::State::Idle) log_->appendPlainText(isError ? "! " + text : text);
  });

  timer_ = new QTimer(this);
  timer_->setInterval(kRefreshMs);
  connect(timer_, &QTimer::timeout, this, &FileManagerWindow::Poll);
  presenter_.SetRefusal(session_.ActionRefusal());
  Refresh();
}

FileManagerWindow::~FileManagerWindow() {
  if (!run_.valid()) return;
  session_.actionControl().RequestStop(kStopUser);
  run_.wait();
}

void FileManagerWindow::Refresh() {
  const FileManagerSettings& s = presenter_.settings();
  const bool editable = presenter_.SettingsEnabled();
  if (QAbstractButton* b = actions_->button(static_cast<int>(s.Aktion))) b->setChecked(true);
  if (QAbstractButton* b = groups_->button(s.GroupAction == 1 ? 1 : 0)) b->setChecked(true);
  for (QAbstractButton* b : actions_->buttons()) b->setEnabled(editable);
  for (QAbstractButton* b : groups_->buttons()) b->setEnabled(editable);
  const auto& table = FileManagerOptions();
  for (std::size_t i = 0; i < table.size(); ++i) {
    options_[i]->setChecked(s.*(table[i].flag));
    options_[i]->setEnabled(presenter_.OptionEnabled(table[i]));
  }
  if (!folder_->hasFocus()) folder_->setText(Q(s.Ordner));
  if (!subfolder_->hasFocus()) subfolder_->setText(Q(s.CreateSubfolderText));
  if (!rename_->hasFocus()) rename_->setText(Q(s.Rename));
  folder_->setEnabled(presenter_.FolderEnabled());
  browse_->setEnabled(presenter_.FolderEnabled());
  subfolder_->setEnabled(presenter_.SubfolderTextEnabled());
  rename_->setEnabled(presenter_.RenameTemplateEnabled());
  closeAfter_->setChecked(s.CloseFileManager);
  closeAfter_->setEnabled(editable);
  {
    const QSignalBlocker quiet(closeType_);
    closeType_->setCurrentIndex(s.CloseFileManagerType == 1 ? 1 : 0);
  }
  closeType_->setEnabled(editable);
  refusal_->setText(Q(presenter_.refusal()));
  refusal_->setVisible(!presenter_.refusal().empty());

  action_->setText(Q(presenter_.ActionText()));
  current_->setText(Q(presenter_.progress().currentFile));
  done_->setText(Q(presenter_.DoneText()));
  bar_->setValue(presenter_.ProgressPercent());
  elapsed_->setText(Q(presenter_.ElapsedText()));
  ok_->setEnabled(presenter_.OkEnabled());
  cancel_->setText(Q(presenter_.CancelCaption()));
}

void FileManagerWindow::ReadFields() {
  FileManagerSettings& s = presenter_.settings();
  s.Ordner = S(folder_->text().trimmed());
  s.CreateSubfolderText = S(subfolder_->text());
  s.Rename = S(rename_->text());
}

void FileManagerWindow::Start() {
  if (!presenter_.OkEnabled() || Running()) return;
  ReadFields();
  FileManagerRequest request = presenter_.MakeRequest();
  if (Selection* selection = session_.selection(); selection && request.settings.GroupAction == 1) {
    const GroupFilter filter = selection->groupFilter;
    request.groupShown = [filter](const ResultGroup& g) { return filter.Shows(ResultTree::GroupCheckState(g)); };
  }
  log_->clear();
  presenter_.Started();
  bridge_.OnProgress(ActionProgress{});
  Refresh();
  emit runStarted();
  run_ = std::async(std::launch::async, [this, request = std::move(request)]() mutable {
    return session_.RunAction(std::move(request));
  });
  timer_->start();
}

void FileManagerWindow::Poll() {
  if (!run_.valid()) return;
  presenter_.SetProgress(bridge_.LatestActionProgress());
  if (run_.wait_for(std::chrono::seconds(0)) != std::future_status::ready) {
    Refresh();
    return;
  }
  timer_->stop();
  const FileManagerOutcome outcome = run_.get();
  presenter_.Finished(outcome);
  Refresh();
  emit runFinished();
  switch (presenter_.AfterRun()) {
    case 1: close(); break;
    case 2:
      close();
      QTimer::singleShot(0, qApp, &QApplication::closeAllWindows);
      break;
    default: break;
  }
}

void FileManagerWindow::CancelOrClose() { reject(); }

QString FileManagerWindow::LogText() const { return log_->toPlainText(); }

void FileManagerWindow::reject() {
  if (Running()) {
    // The window goes only when its run has stopped; a question may still need answering.
    session_.actionControl().RequestStop(kStopUser);
    return;
  }
  ReadFields();
  if (std::string e = SaveFileManagerSettings(presenter_.settings(), session_.settingsFile()); !e.empty())
    bridge_.Ask(PromptMessage::Composed(e, PromptButtons::Ok, PromptIcon::Exclamation));
  QDialog::reject();
}

}  // namespace twinex::ui
