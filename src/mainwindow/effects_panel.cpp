#include "mainwindow/effects_panel.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSignalBlocker>
#include <algorithm>
#include <initializer_list>
#include <optional>

#include "mainwindow/command.h"

namespace qv {

namespace {

// The layout of the rows of EffectTypeParams() and EffectSendParams().
struct TypeListDef {
  const char* name;
  const char* label;
  const char* toolTip;
};
constexpr TypeListDef kTypeLists[kEffectTypeCount] = {
    {"CmbRvrb", "Reverb", "Choose a different reverb type."},
    {"CmbChrs", "Chorus", "Choose a different Chorus type."},
    {"CmbVar", "Variation", "Choose a different Variation type."},
};

struct SendRowDef {
  const char* slider;
  const char* readout;
  const char* label;
  int initial;
};
constexpr SendRowDef kSendRows[kEffectSendCount] = {
    {"SldEffSndCtoR", "Text30", "Send Chorus to Rvrb", 0},
    {"SldEffVarRvbSnd", "Text31", "Vari Reverb Send", 40},
    {"SldEffVarChrSnd", "Text32", "Vari Chorus Send", 0},
};

}  // namespace

EffectsPanel::EffectsPanel(Session& session, QWidget* parent)
    : QTabWidget(parent), session_(session), state_(session.State()) {
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
  for (int i = 0; i < kEffectTypeCount; ++i) {
    const TypeListDef& def = kTypeLists[i];
    auto* list = new QComboBox(page);
    list->setObjectName(def.name);
    list->setEditable(false);
    list->setToolTip(def.toolTip);
    list->setSizeAdjustPolicy(QComboBox::AdjustToContents);
    list->setMinimumContentsLength(14);  // the longest type names
    auto* label = new QLabel(def.label, page);
    label->setBuddy(list);
    grid->addWidget(label, i, 0);
    grid->addWidget(list, i, 1);
    typeLists_[static_cast<std::size_t>(i)] = list;
    // The user choosing a row, also the row already shown.
    connect(list, &QComboBox::activated, this, AsCommand(session_, [this, i] { TypeList_Click(i); }));
  }

  for (int i = 0; i < kEffectSendCount; ++i) {
    const SendRowDef& def = kSendRows[i];
    SendRow& send = sends_[static_cast<std::size_t>(i)];
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
    grid->addWidget(send.label, i, 2);
    grid->addWidget(send.slider, i, 3);
    grid->addWidget(send.readout, i, 4);
    SendRow_Update(i);

    connect(send.slider, &QSlider::valueChanged, this, [this, i](int) { SendRow_Update(i); });
    // A release, and each step by a key or the wheel, stores and sends.
    for (auto settled : {&ReleaseSlider::Released, &ReleaseSlider::Stepped})
      connect(send.slider, settled, this, AsCommand(session_, [this, i] { SendRow_Release(i); }));
  }

  bypass_ = new QCheckBox("Bypass", page);
  bypass_->setObjectName("ChkEffByPass");
  bypass_->setToolTip("Click to temporarily bypass all effects.");
  reset_ = new QPushButton("Reset", page);
  reset_->setObjectName("CmdEffReset");
  reset_->setToolTip("Click to reset effects to the original settings used by the performance.");
  done_ = new QPushButton("Done", page);
  done_->setObjectName("CmdEffDn1");
  done_->setToolTip("Close Effects panel.");
  auto* buttons = new QHBoxLayout;
  buttons->addWidget(bypass_);
  buttons->addStretch(1);
  buttons->addWidget(reset_);
  buttons->addWidget(done_);
  grid->addLayout(buttons, std::max(kEffectTypeCount, kEffectSendCount), 0, 1, 5);
  grid->setColumnStretch(3, 1);

  connect(bypass_, &QCheckBox::clicked, this, AsCommand(session_, [this] { ChkEffByPass_Click(); }));
  connect(reset_, &QPushButton::clicked, this, AsCommand(session_, [this] { CmdEffReset_Click(); }));
  connect(done_, &QPushButton::clicked, this, AsCommand(session_, [this] { CmdEffDn1_Click(); }));

  addTab(page, "Effects");
}

void EffectsPanel::Listen(const EditorSignals& notices) {
  connect(&notices, &EditorSignals::EffectsPanelToShow, this, &EffectsPanel::EditEffcts);
  connect(&notices, &EditorSignals::PerformanceChosen, this, [this] {
    if (state_.EffectsShown) EditEffcts();
  });
  connect(&notices, &EditorSignals::EffectsPanelToHide, this, &QWidget::hide);
  connect(&notices, &EditorSignals::BypassEnded, this, &EffectsPanel::ShowBypass);
}

void EffectsPanel::LoadEffectLists() {
  for (int i = 0; i < kEffectTypeCount; ++i) {
    QComboBox* list = typeLists_[static_cast<std::size_t>(i)];
    const QSignalBlocker quiet(list);
    list->clear();
    for (const EffType& row : EffectTypeParams()[static_cast<std::size_t>(i)].table())
      list->addItem(QString::fromStdString(row.Name));
    list->setCurrentIndex(-1);
  }
}

// Each list shows the row whose MSB and LSB match Com2; a list that finds
// none keeps its row, or shows row 0 when it had none.
void EffectsPanel::EditEffcts() {
  show();
  const auto& com2 = state_.Model.Performance.Com2;
  for (int i = 0; i < kEffectTypeCount; ++i) {
    QComboBox* list = typeLists_[static_cast<std::size_t>(i)];
    const QSignalBlocker quiet(list);
    const std::optional<int> row = state_.EffectTypeRow(i);
    if (row && *row < list->count()) list->setCurrentIndex(*row);
    if (list->currentIndex() < 0 && list->count() > 0) list->setCurrentIndex(0);
  }
  for (int i = 0; i < kEffectSendCount; ++i) {
    const SendRow& send = sends_[static_cast<std::size_t>(i)];
    const QSignalBlocker quiet(send.slider);
    send.slider->setValue(com2[static_cast<std::size_t>(EffectSendParams()[static_cast<std::size_t>(i)].byte)]);
    SendRow_Update(i);
  }
  ShowBypass();
}

// Bypassed: the box checked and the type lists disabled.
void EffectsPanel::ShowBypass() {
  const QSignalBlocker quiet(bypass_);
  bypass_->setChecked(state_.EffectsBypassed);
  for (QComboBox* list : typeLists_) list->setEnabled(!state_.EffectsBypassed);
}

void EffectsPanel::TypeList_Click(int type) {
  session_.SetEffectType(type, typeLists_[static_cast<std::size_t>(type)]->currentIndex());
}

void EffectsPanel::SendRow_Release(int send) {
  session_.SetEffectSend(send, sends_[static_cast<std::size_t>(send)].slider->value());
}

void EffectsPanel::SendRow_Update(int send) {
  const SendRow& row = sends_[static_cast<std::size_t>(send)];
  row.readout->setText(QString::number(row.slider->value()));
}

void EffectsPanel::ChkEffByPass_Click() {
  session_.SetEffectsBypass(bypass_->isChecked());
  ShowBypass();
}

void EffectsPanel::CmdEffReset_Click() { session_.ResetEffects(); }

void EffectsPanel::CmdEffDn1_Click() {
  session_.HideEffectsPanel();
  session_.StopAudition();
}

}  // namespace qv
