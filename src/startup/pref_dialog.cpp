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
#include "link/midi_link.h"

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

// One row per device; a row's position is its device number.
void FillDevices(QComboBox* combo, const std::vector<std::string>& names) {
  for (const std::string& name : names) combo->addItem(QString::fromStdString(name));
}

Byte DeviceRowByte(int row) { return row >= 0 && row <= 255 ? static_cast<Byte>(row) : Byte{0}; }

void SelectRowIfListed(QComboBox* combo, int row) {
  if (row >= 0 && row < combo->count())
    combo->setCurrentIndex(row);
  else if (combo->count() > 0)
    combo->setCurrentIndex(0);
}

}  // namespace

PrefDialog::PrefDialog(const MidiDeviceNames& devices, Prompts& prompts, const QString& folder, QWidget* parent)
    : QDialog(parent), prompts_(prompts), folder_(folder) {
  setObjectName(QStringLiteral("frmPref"));
  setWindowTitle(QStringLiteral("Quorvane Startup Preferences"));
  BuildControls();
  BuildLayout();

  connect(ok_, &QPushButton::clicked, this, [this] { OKButton_Click(); });
  connect(browse_, &QPushButton::clicked, this, [this] { CmdBrowse_Click(); });
  connect(perfChannels_, &QComboBox::activated, this, [this] { cmbPerfChnl_Click(); });

  FillDevices(inDevices_, devices.inputs);
  FillDevices(outDevices_, devices.outputs);
  SelectRowIfListed(outDevices_, 0);
  SelectRowIfListed(inDevices_, 0);
  for (int channel = 1; channel <= kChannelCount; ++channel)
    perfChannels_->addItem(QStringLiteral(" %1").arg(channel));
  ReadPreferences();
}

void PrefDialog::BuildControls() {
  auto label = [this](const char* name, const QString& text) {
    auto* l = new QLabel(text, this);
    l->setObjectName(QString::fromLatin1(name));
    return l;
  };
  retrieveQuestion_ = label("Label1", QStringLiteral("Retrieve data from CS2x at start of program? For:"));
  retrieveQuestion_->setToolTip(QStringLiteral(
      "Each Multi requires about 3 seconds to retrieve. In order to achieve the quickest program load, "
      "unless you check the box associated with the Multi on this channel the Multi will be initialized "
      "at startup."));
  retrieveNote_ = label("Label2", QStringLiteral("(Else Multis are initialized to minimize startup time)"));
  for (int i = 0; i < kMultiCount; ++i) {
    const int multi = kFirstMulti + i;
    retrieveBoxes_[i] = new QCheckBox(QStringLiteral("Multi %1").arg(multi), this);
    retrieveBoxes_[i]->setObjectName(multi == 8 ? QStringLiteral("Chkmlt8") : QStringLiteral("ChkMlt%1").arg(multi));
  }
  loadQuestion_ = label("Label3", QStringLiteral("        Load an existing Quorvane Workspace at startup?"));
  loadAtStart_ = new QCheckBox(this);
  loadAtStart_->setObjectName(QStringLiteral("ChkLdFile"));
  loadQuestion_->setBuddy(loadAtStart_);
  loadQuestion_->installEventFilter(this);
  workspacePath_ = new QLineEdit(this);
  workspacePath_->setObjectName(QStringLiteral("TxtLdFile"));
  browse_ = new QPushButton(QStringLiteral("Browse"), this);
  browse_->setObjectName(QStringLiteral("CmdBrowse"));
  browse_->setAutoDefault(false);

  inLabel_ = label("Label4", QStringLiteral("MIDI In Device"));
  inDevices_ = new QComboBox(this);
  inDevices_->setObjectName(QStringLiteral("Combo1"));
  outLabel_ = label("Label5", QStringLiteral("MIDI Out Device"));
  outDevices_ = new QComboBox(this);
  outDevices_->setObjectName(QStringLiteral("Combo2"));
  channelLabel_ = label("Labelx1", QStringLiteral("Performance Midi Channel"));
  perfChannels_ = new QComboBox(this);
  perfChannels_->setObjectName(QStringLiteral("cmbPerfChnl"));

  densityLabels_[0] = label("Label6", QStringLiteral("High"));
  densityLabels_[1] = label("Label6", QStringLiteral("Low"));
  densityLabels_[2] = label("Label6", QStringLiteral("Midi File Density"));
  density_ = new QSlider(Qt::Horizontal, this);
  density_->setObjectName(QStringLiteral("Slider1"));
  density_->setRange(0, kMaxDensity);
  density_->setPageStep(1);
  density_->setTickPosition(QSlider::TicksBelow);
  density_->setTickInterval(1);

  ok_ = new QPushButton(QStringLiteral("OK"), this);
  ok_->setObjectName(QStringLiteral("OKButton"));
  ok_->setDefault(true);
}

