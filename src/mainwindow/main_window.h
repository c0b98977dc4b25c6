#pragma once
// The main window: lays out its panels (performance, audition, multi parts,
// Layer Pool, developer controls, the two edit panels and the menus), runs
// the start-up work and the exit, and routes drops to the panel under them.
// It owns the editor state, the MIDI link and the editor's procedures.

#include <QMainWindow>
#include <functional>
#include <memory>

#include "editor/editor_state.h"
#include "editor/session.h"
#include "files/file_steps.h"
#include "link/midi_link.h"
#include "mainwindow/drag_and_drop.h"
#include "mainwindow/effects_panel.h"
#include "mainwindow/startup_preferences.h"

class QCloseEvent;
class QTimer;

namespace qv {

class AuditionPanel;
class DeveloperPanel;
class EditorSignals;
class LayerPoolPanel;
class MainMenu;
class MultiColumn;
class MultiEditPanel;
class PerformancePanel;

class MainWindow : public QMainWindow, public DropHost {
  Q_OBJECT

 public:
  MainWindow(MidiBackend& backend, Prompts& prompts, Clock& clock, StartupPreferences& prefs,
             QWidget* parent = nullptr);
  ~MainWindow() override;

  EditorState& State() { return state_; }
  DataModel& Model() { return state_.Model; }
  MidiLink& Link() { return *link_; }
  Session& Sess() { return *session_; }

  // ---- Start-up: Timer1 fires once, 1000 ms after the window is made ------
  void Timer1_Timer();
  void Form_Loadx();
  // Run when the start-up work has ended (the splash closes).
  std::function<void()> onStartupWorkDone;

  // ---- Exit ---------------------------------------------------------------
  // Asks the user; on OK closes the MIDI devices that are open and runs
  // onUnload. Sets cancel when the window is to stay open.
  void Form_Unload(bool& cancel);
  // Run at exit after the devices are closed: unloads the other windows;
  // the load aid goes after them.
  std::function<void()> onUnload;

  // ---- Drops --------------------------------------------------------------
  // A drop of the control named `source` on `target`: the drop work of the
  // nearest control at or above `target` that has any, else the window's.
  void DropOn(QWidget* target, const QString& source) override;
  int DropsTaken() const override { return dropsTaken_; }
  void StopAudition() override;
  QWidget* HostWindow() override { return this; }
  MidiLink& CommandLink() override { return *link_; }
  // Every control without drop work of its own, and the background.
  void Form_DragDrop(const QString& source);

 protected:
  void closeEvent(QCloseEvent* event) override;
  bool eventFilter(QObject* watched, QEvent* event) override;
  void resizeEvent(QResizeEvent* event) override;

 private:
  void BuildPanels();
  void ConnectNotices();
  void StartupWork();
  // Loads the start-up workspace; false when it was not loaded.
  bool LoadStartupWorkspace(const QString& path);
  void LoadEffectAndPresetTables();
  // Run once the edit panels have been shown or hidden: the window takes the
  // size it had with no panel open, grown as far as the open panels need,
  // unless the user has resized it since it last settled.
  void FitToPanels();

  MidiBackend& backend_;
  Prompts& prompts_;
  Clock& clock_;
  StartupPreferences& prefs_;
  EditorState state_;
  EditorSignals* notices_ = nullptr;
  std::unique_ptr<MidiLink> link_;
  std::unique_ptr<Session> session_;
  std::unique_ptr<FileSteps> fileSteps_;
  QTimer* timer1_ = nullptr;  // Timer1

  PerformancePanel* performance_ = nullptr;
  AuditionPanel* audition_ = nullptr;
  MultiColumn* multis_ = nullptr;
  LayerPoolPanel* pool_ = nullptr;
  DeveloperPanel* developer_ = nullptr;
  MultiEditPanel* multiEdit_ = nullptr;  // SSTab1
  EffectsPanel* effects_ = nullptr;      // SSTab2
  MainMenu* menus_ = nullptr;
  int dropsTaken_ = 0;  // drops this window has handled
  QSize restingSize_;   // the size with no edit panel open
  QSize settledSize_;   // the size after the last change of panels
  bool fitPending_ = false;
};

}  // namespace qv
