#include "mainwindow/multi_edit_panel.h"

#include <algorithm>
#include <cmath>

#include <QButtonGroup>
#include <QCheckBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QLocale>
#include <QPushButton>
#include <QRadioButton>
#include <QRegularExpression>
#include <QSignalBlocker>
#include <QVBoxLayout>

#include "instrument/messages.h"
#include "mainwindow/command.h"
#include "mainwindow/latin1.h"

namespace qv {

namespace {

constexpr int kVoiceBlock = 0;
constexpr int kMsbByte = 10, kLsbByte = 11, kPrgByte = 12;

const char* const kVoiceTip = "If you wish to call up a voice directly, enter new values for msb,lsb, and prg and click change.";

std::string DecimalPoint() { return QLocale::system().decimalPoint().toStdString(); }

}  // namespace

std::optional<int> VoiceNumber(const QString& text) {
  QString number = text.trimmed();
  const QString point = QLocale::system().decimalPoint();
  if (point != QStringLiteral(".")) number.replace(point, QStringLiteral("."));
  static const QRegularExpression form(QStringLiteral(R"(^[+-]?([0-9]+(\.[0-9]*)?|\.[0-9]+)$)"));
  if (!form.match(number).hasMatch()) return std::nullopt;
  bool ok = false;
  const double value = number.toDouble(&ok);
  if (!ok) return std::nullopt;
  const double whole = std::floor(value);
  if (whole < 0 || whole > 127) return std::nullopt;
  return static_cast<int>(whole);
}

MultiEditPanel::MultiEditPanel(Session& session, QWidget* parent)
    : QTabWidget(parent), session_(session), model_(session.Model()), link_(session.Link()) {
  setObjectName(QStringLiteral("SSTab1"));
  BuildPages();
  setVisible(false);
}

void MultiEditPanel::BuildPages() {
  std::array<QWidget*, 3> pages{};
  for (int i = 0; i < 3; ++i) {
    pages[i] = new QWidget(this);
    pages[i]->setObjectName(QStringLiteral("Page%1").arg(i + 1));
    new QGridLayout(pages[i]);
    addTab(pages[i], QStringLiteral("Page %1").arg(i + 1));
  }
  BuildSliders(pages);

  // Page 1: the voice and the name.
  auto* voice = new QGroupBox(QStringLiteral("Voice"), pages[0]);
  auto* voiceLayout = new QGridLayout(voice);
  Label18 = new QLabel(QStringLiteral(" msb    lsb     prg"), voice);
  Label18->setObjectName(QStringLiteral("Label18"));
  voiceLayout->addWidget(Label18, 0, 0, 1, 3);
  QLineEdit** boxes[] = {&TxtMsb, &TxtLsb, &TxtPrg};
  const char* boxNames[] = {"TxtMsb", "TxtLsb", "TxtPrg"};
  for (int i = 0; i < 3; ++i) {
    auto* box = new QLineEdit(voice);
    box->setObjectName(QString::fromLatin1(boxNames[i]));
    box->setToolTip(QString::fromLatin1(kVoiceTip));
    box->setFixedWidth(48);
    voiceLayout->addWidget(box, 1, i);
    *boxes[i] = box;
  }
  CmdVocChng = new QPushButton(QStringLiteral("Change"), voice);
  CmdVocChng->setObjectName(QStringLiteral("CmdVocChng"));
  CmdVocChng->setToolTip(QString::fromLatin1(kVoiceTip));
  voiceLayout->addWidget(CmdVocChng, 1, 3);
  connect(CmdVocChng, &QPushButton::clicked, this, AsCommand(link_, [this] { CmdVocChng_Click(); }));

  auto* nameBox = new QWidget(pages[0]);
  auto* nameLayout = new QVBoxLayout(nameBox);
  TxtName1 = new QLineEdit(nameBox);
  TxtName1->setObjectName(QStringLiteral("TxtName1"));
  TxtName1->setToolTip(QStringLiteral("Type to change name of multi."));
  connect(TxtName1, &QLineEdit::textChanged, this, AsCommand(link_, [this] { TxtName1_Change(); }));
  CmdDone1 = new QPushButton(QStringLiteral("Done"), nameBox);
  CmdDone1->setObjectName(QStringLiteral("CmdDone1"));
  CmdDone1->setToolTip(QStringLiteral("Close Edit panel."));
  connect(CmdDone1, &QPushButton::clicked, this, AsCommand(link_, [this] { CmdDone1_Click(); }));
  nameLayout->addWidget(TxtName1);
  nameLayout->addWidget(CmdDone1, 0, Qt::AlignRight);
  auto* page1 = static_cast<QGridLayout*>(pages[0]->layout());
  page1->addWidget(voice, 2, 0);
  page1->addWidget(nameBox, 2, 1);

  // Page 2: the portamento switch joins its slider.
  QGroupBox* portamento = SliderGroup("Portamento");
  auto* portLayout = static_cast<QGridLayout*>(portamento->layout());
  ChckPort = new QCheckBox(QStringLiteral("On/Off"), portamento);
  ChckPort->setObjectName(QStringLiteral("ChckPort"));
  portLayout->addWidget(ChckPort, portLayout->rowCount(), 0, 1, 3);
  connect(ChckPort, &QCheckBox::clicked, this, AsCommand(link_, [this] { ChckPort_Click(); }));

  // Page 3: the option groups.
  auto* frames = new QWidget(pages[2]);
  auto* framesLayout = new QHBoxLayout(frames);
  options_[0].which = kSwKeyAssign;
  options_[1].which = kSwMonoPoly;
  options_[2].which = kSwPartMode;
  Frame3 = BuildOptionFrame(frames, "Frame3", "Same Note No. Key On Assign", "Option1", {"Single", "Multi", "Inst"},
                            Option1.data(), options_[0]);
  Frame4 = BuildOptionFrame(frames, "Frame4", "Mono/Poly Mode", "Option2", {"Mono", "Poly"}, Option2.data(),
                            options_[1]);
  Frame5 = BuildOptionFrame(frames, "Frame5", "Part Mode", "Option3", {"Norm", "Drum", "Drum1", "Drum2"},
                            Option3.data(), options_[2]);
  for (QGroupBox* frame : {Frame3, Frame4, Frame5}) framesLayout->addWidget(frame);
  // At first the default part's states, so that opening the panel on a
  // default part has nothing to send.
  ShowSwitches();
  connect(options_[0].buttons, &QButtonGroup::idClicked, this, AsCommand(link_, [this] { Option1_Click(); }));
  connect(options_[1].buttons, &QButtonGroup::idClicked, this, AsCommand(link_, [this] { Option2_Click(); }));
  connect(options_[2].buttons, &QButtonGroup::idClicked, this, AsCommand(link_, [this] { ApplyPartMode(); }));
  static_cast<QGridLayout*>(pages[2]->layout())->addWidget(frames, 2, 0, 1, 2);

  // Pages 2 and 3: the part's caption and a Done button.
  for (int i = 0; i < 2; ++i) {
    QWidget* page = pages[i + 1];
    auto* footer = new QWidget(page);
    auto* footerLayout = new QHBoxLayout(footer);
    Label34[i] = new QLabel(footer);
    Label34[i]->setObjectName(QStringLiteral("Label34_%1").arg(i));
    CmdDone2[i] = new QPushButton(QStringLiteral("Done"), footer);
    CmdDone2[i]->setObjectName(QStringLiteral("CmdDone2_%1").arg(i));
    connect(CmdDone2[i], &QPushButton::clicked, this, AsCommand(link_, [this, i] { CmdDone2_Click(i); }));
    footerLayout->addWidget(Label34[i], 1);
    footerLayout->addWidget(CmdDone2[i]);
    auto* layout = static_cast<QGridLayout*>(page->layout());
    layout->addWidget(footer, layout->rowCount(), 0, 1, 2);
  }

  // Rows keep their natural height; spare room collects at the bottom.
  for (const auto& entry : groups_) {
    auto* layout = static_cast<QGridLayout*>(entry.second->layout());
    layout->setRowStretch(layout->rowCount(), 1);
  }
  for (QWidget* page : pages) {
    auto* layout = static_cast<QGridLayout*>(page->layout());
    layout->setRowStretch(layout->rowCount(), 1);
  }
}

void MultiEditPanel::BuildSliders(const std::array<QWidget*, 3>& pages) {
  std::array<int, 3> groupsOnPage{};
  for (int row = 0; row < kMultiSliderCount; ++row) {
    const MultiSliderDef& def = MultiSliders()[static_cast<std::size_t>(row)];
    const int pageIndex = std::clamp(def.page, 1, 3) - 1;
    QWidget* page = pages[static_cast<std::size_t>(pageIndex)];

    QGroupBox* group = SliderGroup(def.group);
    if (group == nullptr) {
      group = new QGroupBox(QString::fromLatin1(def.group), page);
      new QGridLayout(group);
      const int slot = groupsOnPage[static_cast<std::size_t>(pageIndex)]++;
      static_cast<QGridLayout*>(page->layout())->addWidget(group, slot / 2, slot % 2);
      groups_.emplace_back(QString::fromLatin1(def.group), group);
    }
    auto* layout = static_cast<QGridLayout*>(group->layout());
    const int line = layout->rowCount();

    MultiSliderControl& control = Sliders[static_cast<std::size_t>(row)];
    control.def = &def;
    control.label = new QLabel(QString::fromLatin1(def.label), group);
    control.label->setObjectName(QStringLiteral("Labelx1_%1").arg(row));
    control.slider = new ReleaseSlider(Qt::Horizontal, group);
    control.slider->setObjectName(QString::fromLatin1(def.name));
    control.slider->setRange(def.minimum, def.maximum);
    control.slider->setValue(def.initial);
    control.slider->setMinimumWidth(160);
    control.readout = new QLineEdit(group);
    control.readout->setObjectName(QString::fromLatin1(def.readout));
    control.readout->setFixedWidth(64);
    control.readout->setText(QString::fromStdString(ReadoutText(def.format, def.initial, DecimalPoint())));
    layout->addWidget(control.label, line, 0);
    layout->addWidget(control.slider, line, 1);
    layout->addWidget(control.readout, line, 2);

    connect(control.slider, &QSlider::valueChanged, this, [this, row] { SliderUpdate(row); });
    connect(control.slider, &ReleaseSlider::Released, this, AsCommand(link_, [this, row] { SliderRelease(row); }));
  }
}

QGroupBox* MultiEditPanel::BuildOptionFrame(QWidget* parent, const char* name, const char* title,
                                            const char* buttonName,
                                            const std::initializer_list<const char*>& captions, QRadioButton** into,
                                            OptionGroup& group) {
  auto* frame = new QGroupBox(QString::fromLatin1(title), parent);
  frame->setObjectName(QString::fromLatin1(name));
  auto* layout = new QVBoxLayout(frame);
  group.buttons = new QButtonGroup(frame);
  int index = 0;
  for (const char* caption : captions) {
    auto* button = new QRadioButton(QString::fromLatin1(caption), frame);
    button->setObjectName(QStringLiteral("%1_%2").arg(QString::fromLatin1(buttonName)).arg(index));
    group.buttons->addButton(button, index);
    layout->addWidget(button);
    into[index++] = button;
  }
  return frame;
}

QGroupBox* MultiEditPanel::SliderGroup(const char* title) const {
  const QString wanted = QString::fromLatin1(title);
  for (const auto& [caption, group] : groups_)
    if (caption == wanted) return group;
  return nullptr;
}

ReleaseSlider* MultiEditPanel::Slider(const char* name) const {
  const int row = MultiSliderRow(name);
  return row < 0 ? nullptr : Sliders[static_cast<std::size_t>(row)].slider;
}

QLineEdit* MultiEditPanel::Readout(const char* name) const {
  const int row = MultiSliderRow(name);
  return row < 0 ? nullptr : Sliders[static_cast<std::size_t>(row)].readout;
}

QLabel* MultiEditPanel::Labelx1(int index) const {
  if (index < 0 || index >= kMultiSliderCount) return nullptr;
  return Sliders[static_cast<std::size_t>(index)].label;
}

// ---------------------------------------------------------------- opening

void MultiEditPanel::EditMult(int part) {
  if (!IsMultiPart(part)) return;
  session_.SetEditPart(part);
  SetNameText(PartCaption(part));
  ShowMultEdit();
  SetVariationSendEnabled(part == kFirstMultiPart);
  show();
}

void MultiEditPanel::Listen(const EditorSignals& notices) {
  connect(&notices, &EditorSignals::MultiEditPanelToShow, this, &MultiEditPanel::EditMult);
  connect(&notices, &EditorSignals::PartToEdit, this, [this](int part) {
    if (isVisible()) EditMult(part);
  });
  connect(&notices, &EditorSignals::EditedNameToShow, this, &MultiEditPanel::ShowEditedName);
  connect(&notices, &EditorSignals::EditPanelToRefill, this, &MultiEditPanel::ShowMultEdit);
  connect(&notices, &EditorSignals::MultiEditPanelToHide, this, &QWidget::hide);
}

void MultiEditPanel::ShowMultEdit() {
  const int part = model_.EditPart;
  if (!IsMultiPart(part)) return;

  for (MultiSliderControl& control : Sliders) LoadSlider(control);

  const auto decimal = [&](int byte) {
    return QString::number(model_.PartBlk.At(byte, kVoiceBlock, part));
  };
  TxtMsb->setText(decimal(kMsbByte));
  TxtLsb->setText(decimal(kLsbByte));
  TxtPrg->setText(decimal(kPrgByte));

  // A switch whose shown state changes stores and sends its value; a stored
  // value that names no state shows none and sends nothing.
  session_.ShowEditSwitches();
  ShowSwitches();

  SetNameText(PartCaption(part));
  const QString caption = ShownLatin1(session_.State().Caption(part));
  for (QLabel* label : Label34) label->setText(caption);

  for (int row = 0; row < kMultiSliderCount; ++row) SliderUpdate(row);
}

void MultiEditPanel::LoadSlider(MultiSliderControl& control) {
  const MultiSliderDef& def = *control.def;
  const int part = model_.EditPart;
  const Byte first = model_.PartBlk.At(def.byte, def.block, part);
  const Byte second = def.kind == SliderKind::Detune ? model_.PartBlk.At(def.byte + 1, def.block, part) : Byte{0};
  const int position = PositionFromByte(def.kind, first, second);
  // Outside the range the slider stands at its nearest end; nothing is
  // stored or sent, and the read-out is refreshed later from the slider.
  const QSignalBlocker quiet(control.slider);
  control.slider->setValue(std::clamp(position, def.minimum, def.maximum));
}

void MultiEditPanel::ShowSwitches() {
  const auto& shown = session_.State().ShownSwitches;
  ChckPort->setChecked(shown[kSwPortamento] == 1);
  for (OptionGroup& group : options_) {
    const int value = shown[static_cast<std::size_t>(group.which)];
    if (QAbstractButton* button = group.buttons->button(value)) {
      button->setChecked(true);
    } else if (QAbstractButton* checked = group.buttons->checkedButton()) {
      group.buttons->setExclusive(false);
      checked->setChecked(false);
      group.buttons->setExclusive(true);
    }
  }
}

QString MultiEditPanel::PartCaption(int part) const { return FromLatin1(session_.State().Caption(part)); }

void MultiEditPanel::ShowEditedName(bool evenIfHidden) {
  if ((evenIfHidden || isVisible()) && IsMultiPart(model_.EditPart)) TxtName1->setText(PartCaption(model_.EditPart));
}

void MultiEditPanel::SetVariationSendEnabled(bool enabled) {
  const MultiSliderControl& control = Sliders[kVariationSendRow];
  control.slider->setEnabled(enabled);
  control.readout->setEnabled(enabled);
  control.label->setEnabled(enabled);
}

// ---------------------------------------------------------------- sliders

void MultiEditPanel::SliderUpdate(int row) {
  if (row < 0 || row >= kMultiSliderCount) return;
  const MultiSliderControl& control = Sliders[static_cast<std::size_t>(row)];
  control.readout->setText(
      QString::fromStdString(ReadoutText(control.def->format, control.slider->value(), DecimalPoint())));
}

void MultiEditPanel::SliderRelease(int row) {
  const int part = model_.EditPart;
  if (row < 0 || row >= kMultiSliderCount || !IsMultiPart(part)) return;
  const MultiSliderControl& control = Sliders[static_cast<std::size_t>(row)];
  const MultiSliderDef& def = *control.def;
  const Bytes data = ByteFromPosition(def.kind, control.slider->value());
  for (std::size_t i = 0; i < data.size(); ++i)
    model_.PartBlk.At(def.byte + static_cast<int>(i), def.block, part) = data[i];
  const Byte pp = static_cast<Byte>(part);
  link_.SendSysEx(data.size() == 2 ? XgParmChange(def.a1, pp, def.a3, data[0], data[1])
                                   : XgParmChange(def.a1, pp, def.a3, data[0]));
}

// ---------------------------------------------------------------- switches

void MultiEditPanel::ChckPort_Click() { session_.SetEditSwitch(kSwPortamento, ChckPort->isChecked() ? 1 : 0); }

void MultiEditPanel::OptionClicked(const OptionGroup& group) {
  // The value is the index of the selected button, found by testing them in turn.
  const QList<QAbstractButton*> buttons = group.buttons->buttons();
  for (QAbstractButton* button : buttons) {
    if (button->isChecked()) {
      session_.SetEditSwitch(group.which, group.buttons->id(button));
      return;
    }
  }
}

void MultiEditPanel::Option1_Click() { OptionClicked(options_[0]); }
void MultiEditPanel::Option2_Click() { OptionClicked(options_[1]); }
void MultiEditPanel::ApplyPartMode() { OptionClicked(options_[2]); }

// ---------------------------------------------------------------- voice and name

// A box that holds no number 0..127 leaves everything as it was.
void MultiEditPanel::CmdVocChng_Click() {
  const std::optional<int> msb = VoiceNumber(TxtMsb->text());
  const std::optional<int> lsb = VoiceNumber(TxtLsb->text());
  const std::optional<int> prg = VoiceNumber(TxtPrg->text());
  if (msb && lsb && prg) session_.SetVoice(model_.EditPart, *msb, *lsb, *prg);
}

void MultiEditPanel::SetNameText(const QString& text) {
  {
    const QSignalBlocker quiet(TxtName1);
    TxtName1->setText(text);
  }
  TxtName1_Change();
}

void MultiEditPanel::TxtName1_Change() {
  const int part = model_.EditPart;
  if (!IsMultiPart(part)) return;
  // A character Latin-1 does not have is "?" in the caption and in the box.
  const std::string typed = ToLatin1(TxtName1->text());
  if (const QString held = FromLatin1(typed); held != TxtName1->text()) {
    const QSignalBlocker quiet(TxtName1);
    const int cursor = TxtName1->cursorPosition();
    TxtName1->setText(held);
    TxtName1->setCursorPosition(cursor);
  }
  session_.SetPartCaption(part, PartCaptionFor(typed, part));
  const QString caption = ShownLatin1(session_.State().Caption(part));
  for (QLabel* label : Label34) label->setText(caption);
}

void MultiEditPanel::CmdDone1_Click() { hide(); }

void MultiEditPanel::CmdDone2_Click(int /*index*/) { hide(); }

}  // namespace qv