void PrefDialog::BuildLayout() {
  auto* retrieve = new QGroupBox(this);
  auto* retrieveLayout = new QVBoxLayout(retrieve);
  retrieveLayout->addWidget(retrieveQuestion_);
  auto* boxes = new QGridLayout;
  constexpr int kColumns = 4;
  for (int i = 0; i < kMultiCount; ++i) boxes->addWidget(retrieveBoxes_[i], i / kColumns, i % kColumns);
  retrieveLayout->addLayout(boxes);
  retrieveLayout->addWidget(retrieveNote_);

  auto* workspace = new QGroupBox(this);
  auto* workspaceLayout = new QVBoxLayout(workspace);
  auto* question = new QHBoxLayout;
  question->addWidget(loadAtStart_);
  question->addWidget(loadQuestion_, 1);
  workspaceLayout->addLayout(question);
  auto* pathRow = new QHBoxLayout;
  pathRow->addWidget(workspacePath_, 1);
  pathRow->addWidget(browse_);
  workspaceLayout->addLayout(pathRow);

  auto* midi = new QGroupBox(this);
  auto* midiLayout = new QFormLayout(midi);
  midiLayout->addRow(inLabel_, inDevices_);
  midiLayout->addRow(outLabel_, outDevices_);
  midiLayout->addRow(channelLabel_, perfChannels_);
  inDevices_->setMinimumContentsLength(24);
  outDevices_->setMinimumContentsLength(24);

  auto* density = new QGroupBox(this);
  auto* densityLayout = new QVBoxLayout(density);
  densityLabels_[2]->setAlignment(Qt::AlignHCenter);
  densityLayout->addWidget(densityLabels_[2]);
  auto* sliderRow = new QHBoxLayout;
  sliderRow->addWidget(densityLabels_[0]);
  sliderRow->addWidget(density_, 1);
  sliderRow->addWidget(densityLabels_[1]);
  densityLayout->addLayout(sliderRow);

  auto* buttons = new QHBoxLayout;
  buttons->addStretch(1);
  buttons->addWidget(ok_);

  auto* layout = new QVBoxLayout(this);
  layout->addWidget(retrieve);
  layout->addWidget(workspace);
  layout->addWidget(midi);
  layout->addWidget(density);
  layout->addLayout(buttons);
}

bool PrefDialog::eventFilter(QObject* watched, QEvent* event) {
  if (watched != loadQuestion_) return QDialog::eventFilter(watched, event);
  const auto* mouse = dynamic_cast<const QMouseEvent*>(event);
  if (!mouse) return QDialog::eventFilter(watched, event);
  switch (event->type()) {
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonDblClick:
      label3Pressed_ = mouse->button() == Qt::LeftButton;
      return label3Pressed_;
    case QEvent::MouseButtonRelease: {
      if (mouse->button() != Qt::LeftButton || !label3Pressed_) break;
      label3Pressed_ = false;
      // Like a check box: a release away from the text leaves it as it was.
      if (loadQuestion_->rect().contains(mouse->position().toPoint()) && loadAtStart_->isEnabled()) {
        loadAtStart_->setFocus(Qt::MouseFocusReason);
        loadAtStart_->click();
      }
      return true;
    }
    default:
      break;
  }
  return QDialog::eventFilter(watched, event);
}

QString PrefDialog::PreferencesFile() const {
  return QDir(folder_).filePath(QString::fromLatin1(kPrefFileName));
}

void PrefDialog::ReadPreferences() {
  const PreferencesFileRead read = ReadPreferencesFile(PreferencesFile().toStdString());
  switch (read.status) {
    case PreferencesFileRead::Status::kMissing:
      perfChannels_->setCurrentIndex(0);
      return;
    case PreferencesFileRead::Status::kTooLong:
      prompts_.Message(WrongTypeText(FileKind::kAllMultis));
      perfChannels_->setCurrentIndex(0);
      return;
    case PreferencesFileRead::Status::kRead:
      ApplyRecord(read.record);
      return;
  }
}

void PrefDialog::ApplyRecord(const PreferencesRecord& record) {
  for (int i = 0; i < kMultiCount; ++i) retrieveBoxes_[i]->setChecked(record.RtrvAtStart[i] != 0);
  SelectRowIfListed(inDevices_, record.MidiInDevIdx);
  SelectRowIfListed(outDevices_, record.MidiOutDevIdx);
  loadAtStart_->setChecked(record.LoadWsAtStart != 0);
  workspacePath_->setText(PathFromBytes(record.WsPath));
  density_->setValue(record.Density >= 0 && record.Density <= kMaxDensity ? record.Density : 0);
  perfChannels_->setCurrentIndex(record.PerfChannel >= 0 && record.PerfChannel < kChannelCount ? record.PerfChannel
                                                                                              : 0);
}

PreferencesRecord PrefDialog::ToRecord() const {
  PreferencesRecord record;
  for (int i = 0; i < kMultiCount; ++i) record.RtrvAtStart[i] = retrieveBoxes_[i]->isChecked() ? 1 : 0;
  record.MidiInDevIdx = DeviceRowByte(inDevices_->currentIndex());
  record.MidiOutDevIdx = DeviceRowByte(outDevices_->currentIndex());
  record.LoadWsAtStart = loadAtStart_->isChecked() ? 1 : 0;
  record.WsPath = workspacePath_->text().toStdString();
  record.Density = static_cast<std::int16_t>(density_->value());
  record.PerfChannel = static_cast<std::int16_t>(PerfChannelRow());
  return record;
}

bool PrefDialog::SavePreferences() {
  const std::string path = PreferencesFile().toStdString();
  const FileWriteResult written = WritePreferencesFile(path, ToRecord());
  if (!written) prompts_.Message(FailedSaveText(path, written.reason));
  return written.ok;
}

int PrefDialog::PerfChannelRow() const { return std::max(0, perfChannels_->currentIndex()); }

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
  if (auto name = prompts_.OpenFile(filter)) workspacePath_->setText(QString::fromStdString(*name));
}

}  // namespace qv
