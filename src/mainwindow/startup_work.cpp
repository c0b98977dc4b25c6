// The start-up work of the main window: one tick after the window is made,
// it fills the lists, opens the MIDI devices, selects and retrieves the
// performance, sets up the multi parts and starts MIDI thru.

#include <QComboBox>
#include <QFile>
#include <QFileInfo>
#include <QListWidget>
#include <QPushButton>
#include <QTimer>

#include "mainwindow/caption.h"
#include "mainwindow/main_window.h"
#include "mainwindow/wait_cursor.h"

namespace qv {

namespace {
constexpr qint64 kWorkspaceFileLength = 27850;

QString NumberRow(int n) { return QString(" %1").arg(n); }
}  // namespace

void MainWindow::Timer1_Timer() {
  Timer1->stop();
  Form_Loadx();
  if (onStartupWorkDone) onStartupWorkDone();
  show();
}

void MainWindow::Form_Loadx() {
  WaitCursor hourglass;
  MidiLink::CommandScope command(*link_);  // one box per failure, not one per block
  model_.Busy = true;
  StartupWork();
  // Also when the output could not be opened: the window's controls work
  // once a device is chosen and the program started again.
  model_.Busy = false;
}

void MainWindow::StartupWork() {
  CmbMidNtNo->clear();
  CmbMidVel->clear();
  CmbMidNtNo->addItem(NumberRow(0));
  CmbMidVel->addItem(NumberRow(0));
  for (int i = 1; i <= 127; ++i) {
    model_.PoolSlotFree[static_cast<std::size_t>(i)] = kSlotFree;
    CmbMidNtNo->addItem(NumberRow(i));
    CmbMidVel->addItem(NumberRow(i));
  }
  model_.PoolSlotFree[0] = kSlotFree;

  HideEditPanels();
  List1->hide();

  for (MultiPartControls& c : Multis) {
    c.CmbMult->clear();
    for (int ch = 1; ch <= 16; ++ch) c.CmbMult->addItem(NumberRow(ch));
  }
  for (MultiPartControls& c : Multis) SelectRow(c.CmbMult, ((c.part - kFirstMultiPart) / 4) * 4);
  for (MultiPartControls& c : Multis) SetCaption(c.CmdMult, DefaultMultiCaption(c.part));

  SelectRow(CmbMidNtNo, 67);
  SelectRow(CmbMidVel, 127);

  link_->MidiOutDev = prefs_.MidiOutDevRow();
  link_->MidiInDev = prefs_.MidiInDevRow();
  if (link_->OpenOutput() != kMidiOk) return;
  link_->OpenInput();

  LoadEffectAndPresetTables();

  SelectRow(CmbPrgm, 0);
  session_->RtrvPerformance();

  bool workspaceLoaded = false;
  if (prefs_.LoadWorkspaceAtStart()) {
    QString path = prefs_.WorkspacePath();
    while (path.endsWith(' ')) path.chop(1);  // trailing blanks are padding
    QFile file(path);
    if (!path.isEmpty() && QFileInfo(path).isFile() && file.open(QIODevice::ReadOnly)) {
      const qint64 length = file.size();
      file.close();
      if (length != kWorkspaceFileLength)
        prompts_.Message(
            "Sorry, You have chosen a file of the wrong type to be loaded at startup. The Workspace will be "
            "initialized.");
      else
        workspaceLoaded = LoadStartupWorkspace(path);
    }
  }
  if (!workspaceLoaded) {
    for (int part = kFirstMultiPart; part <= kLastMultiPart; ++part) {
      if (prefs_.RetrieveAtStart(part + 1))
        session_->RtrvMultiPart(part + 1);
      else
        session_->InitMultiPart(part);
    }
  }

  for (MultiPartControls& c : Multis) {
    const int channel = model_.PartBlk.At(kReceiveChannelByte, 0, c.part);
    if (channel <= 15) SelectRow(c.CmbMult, channel);
  }

  if (link_->ConnectThru() == kMidiOk) link_->StartInput();
  session_->ChngPrfMidiChan();
}

}  // namespace qv
