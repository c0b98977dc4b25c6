#include "startup/pref_dialog.h"

#include <QDir>
#include <QFormLayout>
#include <QGridLayout>
#include <QGroupBox>
#include <QMouseEvent>
#include <QHBoxLayout>
#include <QStringDecoder>
#include <QVBoxLayout>
#include <algorithm>
#include <string>

#include "files/file_kinds.h"

namespace qv {

namespace {

constexpr const char* kPrefFileName = "quorv.ini";
constexpr int kChannelCount = 16;
constexpr int kMaxDensity = 7;

// A stored path is UTF-8; older files may hold it in a single-byte code page.
QString PathFromBytes(const std::string& bytes) {
  QStringDecoder utf8(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
  QString text = utf8(QByteArrayView(bytes.data(), static_cast<qsizetype>(bytes.size())));
  if (utf8.hasError()) text = QString::fromLatin1(bytes.data(), static_cast<qsizetype>(bytes.size()));
  return text;
}

// The device name up to its first zero character.
QString DeviceName(const std::string& name) {
  return QString::fromStdString(name.substr(0, name.find('\0')));
}

Byte DeviceRowByte(int row) { return row >= 0 && row <= 255 ? static_cast<Byte>(row) : Byte{0}; }

void SelectRowIfListed(QComboBox* combo, int row) {
  if (row >= 0 && row < combo->count())
    combo->setCurrentIndex(row);
  else if (combo->count() > 0)
    combo->setCurrentIndex(0);
}

}  // namespace

PrefDialog::PrefDialog(MidiBackend& backend, Prompts& prompts, const QString& folder, QWidget* parent)
    : QDialog(parent), backend_(backend), prompts_(prompts), folder_(folder) {
  setObjectName(QStringLiteral("frmPref"));
  setWindowTitle(QStringLiteral("Quorvane Startup Preferences"));
  BuildControls();
  BuildLayout();

  connect(OKButton, &QPushButton::clicked, this, [this] { OKButton_Click(); });
  connect(CmdBrowse, &QPushButton::clicked, this, [this] { CmdBrowse_Click(); });
  connect(cmbPerfChnl, &QComboBox::activated, this, [this] { cmbPerfChnl_Click(); });

  FillMidiInDevices();
  FillMidiOutDevices();
  SelectRowIfListed(Combo2, 0);
  SelectRowIfListed(Combo1, 0);
  for (int channel = 1; channel <= kChannelCount; ++channel)
    cmbPerfChnl->addItem(QStringLiteral(" %1").arg(channel));
  ReadPreferences();
}

void PrefDialog::BuildControls() {
  auto label = [this](const char* name, const QString& text) {
    auto* l = new QLabel(text, this);
    l->setObjectName(QString::fromLatin1(name));
    return l;
  };
  Label1 = label("Label1", QStringLiteral("Retrieve data from CS2x at start of program? For:"));
  Label1->setToolTip(QStringLiteral(
      "Each Multi requires about 3 seconds to retrieve. In order to achieve the quickest program load, "
      "unless you check the box associated with the Multi on this channel the Multi will be initialized "
      "at startup."));
  Label2 = label("Label2", QStringLiteral("(Else Multis are initialized to minimize startup time)"));
  for (int i = 0; i < kMultiCount; ++i) {
    const int multi = kFirstMulti + i;
    ChkMlt[i] = new QCheckBox(QStringLiteral("Multi %1").arg(multi), this);
    ChkMlt[i]->setObjectName(multi == 8 ? QStringLiteral("Chkmlt8") : QStringLiteral("ChkMlt%1").arg(multi));
  }
  Label3 = label("Label3", QStringLiteral("        Load an existing Quorvane Workspace at startup?"));
  ChkLdFile = new QCheckBox(this);
  ChkLdFile->setObjectName(QStringLiteral("ChkLdFile"));
  Label3->setBuddy(ChkLdFile);
  Label3->installEventFilter(this);
  TxtLdFile = new QLineEdit(this);
  TxtLdFile->setObjectName(QStringLiteral("TxtLdFile"));
  CmdBrowse = new QPushButton(QStringLiteral("Browse"), this);
  CmdBrowse->setObjectName(QStringLiteral("CmdBrowse"));
  CmdBrowse->setAutoDefault(false);

  Label4 = label("Label4", QStringLiteral("MIDI In Device"));
  Combo1 = new QComboBox(this);
  Combo1->setObjectName(QStringLiteral("Combo1"));
  Label5 = label("Label5", QStringLiteral("MIDI Out Device"));
  Combo2 = new QComboBox(this);
  Combo2->setObjectName(QStringLiteral("Combo2"));
  Labelx1 = label("Labelx1", QStringLiteral("Performance Midi Channel"));
  cmbPerfChnl = new QComboBox(this);
  cmbPerfChnl->setObjectName(QStringLiteral("cmbPerfChnl"));

  Label6[0] = label("Label6", QStringLiteral("High"));
  Label6[1] = label("Label6", QStringLiteral("Low"));
  Label6[2] = label("Label6", QStringLiteral("Midi File Density"));
  Slider1 = new QSlider(Qt::Horizontal, this);
  Slider1->setObjectName(QStringLiteral("Slider1"));
  Slider1->setRange(0, kMaxDensity);
  Slider1->setPageStep(1);
  Slider1->setTickPosition(QSlider::TicksBelow);
  Slider1->setTickInterval(1);

  OKButton = new QPushButton(QStringLiteral("OK"), this);
  OKButton->setObjectName(QStringLiteral("OKButton"));
  OKButton->setDefault(true);
}

void PrefDialog::BuildLayout() {
  auto* retrieve = new QGroupBox(this);
  auto* retrieveLayout = new QVBoxLayout(retrieve);
  retrieveLayout->addWidget(Label1);
  auto* boxes = new QGridLayout;
  constexpr int kColumns = 4;
  for (int i = 0; i < kMultiCount; ++i) boxes->addWidget(ChkMlt[i], i / kColumns, i % kColumns);
  retrieveLayout->addLayout(boxes);
  retrieveLayout->addWidget(Label2);

  auto* workspace = new QGroupBox(this);
  auto* workspaceLayout = new QVBoxLayout(workspace);
  auto* question = new QHBoxLayout;
  question->addWidget(ChkLdFile);
  question->addWidget(Label3, 1);
  workspaceLayout->addLayout(question);
  auto* pathRow = new QHBoxLayout;
  pathRow->addWidget(TxtLdFile, 1);
  pathRow->addWidget(CmdBrowse);
  workspaceLayout->addLayout(pathRow);

  auto* midi = new QGroupBox(this);
  auto* midiLayout = new QFormLayout(midi);
  midiLayout->addRow(Label4, Combo1);
  midiLayout->addRow(Label5, Combo2);
  midiLayout->addRow(Labelx1, cmbPerfChnl);
  Combo1->setMinimumContentsLength(24);
  Combo2->setMinimumContentsLength(24);

  auto* density = new QGroupBox(this);
  auto* densityLayout = new QVBoxLayout(density);
  Label6[2]->setAlignment(Qt::AlignHCenter);
  densityLayout->addWidget(Label6[2]);
  auto* sliderRow = new QHBoxLayout;
  sliderRow->addWidget(Label6[0]);
  sliderRow->addWidget(Slider1, 1);
  sliderRow->addWidget(Label6[1]);
  densityLayout->addLayout(sliderRow);

  auto* buttons = new QHBoxLayout;
  buttons->addStretch(1);
  buttons->addWidget(OKButton);

  auto* layout = new QVBoxLayout(this);
  layout->addWidget(retrieve);
  layout->addWidget(workspace);
  layout->addWidget(midi);
  layout->addWidget(density);
  layout->addLayout(buttons);
}

bool PrefDialog::eventFilter(QObject* watched, QEvent* event) {
  if (watched != Label3) return QDialog::eventFilter(watched, event);
  const auto* mouse = static_cast<QMouseEvent*>(event);
  switch (event->type()) {
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonDblClick:
      label3Pressed_ = mouse->button() == Qt::LeftButton;
      return label3Pressed_;
    case QEvent::MouseButtonRelease: {
      if (mouse->button() != Qt::LeftButton || !label3Pressed_) break;
      label3Pressed_ = false;
      // Like a check box: a release away from the text leaves it as it was.
      if (Label3->rect().contains(mouse->position().toPoint()) && ChkLdFile->isEnabled()) {
        ChkLdFile->setFocus(Qt::MouseFocusReason);
        ChkLdFile->click();
      }
      return true;
    }
    default:
      break;
  }
  return QDialog::eventFilter(watched, event);
}

void PrefDialog::FillMidiInDevices() {
  const int count = backend_.InGetNumDevs();
  for (int device = 0; device < count; ++device) {
    std::string name;
    if (int rc = backend_.InGetDevCaps(device, name)) {
      prompts_.Message("midiInGetDevCaps Error: " + std::to_string(rc));
      return;
    }
    Combo1->addItem(DeviceName(name));
  }
}

void PrefDialog::FillMidiOutDevices() {
  const int count = backend_.OutGetNumDevs();
  for (int device = 0; device < count; ++device) {
    std::string name;
    if (int rc = backend_.OutGetDevCaps(device, name)) {
      prompts_.Message("midiOutGetDevCaps Error: " + std::to_string(rc));
      return;
    }
    Combo2->addItem(DeviceName(name));
  }
}

QString PrefDialog::PreferencesFile() const {
  return QDir(folder_).filePath(QString::fromLatin1(kPrefFileName));
}

void PrefDialog::ReadPreferences() {
  const PreferencesFileRead read = ReadPreferencesFile(PreferencesFile().toStdString());
  switch (read.status) {
    case PreferencesFileRead::Status::kMissing:
      cmbPerfChnl->setCurrentIndex(0);
      return;
    case PreferencesFileRead::Status::kTooLong:
      prompts_.Message(WrongTypeText(FileKind::kAllMultis));
      cmbPerfChnl->setCurrentIndex(0);
      return;
    case PreferencesFileRead::Status::kRead:
      ApplyRecord(read.record);
      return;
  }
}

void PrefDialog::ApplyRecord(const PreferencesRecord& record) {
  for (int i = 0; i < kMultiCount; ++i) ChkMlt[i]->setChecked(record.RtrvAtStart[i] != 0);
  SelectRowIfListed(Combo1, record.MidiInDevIdx);
  SelectRowIfListed(Combo2, record.MidiOutDevIdx);
  ChkLdFile->setChecked(record.LoadWsAtStart != 0);
  TxtLdFile->setText(PathFromBytes(record.WsPath));
  Slider1->setValue(record.Density >= 0 && record.Density <= kMaxDensity ? record.Density : 0);
  cmbPerfChnl->setCurrentIndex(record.PerfChannel >= 0 && record.PerfChannel < kChannelCount ? record.PerfChannel
                                                                                              : 0);
}

PreferencesRecord PrefDialog::ToRecord() const {
  PreferencesRecord record;
  for (int i = 0; i < kMultiCount; ++i) record.RtrvAtStart[i] = ChkMlt[i]->isChecked() ? 1 : 0;
  record.MidiInDevIdx = DeviceRowByte(Combo1->currentIndex());
  record.MidiOutDevIdx = DeviceRowByte(Combo2->currentIndex());
  record.LoadWsAtStart = ChkLdFile->isChecked() ? 1 : 0;
  record.WsPath = TxtLdFile->text().toStdString();
  record.Density = static_cast<std::int16_t>(Slider1->value());
  record.PerfChannel = static_cast<std::int16_t>(PerfChannelRow());
  return record;
}

bool PrefDialog::SavePreferences() {
  const std::string path = PreferencesFile().toStdString();
  const FileWriteResult written = WritePreferencesFile(path, ToRecord());
  if (!written) prompts_.Message(FailedSaveText(path, written.reason));
  return written.ok;
}

int PrefDialog::PerfChannelRow() const { return std::max(0, cmbPerfChnl->currentIndex()); }
int PrefDialog::MidiInDevRow() const { return Combo1->currentIndex(); }
int PrefDialog::MidiOutDevRow() const { return Combo2->currentIndex(); }

bool PrefDialog::RetrieveAtStart(int multi) const {
  const int i = multi - kFirstMulti;
  return i >= 0 && i < kMultiCount && ChkMlt[i]->isChecked();
}

bool PrefDialog::LoadWorkspaceAtStart() const { return ChkLdFile->isChecked(); }

QString PrefDialog::WorkspacePath() const {
  QString path = TxtLdFile->text();
  while (path.endsWith(QLatin1Char(' '))) path.chop(1);
  return path;
}

int PrefDialog::Density() const { return Slider1->value(); }

void PrefDialog::OKButton_Click() {
  // Showing the splash lets queued events run; a second click on OK meanwhile
  // must not start the program twice.
  if (inOk_) return;
  inOk_ = true;
  if (startingUp) {
    if (onOkAtStartUp) onOkAtStartUp();
    startingUp = false;
  }
  if (onOk) onOk(ToRecord());
  SavePreferences();  // a failure is told; the values stay in force for this run
  hide();
  inOk_ = false;
}

void PrefDialog::cmbPerfChnl_Click() {
  if (!startingUp && onPerfChannelChanged) onPerfChannelChanged(PerfChannelRow());
}

void PrefDialog::CmdBrowse_Click() {
  const char* filter = FileKindOf(FileKind::kWorkspace)->saveFilter;
  if (auto name = prompts_.OpenFile(filter)) TxtLdFile->setText(QString::fromStdString(*name));
}

}  // namespace qv
