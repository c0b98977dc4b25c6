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

// The layout rows of the type lists and the send sliders, in the panel's
// order; each names its effect or send.
struct TypeListDef {
  Effect effect;
  const char* name;
  const char* label;
  const char* toolTip;
};
constexpr std::array<TypeListDef, kEffectTypeCount> kTypeLists = {{
    {Effect::kReverb, "CmbRvrb", "Reverb", "Choose a different reverb type."},
    {Effect::kChorus, "CmbChrs", "Chorus", "Choose a different Chorus type."},
    {Effect::kVariation, "CmbVar", "Variation", "Choose a different Variation type."},
}};
static_assert(NamesEachOnce(kTypeLists, &TypeListDef::effect, kEffectTypeCount),
              "every effect needs exactly one type list");

struct SendRowDef {
  EffectSend send;
  const char* slider;
  const char* readout;
  const char* label;
  int initial;
};
constexpr std::array<SendRowDef, kEffectSendCount> kSendRows = {{
    {EffectSend::kChorusToReverb, "SldEffSndCtoR", "Text30", "Send Chorus to Rvrb", 0},
    {EffectSend::kVariationToReverb, "SldEffVarRvbSnd", "Text31", "Vari Reverb Send", 40},
    {EffectSend::kVariationToChorus, "SldEffVarChrSnd", "Text32", "Vari Chorus Send", 0},
}};
static_assert(NamesEachOnce(kSendRows, &SendRowDef::send, kEffectSendCount),
              "every effect send needs exactly one slider");

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
    const TypeListDef& def = kTypeLists[static_cast<std::size_t>(i)];
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
    typeLists_[IndexOf(def.effect)] = list;
    // The user choosing a row, also the row already shown.
    connect(list, &QComboBox::activated, this,
            AsCommand(session_, [this, effect = def.effect] { TypeList_Click(effect); }));
  }

  for (int i = 0; i < kEffectSendCount; ++i) {
    const SendRowDef& def = kSendRows[static_cast<std::size_t>(i)];
    auto* send = new SliderRow({def.label, def.slider, def.readout, 0, 127, def.initial, ReadoutFormat::Number}, page);
    send->Slider()->setMinimumWidth(128);
    QLineEdit* readout = send->Readout();
    readout->setReadOnly(true);
    readout->setMaxLength(3);
    readout->setFixedWidth(readout->fontMetrics().horizontalAdvance(QStringLiteral("0000")) + 12);
    send->AddTo(grid, i, 2);
    sends_[IndexOf(def.send)] = send;
    connect(send, &SliderRow::Settled, this, AsCommand(session_, [this, id = def.send] { SendRow_Release(id); }));
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
  for (const TypeListDef& def : kTypeLists) {
    QComboBox* list = typeLists_[IndexOf(def.effect)];
    const QSignalBlocker quiet(list);
    list->clear();
    for (const EffType& row : ParamOf(def.effect).table())
      list->addItem(QString::fromStdString(row.Name));
    list->setCurrentIndex(-1);
  }
}

// Each list shows the row whose MSB and LSB match Com2; a list that finds
// none keeps its row, or shows row 0 when it had none.
void EffectsPanel::EditEffcts() {
  show();
  const auto& com2 = state_.Model.Performance.Com2;
  for (const TypeListDef& def : kTypeLists) {
    QComboBox* list = typeLists_[IndexOf(def.effect)];
    const QSignalBlocker quiet(list);
    const std::optional<int> row = state_.EffectTypeRow(def.effect);
    if (row && *row < list->count()) list->setCurrentIndex(*row);
    if (list->currentIndex() < 0 && list->count() > 0) list->setCurrentIndex(0);
  }
  for (const SendRowDef& def : kSendRows)
    sends_[IndexOf(def.send)]->SetPosition(com2[static_cast<std::size_t>(ParamOf(def.send).byte)]);
  ShowBypass();
}

// Bypassed: the box checked and the type lists disabled.
void EffectsPanel::ShowBypass() {
  const QSignalBlocker quiet(bypass_);
  bypass_->setChecked(state_.EffectsBypassed);
  for (QComboBox* list : typeLists_) list->setEnabled(!state_.EffectsBypassed);
}

void EffectsPanel::TypeList_Click(Effect effect) {
  session_.SetEffectType(effect, typeLists_[IndexOf(effect)]->currentIndex());
}

void EffectsPanel::SendRow_Release(EffectSend send) {
  session_.SetEffectSend(send, sends_[IndexOf(send)]->Position());
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
