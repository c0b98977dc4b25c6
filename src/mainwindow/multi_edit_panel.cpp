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

const char* const kVoiceTip = "If you wish to call up a voice directly, enter new values for msb,lsb, and prg and click change.";

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
    : QTabWidget(parent), session_(session), state_(session.State()) {
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

  BuildVoiceAndName(pages[0]);

  // Page 2: the portamento switch joins its slider.
  QGroupBox* portamento = SliderGroup("Portamento");
  auto* portLayout = static_cast<QGridLayout*>(portamento->layout());
  portamento_ = new QCheckBox(QStringLiteral("On/Off"), portamento);
  portamento_->setObjectName(QStringLiteral("ChckPort"));
  portLayout->addWidget(portamento_, portLayout->rowCount(), 0, 1, 3);
  connect(portamento_, &QCheckBox::clicked, this, AsCommand(session_, [this] { ChckPort_Click(); }));

  // Page 3: the option groups.
  auto* frames = new QWidget(pages[2]);
  auto* framesLayout = new QHBoxLayout(frames);
  options_[0].which = kSwKeyAssign;
  options_[1].which = kSwMonoPoly;
  options_[2].which = kSwPartMode;
  framesLayout->addWidget(BuildOptionFrame(frames, "Frame3", "Same Note No. Key On Assign", "Option1",
                                           {"Single", "Multi", "Inst"}, options_[0]));
  framesLayout->addWidget(BuildOptionFrame(frames, "Frame4", "Mono/Poly Mode", "Option2", {"Mono", "Poly"}, options_[1]));
  framesLayout->addWidget(BuildOptionFrame(frames, "Frame5", "Part Mode", "Option3", {"Norm", "Drum", "Drum1", "Drum2"},
                                           options_[2]));
  // At first the default part's states, so that opening the panel on a
  // default part has nothing to send.
  ShowSwitches();
  connect(options_[0].buttons, &QButtonGroup::idClicked, this, AsCommand(session_, [this] { Option1_Click(); }));
  connect(options_[1].buttons, &QButtonGroup::idClicked, this, AsCommand(session_, [this] { Option2_Click(); }));
  connect(options_[2].buttons, &QButtonGroup::idClicked, this, AsCommand(session_, [this] { ApplyPartMode(); }));
  static_cast<QGridLayout*>(pages[2]->layout())->addWidget(frames, 2, 0, 1, 2);

  // Pages 2 and 3: the part's caption and a Done button.
  for (int i = 0; i < 2; ++i) {
    QWidget* page = pages[i + 1];
    auto* footer = new QWidget(page);
    auto* footerLayout = new QHBoxLayout(footer);
    captions_[i] = new QLabel(footer);
    captions_[i]->setObjectName(QStringLiteral("Label34_%1").arg(i));
    auto* done = new QPushButton(QStringLiteral("Done"), footer);
    done->setObjectName(QStringLiteral("CmdDone2_%1").arg(i));
    connect(done, &QPushButton::clicked, this, AsCommand(session_, [this] { CmdDone_Click(); }));
    footerLayout->addWidget(captions_[i], 1);
    footerLayout->addWidget(done);
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

void MultiEditPanel::BuildVoiceAndName(QWidget* page) {
  auto* voice = new QGroupBox(QStringLiteral("Voice"), page);
  auto* voiceLayout = new QGridLayout(voice);
  auto* heading = new QLabel(QStringLiteral(" msb    lsb     prg"), voice);
  heading->setObjectName(QStringLiteral("Label18"));
  voiceLayout->addWidget(heading, 0, 0, 1, 3);
  QLineEdit** boxes[] = {&msb_, &lsb_, &prg_};
  const char* boxNames[] = {"TxtMsb", "TxtLsb", "TxtPrg"};
  for (int i = 0; i < 3; ++i) {
    auto* box = new QLineEdit(voice);
    box->setObjectName(QString::fromLatin1(boxNames[i]));
    box->setToolTip(QString::fromLatin1(kVoiceTip));
    box->setFixedWidth(48);
    voiceLayout->addWidget(box, 1, i);
    *boxes[i] = box;
  }
  changeVoice_ = new QPushButton(QStringLiteral("Change"), voice);
  changeVoice_->setObjectName(QStringLiteral("CmdVocChng"));
  changeVoice_->setToolTip(QString::fromLatin1(kVoiceTip));
  voiceLayout->addWidget(changeVoice_, 1, 3);
  connect(changeVoice_, &QPushButton::clicked, this, AsCommand(session_, [this] { CmdVocChng_Click(); }));

  auto* nameBox = new QWidget(page);
  auto* nameLayout = new QVBoxLayout(nameBox);
  name_ = new QLineEdit(nameBox);
  name_->setObjectName(QStringLiteral("TxtName1"));
  name_->setToolTip(QStringLiteral("Type to change name of multi."));
  name_->setMaxLength(static_cast<int>(kNameLength));  // the caption keeps no more
  connect(name_, &QLineEdit::textEdited, this, AsCommand(session_, [this] { TxtName1_Change(); }));
  auto* done = new QPushButton(QStringLiteral("Done"), nameBox);
  done->setObjectName(QStringLiteral("CmdDone1"));
  done->setToolTip(QStringLiteral("Close Edit panel."));
  connect(done, &QPushButton::clicked, this, AsCommand(session_, [this] { CmdDone_Click(); }));
  nameLayout->addWidget(name_);
  nameLayout->addWidget(done, 0, Qt::AlignRight);
  auto* layout = static_cast<QGridLayout*>(page->layout());
  layout->addWidget(voice, 2, 0);
  layout->addWidget(nameBox, 2, 1);
}

void MultiEditPanel::BuildSliders(const std::array<QWidget*, 3>& pages) {
  std::array<int, 3> groupsOnPage{};
  for (int row = 0; row < kMultiParamCount; ++row) {
    const MultiSliderDef& def = MultiSliders()[static_cast<std::size_t>(row)];
    const MultiParam& param = ParamOf(def.param);
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

    auto* slider =
        new SliderRow({def.label, def.name, def.readout, param.minimum, param.maximum, def.initial, def.format}, group);
    slider->Label()->setObjectName(QStringLiteral("Labelx1_%1").arg(row));
    slider->Slider()->setMinimumWidth(160);
    slider->Readout()->setFixedWidth(64);
    slider->AddTo(layout, layout->rowCount(), 0);
    sliders_[IndexOf(def.param)] = slider;
    connect(slider, &SliderRow::Settled, this, AsCommand(session_, [this, id = def.param] { SliderRelease(id); }));
  }
}

QGroupBox* MultiEditPanel::BuildOptionFrame(QWidget* parent, const char* name, const char* title,
                                            const char* buttonName,
                                            const std::initializer_list<const char*>& captions,
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
    ++index;
  }
  return frame;
}

QGroupBox* MultiEditPanel::SliderGroup(const char* title) const {
  const QString wanted = QString::fromLatin1(title);
  for (const auto& [caption, group] : groups_)
    if (caption == wanted) return group;
  return nullptr;
}

SliderRow* MultiEditPanel::Row(const char* name) const {
  const int row = MultiSliderRow(name);
  return row < 0 ? nullptr : Row(MultiSliders()[static_cast<std::size_t>(row)].param);
}

ReleaseSlider* MultiEditPanel::Slider(const char* name) const {
  const SliderRow* row = Row(name);
  return row == nullptr ? nullptr : row->Slider();
}

QLineEdit* MultiEditPanel::Readout(const char* name) const {
  const SliderRow* row = Row(name);
  return row == nullptr ? nullptr : row->Readout();
}

QLabel* MultiEditPanel::Labelx1(int index) const {
  if (index < 0 || index >= kMultiParamCount) return nullptr;
  return Row(MultiSliders()[static_cast<std::size_t>(index)].param)->Label();
}

// ---------------------------------------------------------------- opening

void MultiEditPanel::ShowPart(int part) {
  ShowMultEdit();
  EnableFirstPartOnly(part == kFirstMultiPart);
  show();
}

void MultiEditPanel::Listen(const EditorSignals& notices) {
  connect(&notices, &EditorSignals::MultiEditPanelToShow, this, &MultiEditPanel::ShowPart);
  connect(&notices, &EditorSignals::EditedNameToShow, this, &MultiEditPanel::ShowEditedName);
  connect(&notices, &EditorSignals::EditPanelToRefill, this, &MultiEditPanel::ShowMultEdit);
  connect(&notices, &EditorSignals::MultiEditPanelToHide, this, &QWidget::hide);
}

void MultiEditPanel::ShowMultEdit() {
  const int part = state_.EditPart();
  if (!IsMultiPart(part)) return;

  // Each slider takes the position of its stored byte; this stores and
  // sends nothing.
  for (const MultiSliderDef& def : MultiSliders())
    Row(def.param)->SetPosition(state_.MultiParamPosition(part, def.param));

  const PartVoice voice = state_.Voice(part);
  msb_->setText(QString::number(voice.msb));
  lsb_->setText(QString::number(voice.lsb));
  prg_->setText(QString::number(voice.prg));

  ShowSwitches();
  ShowEditedName();
}

void MultiEditPanel::ShowSwitches() {
  const auto& shown = state_.ShownSwitches;
  const QSignalBlocker quiet(portamento_);
  portamento_->setChecked(shown[kSwPortamento] == 1);
  for (OptionGroup& group : options_) {
    const QSignalBlocker quietGroup(group.buttons);
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

void MultiEditPanel::ShowEditedName() {
  const int part = state_.EditPart();
  if (!IsMultiPart(part)) return;
  // The name without the blanks that pad it, so that typing at its end adds.
  QString name = FromLatin1(NameInCaption(state_.Caption(part)));
  while (name.endsWith(QLatin1Char(' '))) name.chop(1);
  const QSignalBlocker quiet(name_);
  name_->setText(name);
  ShowCaptionLabels();
}

void MultiEditPanel::ShowCaptionLabels() {
  const QString caption = ShownLatin1(state_.Caption(state_.EditPart()));
  for (QLabel* label : captions_) label->setText(caption);
}

void MultiEditPanel::EnableFirstPartOnly(bool enabled) { Row(kFirstPartOnly)->SetEnabled(enabled); }

// ---------------------------------------------------------------- sliders

void MultiEditPanel::SliderRelease(PartParam param) {
  if (IndexOf(param) >= kMultiParamCount) return;
  session_.SetMultiParam(param, Row(param)->Position());
}

// ---------------------------------------------------------------- switches

void MultiEditPanel::ChckPort_Click() { session_.SetEditSwitch(kSwPortamento, portamento_->isChecked() ? 1 : 0); }

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
  const std::optional<int> msb = VoiceNumber(msb_->text());
  const std::optional<int> lsb = VoiceNumber(lsb_->text());
  const std::optional<int> prg = VoiceNumber(prg_->text());
  if (msb && lsb && prg) session_.SetVoice(state_.EditPart(), *msb, *lsb, *prg);
}

void MultiEditPanel::TxtName1_Change() {
  if (!IsMultiPart(state_.EditPart())) return;
  // A character Latin-1 does not have is "?" in the caption and in the box.
  const std::string typed = ToLatin1(name_->text());
  if (const QString held = FromLatin1(typed); held != name_->text()) {
    const QSignalBlocker quiet(name_);
    const int cursor = name_->cursorPosition();
    name_->setText(held);
    name_->setCursorPosition(cursor);
  }
  session_.SetEditedName(typed);
  ShowCaptionLabels();
}

void MultiEditPanel::CmdDone_Click() { session_.HideMultiEditPanel(); }

}  // namespace qv
