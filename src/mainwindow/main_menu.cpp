#include "mainwindow/main_menu.h"

#include <QAction>
#include <QMenu>

#include "mainwindow/command.h"
#include "mainwindow/named.h"
#include "mainwindow/file_menus.h"
#include "mainwindow/wait_cursor.h"
#include "mainwindow/about_box.h"

namespace qv {

namespace {

QAction* NamedAction(QMenu* menu, const QString& name, const QString& caption, bool checkable = false) {
  QAction* action = menu->addAction(caption);
  action->setObjectName(name);
  action->setCheckable(checkable);
  return action;
}

}  // namespace

MainMenu::MainMenu(EditorCore& core, Prompts& prompts, std::function<void()> showPreferences, QWidget* parent)
    : QMenuBar(parent), session_(core.Editor()), prompts_(prompts), showPreferences_(std::move(showPreferences)) {
  setObjectName("MainMenu");
  BuildFileMenu();
  files_ = new FileMenus(core.Files(), session_, prompts, core, *this);
  BuildEditMenu();
  BuildRetrieveAndInitMenus();
  BuildMidiMenu();
  debug_ = NamedMenu(this, "DebugMenu", "Debug");
  files_->AddDebugItems(debug_);
  QMenu* help = NamedMenu(this, "HelpMenu", "Help");
  QAction* about = NamedAction(help, "About", "About");
  connect(about, &QAction::triggered, this, [this] { About_Click(); });
}

void MainMenu::BuildFileMenu() {
  QMenu* file = NamedMenu(this, "FileMenu", "File");
  QAction* prefs = NamedAction(file, "StrtupPref", "Startup Preferences");
  connect(prefs, &QAction::triggered, this, [this] { StrtupPref_Click(); });
  file->addSeparator();
  QAction* exit = NamedAction(file, "ExitMenu", "Exit");
  connect(exit, &QAction::triggered, this, [this] { ExitMenu_Click(); });
}

void MainMenu::BuildEditMenu() {
  QMenu* edit = NamedMenu(this, "EditMenu", "Edit");
  QMenu* editMulti = NamedMenu(edit, "EditMult", "Multi");
  QAction* effects = NamedAction(edit, "EditEffcts", "Effects");
  connect(effects, &QAction::triggered, this, AsCommand(session_, [this] { EditEffcts_Click(); }));
  for (int part = kFirstMultiPart; part <= kLastMultiPart; ++part) {
    const int multi = part + 1;
    QAction* item = NamedAction(editMulti, QString("EditMult%1").arg(multi), QString("Multi %1").arg(multi));
    connect(item, &QAction::triggered, this, AsCommand(session_, [this, part] { session_.EditMult(part); }));
  }
}

void MainMenu::BuildRetrieveAndInitMenus() {
  QMenu* retrieve = NamedMenu(this, "Retrv", "Retrieve");
  QAction* performance = NamedAction(retrieve, "RtrvPerf", "Performance");
  QAction* allMultis = NamedAction(retrieve, "RtrvAllMulti", "All Multis");
  QMenu* retrieveMulti = NamedMenu(retrieve, "RtrvMulti", "Multi");
  connect(performance, &QAction::triggered, this, AsCommand(session_, [this] { RtrvPerf_Click(); }));
  connect(allMultis, &QAction::triggered, this, AsCommand(session_, [this] { RtrvAllMulti_Click(); }));

  QMenu* init = NamedMenu(this, "Init", "Initialize");
  QAction* initAll = NamedAction(init, "InitMltall", "All Multis");
  QMenu* initMulti = NamedMenu(init, "InitMlt", "Multi");
  connect(initAll, &QAction::triggered, this, AsCommand(session_, [this] { InitMltall_Click(); }));

  for (int part = kFirstMultiPart; part <= kLastMultiPart; ++part) {
    const int multi = part + 1;
    QAction* rtrv = NamedAction(retrieveMulti, QString("RtrvMulti%1").arg(multi), QString("Multi %1").arg(multi));
    QAction* initOne = NamedAction(initMulti, QString("InitMlt%1").arg(multi), QString("Multi %1").arg(multi));
    connect(rtrv, &QAction::triggered, this, AsCommand(session_, [this, part] { RtrvMulti_Click(part); }));
    connect(initOne, &QAction::triggered, this, AsCommand(session_, [this, part] { InitMlt_Click(part); }));
  }
}

// Midi: All Notes Off with MIDI thru paused for a second, the Local Off and
// Arpeggiator Off check marks that each send one parameter change, and the
// check mark that lets an audition set the transmit channel.
void MainMenu::BuildMidiMenu() {
  QMenu* midi = NamedMenu(this, "Midi", "Midi");
  QAction* allOff = NamedAction(midi, "AllNtsOff", "All Notes Off");
  localOff_ = NamedAction(midi, "LocalOff", "Local Off", true);
  arpOff_ = NamedAction(midi, "ArpOff", "Arpeggiator Off", true);
  transmitChannel_ = NamedAction(midi, "TrnsChnlAssgn", "Trans Chnl Assigned by Audition", true);
  DrawMidiChecks();
  // A checkable item has already changed its own check mark when it
  // triggers; the handlers toggle the state's mark and draw it again.
  connect(allOff, &QAction::triggered, this, AsCommand(session_, [this] { AllNtsOff_Click(); }));
  connect(localOff_, &QAction::triggered, this, AsCommand(session_, [this] { LocalOff_Click(); }));
  connect(arpOff_, &QAction::triggered, this, AsCommand(session_, [this] { ArpOff_Click(); }));
  connect(transmitChannel_, &QAction::toggled, this, [this](bool on) { session_.SetTransmitChannelAssigned(on); });
}

void MainMenu::DrawMidiChecks() {
  const EditorState& state = session_.State();
  localOff_->setChecked(state.LocalOff);
  arpOff_->setChecked(state.ArpOff);
  transmitChannel_->setChecked(state.TransmitChannelAssigned);
}

void MainMenu::StrtupPref_Click() {
  if (showPreferences_) showPreferences_();
}

void MainMenu::ExitMenu_Click() { window()->close(); }


void MainMenu::EditEffcts_Click() { session_.OpenEffectsPanel(); }

void MainMenu::RtrvPerf_Click() { session_.RtrvPerformance(); }

void MainMenu::RtrvAllMulti_Click() {
  WaitCursor hourglass;
  session_.RtrvAllMultis();
}

void MainMenu::RtrvMulti_Click(int part) { session_.RtrvMultiPart(part); }

void MainMenu::InitMltall_Click() {
  WaitCursor hourglass;
  session_.InitMltall();
}

void MainMenu::InitMlt_Click(int part) { session_.InitMlt(part); }

void MainMenu::AllNtsOff_Click() {
  WaitCursor hourglass;
  session_.AllNtsOff();
}

void MainMenu::LocalOff_Click() {
  session_.SetLocalOff(!session_.State().LocalOff);
  DrawMidiChecks();
}

void MainMenu::ArpOff_Click() {
  session_.SetArpOff(!session_.State().ArpOff);
  DrawMidiChecks();
}

// One about box at a time: shown again, the open one comes to the front.
void MainMenu::About_Click() {
  if (!aboutBox_) aboutBox_ = new AboutBox(prompts_, window());
  aboutBox_->show();
  aboutBox_->raise();
  aboutBox_->activateWindow();
}

}  // namespace qv
