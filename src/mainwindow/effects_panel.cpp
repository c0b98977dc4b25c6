#include "mainwindow/effects_panel.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSignalBlocker>
#include <QTimer>
#include <algorithm>

#include "instrument/messages.h"
#include "mainwindow/command.h"

namespace qv {

namespace {

constexpr int kCom2Kind = 6;       // block kind of Com2 for SendLongMsg
constexpr int kEffectBytes = 35;   // Com2, EffOrig and EffSave: bytes 0..34
constexpr Byte kEffectA1 = 0x60;
constexpr Byte kEffectA2 = 0x00;

struct TypeListDef {
  const char* name;
  const char* label;
  const char* toolTip;
  const std::vector<EffType>& (*table)();
  int msbByte;
  Byte address;
};
constexpr TypeListDef kTypeLists[3] = {
    {"CmbRvrb", "Reverb", "Choose a different reverb type.", &RvrbTypes, 9, 0x40},
    {"CmbChrs", "Chorus", "Choose a different Chorus type.", &ChrsTypes, 11, 0x42},
    {"CmbVar", "Variation", "Choose a different Variation type.", &VarTypes, 13, 0x44},
};

struct SendRowDef {
  const char* slider;
  const char* readout;
  const char* label;
  int byte;
  Byte address;
  int initial;
};
constexpr SendRowDef kSendRows[3] = {
    {"SldEffSndCtoR", "Text30", "Send Chorus to Rvrb", 29, 0x54, 0},
    {"SldEffVarRvbSnd", "Text31", "Vari Reverb Send", 30, 0x55, 40},
    {"SldEffVarChrSnd", "Text32", "Vari Chorus Send", 31, 0x56, 0},
};

// A stored effect block that can go to the instrument: a system-exclusive
// message from F0 at index 0 to F7 at its last index.
bool IsEffectBlock(const std::array<Byte, kEffectBytes>& block) {
  const int len = BlkLen(kCom2Kind);
  return block[0] == 0xF0 && block[static_cast<std::size_t>(len - 1)] == 0xF7;
}

}  // namespace

EffectsPanel::EffectsPanel(DataModel& model, MidiLink& link, EffectsHost& host, QWidget* parent)
    : QTabWidget(parent), model_(model), link_(link), host_(host) {
  setObjectName("SSTab2");
  BuildControls();
  hide();
}

void EffectsPanel::BuildControls() {
  auto* page = new QWidget(this);
  page->setObjectName("EffectsTab");
  auto* grid = new QGridLayout(page);

  // The type lists on the left and the send rows beside them keep the panel
  // low enough to share the window's height with the multi edit panel.
  int row = 0;
  for (std::size_t i = 0; i < types.size(); ++i, ++row) {
    const TypeListDef& def = kTypeLists[i];
    TypeList& type = types[i];
    type.table = def.table;
    type.msbByte = def.msbByte;
    type.address = def.address;
    type.list = new QComboBox(page);
    type.list->setObjectName(def.name);
    type.list->setEditable(false);
    type.list->setToolTip(def.toolTip);
    type.list->setSizeAdjustPolicy(QComboBox::AdjustToContents);
    type.list->setMinimumContentsLength(14);  // the longest type names
    auto* label = new QLabel(def.label, page);
    label->setBuddy(type.list);
    grid->addWidget(label, row, 0);
    grid->addWidget(type.list, row, 1);

    // A row chosen by code or by the user changes the row and runs the
    // handler; the user choosing the row already shown runs it as well.
    connect(type.list, &QComboBox::currentIndexChanged, this, AsCommand(link_, [this, &type] {
      type.echo = true;
      QTimer::singleShot(0, this, [&type] { type.echo = false; });
      TypeList_Click(type);
    }));
    connect(type.list, &QComboBox::activated, this, AsCommand(link_, [this, &type] {
      if (type.echo) {
        type.echo = false;  // the change of row has run the handler already
        return;
      }
      TypeList_Click(type);
    }));
  }

  row = 0;
  for (std::size_t i = 0; i < sends.size(); ++i, ++row) {
    const SendRowDef& def = kSendRows[i];
    SendRow& send = sends[i];
    send.byte = def.byte;
    send.address = def.address;
    send.label = new QLabel(def.label, page);
    send.slider = new ReleaseSlider(Qt::Horizontal, page);
    send.slider->setObjectName(def.slider);
    send.slider->setRange(0, 127);
    send.slider->setValue(def.initial);
    send.slider->setMinimumWidth(128);
    send.readout = new QLineEdit(page);
    send.readout->setObjectName(def.readout);
    send.readout->setReadOnly(true);
    send.readout->setMaxLength(3);
    send.readout->setFixedWidth(send.readout->fontMetrics().horizontalAdvance(QStringLiteral("0000")) + 12);
    send.label->setBuddy(send.slider);
    grid->addWidget(send.label, row, 2);
    grid->addWidget(send.slider, row, 3);
    grid->addWidget(send.readout, row, 4);
    SendRow_Update(send);

    connect(send.slider, &QSlider::valueChanged, this, [this, &send](int) { SendRow_Update(send); });
    connect(send.slider, &ReleaseSlider::Released, this,
            AsCommand(link_, [this, &send] { SendRow_Release(send); }));
  }

  ChkEffByPass = new QCheckBox("Bypass", page);
  ChkEffByPass->setObjectName("ChkEffByPass");
  ChkEffByPass->setToolTip("Click to temporarily bypass all effects.");
  CmdEffReset = new QPushButton("Reset", page);
  CmdEffReset->setObjectName("CmdEffReset");
  CmdEffReset->setToolTip("Click to reset effects to the original settings used by the performance.");
  CmdEffDn1 = new QPushButton("Done", page);
  CmdEffDn1->setObjectName("CmdEffDn1");
  CmdEffDn1->setToolTip("Close Effects panel.");
  auto* buttons = new QHBoxLayout;
  buttons->addWidget(ChkEffByPass);
  buttons->addStretch(1);
  buttons->addWidget(CmdEffReset);
  buttons->addWidget(CmdEffDn1);
  grid->addLayout(buttons, row, 0, 1, 5);
  grid->setColumnStretch(3, 1);

  connect(ChkEffByPass, &QCheckBox::toggled, this, AsCommand(link_, [this](bool) { ChkEffByPass_Click(); }));
  connect(CmdEffReset, &QPushButton::clicked, this, AsCommand(link_, [this] { CmdEffReset_Click(); }));
  connect(CmdEffDn1, &QPushButton::clicked, this, AsCommand(link_, [this] { CmdEffDn1_Click(); }));

  CmbRvrb = types[0].list;
  CmbChrs = types[1].list;
  CmbVar = types[2].list;
  SldEffSndCtoR = sends[0].slider;
  SldEffVarRvbSnd = sends[1].slider;
  SldEffVarChrSnd = sends[2].slider;
  Text30 = sends[0].readout;
  Text31 = sends[1].readout;
  Text32 = sends[2].readout;

  addTab(page, "Effects");
}

void EffectsPanel::Listen(const EditorSignals& notices) {
  connect(&notices, &EditorSignals::EffectsPanelToShow, this, &EffectsPanel::EditEffcts);
  connect(&notices, &EditorSignals::PerformanceChosen, this, [this] {
    if (isVisible()) EditEffcts();
  });
  connect(&notices, &EditorSignals::EffectsPanelToHide, this, &QWidget::hide);
  connect(&notices, &EditorSignals::BypassEnded, this, &EffectsPanel::EndBypass);
}

void EffectsPanel::LoadEffectLists() {
  // Filling a list selects nothing and runs no handler.
  for (TypeList& type : types) {
    const QSignalBlocker blocker(type.list);
    type.list->clear();
    for (const EffType& row : type.table()) type.list->addItem(QString::fromStdString(row.Name));
    type.list->setCurrentIndex(-1);
    type.echo = false;
  }
}

void EffectsPanel::EditEffcts() {
  const bool wasBusy = model_.Busy;
  model_.Busy = true;
  show();

  const auto& com2 = model_.Performance.Com2;
  for (TypeList& type : types) {
    const std::vector<EffType>& table = type.table();
    const int rows = std::min(static_cast<int>(table.size()), type.list->count());
    for (int r = 0; r < rows; ++r) {
      const auto& row = table[static_cast<std::size_t>(r)];
      if (com2[static_cast<std::size_t>(type.msbByte)] == row.Msb &&
          com2[static_cast<std::size_t>(type.msbByte + 1)] == row.Lsb) {
        type.list->setCurrentIndex(r);
      }
    }
    if (type.list->currentIndex() < 0 && type.list->count() > 0) type.list->setCurrentIndex(0);
  }

  for (SendRow& send : sends) send.slider->setValue(com2[static_cast<std::size_t>(send.byte)]);
  for (SendRow& send : sends) SendRow_Update(send);

  std::copy_n(com2.begin(), kEffectBytes, model_.Performance.EffOrig.begin());
  model_.Busy = wasBusy;
}

void EffectsPanel::TypeList_Click(TypeList& type) {
  if (model_.Busy) return;
  const std::vector<EffType>& table = type.table();
  const int r = type.list->currentIndex();
  if (r < 0 || r >= static_cast<int>(table.size())) return;
  const EffType& row = table[static_cast<std::size_t>(r)];
  const Byte msb = static_cast<Byte>(row.Msb);
  const Byte lsb = static_cast<Byte>(row.Lsb);
  model_.Performance.Com2[static_cast<std::size_t>(type.msbByte)] = msb;
  model_.Performance.Com2[static_cast<std::size_t>(type.msbByte + 1)] = lsb;
  link_.SendSysEx(CsParmChange(kEffectA1, kEffectA2, type.address, msb, lsb));
}

void EffectsPanel::SendRow_Release(SendRow& send) {
  const Byte v = static_cast<Byte>(std::clamp(send.slider->value(), 0, 127));
  model_.Performance.Com2[static_cast<std::size_t>(send.byte)] = v;
  link_.SendSysEx(CsParmChange(kEffectA1, kEffectA2, send.address, v));
}

void EffectsPanel::SendRow_Update(SendRow& send) {
  send.readout->setText(QString::number(send.slider->value()));
}

void EffectsPanel::ChkEffByPass_Click() {
  auto& perf = model_.Performance;
  if (ChkEffByPass->isChecked()) {
    std::copy_n(perf.Com2.begin(), kEffectBytes, perf.EffSave.begin());
    // Reverb and chorus "NO EFFECT", variation "THRU"; Com2 keeps the
    // settings to return to.
    Bytes off = CsParmChange(kEffectA1, kEffectA2, 0x40, 0x00, 0x00);
    Append(off, CsParmChange(kEffectA1, kEffectA2, 0x42, 0x00, 0x00));
    Append(off, CsParmChange(kEffectA1, kEffectA2, 0x44, 0x40, 0x00));
    link_.SendSysEx(off);
    SetListsEnabled(false);
  } else {
    RestoreAndSendBlock(perf.EffSave);
    SetListsEnabled(true);
  }
}

void EffectsPanel::CmdEffReset_Click() {
  ChkEffByPass->setChecked(false);  // leaves a bypass through its handler
  SetListsEnabled(true);
  RestoreAndSendBlock(model_.Performance.EffOrig);
  EditEffcts();
}

void EffectsPanel::CmdEffDn1_Click() {
  hide();
  host_.StopAudition();
}

void EffectsPanel::EndBypass() {
  const QSignalBlocker quiet(ChkEffByPass);
  ChkEffByPass->setChecked(false);
  SetListsEnabled(true);
}

void EffectsPanel::SetListsEnabled(bool enabled) {
  for (TypeList& type : types) type.list->setEnabled(enabled);
}

void EffectsPanel::RestoreAndSendBlock(const std::array<Byte, 35>& source) {
  // A copy is taken first: source may be the very block it replaces.
  const std::array<Byte, kEffectBytes> block = source;
  // A block never filled (or loaded damaged) is no message: Com2 keeps its
  // message and nothing leaves.
  if (!IsEffectBlock(block)) return;
  std::copy(block.begin(), block.end(), model_.Performance.Com2.begin());
  std::copy(block.begin(), block.end(), model_.TxBuf.begin());
  link_.SendLongMsg({}, kSendTxBuf, 0, kCom2Kind);
}

}  // namespace qv
