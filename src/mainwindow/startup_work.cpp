// The start-up work of the main window: one tick after the window is made,
// it fills the lists, opens the MIDI devices, selects and retrieves the
// performance, sets up the multi parts and starts MIDI thru.

#include <QTimer>

#include "files/file_steps.h"
#include "mainwindow/audition_panel.h"
#include "mainwindow/developer_panel.h"
#include "mainwindow/effects_panel.h"
#include "mainwindow/main_window.h"
#include "mainwindow/performance_panel.h"
#include "mainwindow/wait_cursor.h"

namespace qv {

void MainWindow::Timer1_Timer() {
  timer1_->stop();
  Form_Loadx();
  if (onStartupWorkDone) onStartupWorkDone();
  show();
}

void MainWindow::Form_Loadx() {
  WaitCursor hourglass;
  MidiLink::CommandScope command(*link_);  // one box per failure, not one per block
  state_.Model.Busy = true;
  StartupWork();
  // Also when the output could not be opened: the window's controls work
  // once a device is chosen and the program started again.
  state_.Model.Busy = false;
}

void MainWindow::StartupWork() {
  Session& session = *session_;
  DataModel& model = state_.Model;
  for (int i = 0; i < kPoolSlots; ++i) model.PoolSlotFree[static_cast<std::size_t>(i)] = kSlotFree;

  session.HideMultiEditPanel();

  for (int part = kFirstMultiPart; part <= kLastMultiPart; ++part)
    session.SetChannelRow(part, ((part - kFirstMultiPart) / 4) * 4);
  for (int part = kFirstMultiPart; part <= kLastMultiPart; ++part)
    session.SetPartCaption(part, DefaultPartCaption(part));

  audition_->FillLists();

  link_->MidiOutDev = prefs_.MidiOutDevRow();
  link_->MidiInDev = prefs_.MidiInDevRow();
  if (link_->OpenOutput() != kMidiOk) return;
  link_->OpenInput();

  LoadEffectAndPresetTables();

  performance_->SelectProgram(0);
  session.RtrvPerformance();

  bool workspaceLoaded = false;
  if (prefs_.LoadWorkspaceAtStart()) {
    QString path = prefs_.WorkspacePath();
    while (path.endsWith(' ')) path.chop(1);  // trailing blanks are padding
    if (!path.isEmpty()) workspaceLoaded = LoadStartupWorkspace(path);
  }
  if (!workspaceLoaded) {
    for (int part = kFirstMultiPart; part <= kLastMultiPart; ++part) {
      if (prefs_.RetrieveAtStart(part + 1))
        session.RtrvMultiPart(part + 1);
      else
        session.InitMultiPart(part);
    }
  }

  for (int part = kFirstMultiPart; part <= kLastMultiPart; ++part) {
    const int channel = model.PartBlk.At(kReceiveChannelByte, 0, part);
    if (channel <= 15) session.SetChannelRow(part, channel);
  }

  if (link_->ConnectThru() == kMidiOk) link_->StartInput();
  session.ChngPrfMidiChan();
}

// The file is read once, while Busy is set: the parts' blocks and the
// performance leave, the channel rows send nothing. A file that cannot be
// read is passed over in silence; one of another length, or with a damaged
// pool, gets its box. Either way the parts then follow their retrieve boxes.
bool MainWindow::LoadStartupWorkspace(const QString& path) {
  switch (fileSteps_->LoadWorkspaceFile(path.toStdString())) {
    case LoadResult::kLoaded:
      return true;
    case LoadResult::kWrongType:
      prompts_.Message(
          "Sorry, You have chosen a file of the wrong type to be loaded at startup. The Workspace will be "
          "initialized.");
      return false;
    case LoadResult::kDamagedPool:
      prompts_.Message(kDamagedPoolText);
      return false;
    case LoadResult::kCannotRead:
      break;
  }
  return false;
}

}  // namespace qv
