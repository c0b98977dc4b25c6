#include "mainwindow/performance_panel.h"

#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

#include "instrument/tables.h"
#include "mainwindow/command.h"
#include "mainwindow/caption.h"
#include "mainwindow/drag_and_drop.h"
#include "mainwindow/latin1.h"
#include "mainwindow/named.h"
#include "mainwindow/wait_cursor.h"

namespace qv {

namespace {

void FillNames(QComboBox* combo, const std::vector<std::string>& names) {
  combo->clear();
  for (const std::string& name : names) combo->addItem(FromLatin1(name));
}

void FillNumbers(QComboBox* combo) {
  combo->clear();
  for (int i = 1; i <= 128; ++i) combo->addItem(QString(" %1").arg(i));
}

}  // namespace

PerformancePanel::PerformancePanel(Session& session, QWidget* parent) : QWidget(parent), session_(session) {
  setObjectName("PerformancePanel");
  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(0, 0, 0, 0);

  kindFrame_ = Named(new QGroupBox, "Frame1");
  auto* kind = new QHBoxLayout(kindFrame_);
  preset_ = Named(new QRadioButton("Preset"), "OptPreset");
  user_ = Named(new QRadioButton("User"), "OptUser");
  kind->addWidget(preset_);
  kind->addWidget(user_);
  bankFrame_ = Named(new QGroupBox, "Frame2");
  auto* bank = new QHBoxLayout(bankFrame_);
  bank1_ = Named(new QRadioButton("Bank1"), "OptBank1");
  bank2_ = Named(new QRadioButton("Bank2"), "OptBank2");
  bank->addWidget(bank1_);
  bank->addWidget(bank2_);
  DrawOptions();  // the list stays empty until the names are loaded
  connect(preset_, &QRadioButton::clicked, this, [this] { OptPreset_Click(); });
  connect(user_, &QRadioButton::clicked, this, [this] { OptUser_Click(); });
  connect(bank1_, &QRadioButton::clicked, this, [this] { OptBank1_Click(); });
  connect(bank2_, &QRadioButton::clicked, this, [this] { OptBank2_Click(); });

  auto* program = new QHBoxLayout;
  program->addWidget(Named(new QLabel("Prgm"), "LblPrgm"));
  programs_ = Named(new QComboBox, "CmbPrgm");
  programs_->setMaxVisibleItems(24);
  connect(programs_, &QComboBox::activated, this, AsCommand(session_, [this] { CmbPrgm_Click(); }));
  program->addWidget(programs_, 1);

  performance_ = Named(new QPushButton("Performance"), "CmdPrfm");
  performance_->setMinimumHeight(32);

  layout->addWidget(kindFrame_);
  layout->addWidget(bankFrame_);
  layout->addLayout(program);
  layout->addWidget(performance_);

  auto* layers = new QGridLayout;
  for (int l = 1; l <= 4; ++l) {
    const auto i = static_cast<std::size_t>(l - 1);
    layerButtons_[i] = Named(new QPushButton(QString("Layer %1").arg(l)), QString("CmdLyr%1").arg(l));
    QLineEdit* name = Named(new QLineEdit(QString(9, ' ')), QString("TxtLyr%1").arg(l));
    name->setReadOnly(true);
    name->setMinimumWidth(name->fontMetrics().horizontalAdvance(QString(11, 'W')));
    name->setToolTip("Drag Layer onto Layer Pool.");
    layerNames_[i] = name;
    layers->addWidget(layerButtons_[i], l - 1, 0);
    layers->addWidget(name, l - 1, 1);
  }
  layout->addLayout(layers);
}

void PerformancePanel::WatchMouse(MouseRouter& router) {
  router.Watch(performance_, performance_, MouseRouter::Kind::Performance, [this] { CmdPrfm_MouseDown(); },
               [this] { CmdPrfm_MouseUp(); });
  for (int l = 1; l <= 4; ++l) {
    const auto i = static_cast<std::size_t>(l - 1);
    router.Watch(layerButtons_[i], layerButtons_[i], MouseRouter::Kind::LayerButton, [this, l] { CmdLyr_MouseDown(l); },
                 [this, l] { CmdLyr_MouseUp(l); });
    router.Watch(layerNames_[i], layerNames_[i], MouseRouter::Kind::LayerName, {}, {},
                 [l] { return Dragged{Dragged::Kind::Layer, l}; });
  }
}

void PerformancePanel::DrawPerformance() {
  const EditorState& state = session_.State();
  SetCaption(performance_, ShownLatin1(state.PerformanceCaption));
  for (int l = 1; l <= 4; ++l) {
    const auto i = static_cast<std::size_t>(l - 1);
    const LayerBox& box = state.LayerBoxes[i];
    layerButtons_[i]->setEnabled(box.enabled);
    layerNames_[i]->setEnabled(box.enabled);
    layerNames_[i]->setText(ShownLatin1(box.text));
  }
  DrawChoice();
}

void PerformancePanel::DrawOptions() {
  const PerformanceChoice& choice = session_.State().Choice;
  preset_->setChecked(!choice.user);
  user_->setChecked(choice.user);
  bank1_->setChecked(!choice.bank2);
  bank2_->setChecked(choice.bank2);
}

// The list holds no program chosen until the user picks a row.
void PerformancePanel::DrawChoice() {
  DrawOptions();
  const PerformanceChoice& choice = session_.State().Choice;
  const Listing wanted = choice.user ? Listing::Numbers : choice.bank2 ? Listing::PresetNames2 : Listing::PresetNames1;
  if (listed_ != wanted) {
    if (wanted == Listing::Numbers)
      FillNumbers(programs_);
    else
      FillNames(programs_, wanted == Listing::PresetNames1 ? PresetNames1() : PresetNames2());
    listed_ = wanted;
  }
  programs_->setCurrentIndex(choice.program);
}

void PerformancePanel::LoadPresetNames() { DrawChoice(); }

void PerformancePanel::OptPreset_Click() {
  session_.ChoosePerformanceKind(false);
  DrawChoice();
}

void PerformancePanel::OptUser_Click() {
  session_.ChoosePerformanceKind(true);
  DrawChoice();
}

void PerformancePanel::OptBank1_Click() {
  session_.ChoosePerformanceBank(false);
  DrawChoice();
}

void PerformancePanel::OptBank2_Click() {
  session_.ChoosePerformanceBank(true);
  DrawChoice();
}

// The hourglass stays until the effects panel, when shown, has filled again.
void PerformancePanel::CmbPrgm_Click() {
  WaitCursor hourglass;
  const PerformanceChoice& choice = session_.State().Choice;
  session_.SelectPerformance(choice.user, choice.bank2, programs_->currentIndex());
}

void PerformancePanel::CmdPrfm_MouseDown() { session_.AuditionPerformance(true); }
void PerformancePanel::CmdPrfm_MouseUp() { session_.AuditionPerformance(false); }
void PerformancePanel::CmdLyr_MouseDown(int layer) { session_.AuditionLayer(layer, true); }
void PerformancePanel::CmdLyr_MouseUp(int layer) { session_.AuditionLayer(layer, false); }

}  // namespace qv
