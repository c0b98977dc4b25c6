#pragma once
// The main window: lays out its panels (performance, audition, multi parts,
// Layer Pool, developer controls, the two edit panels and the menus), runs
// the start-up work and the exit, and routes drops to the panel under them.
// The editor core it works on is built beside it and outlives it.

#include <QMainWindow>
#include <functional>

#include "files/editor_core.h"
#include "mainwindow/drag_and_drop.h"
#include "mainwindow/editor_signals.h"
#include "mainwindow/effects_panel.h"

class QCloseEvent;
class QScrollArea;
class QTimer;

namespace qv {

class AuditionPanel;
class DeveloperPanel;
class LayerPoolPanel;
class MainMenu;
class MultiColumn;
class MultiEditPanel;
class PerformancePanel;

class MainWindow : public QMainWindow, public DropHost {
  Q_OBJECT

 public:
  // `notices` is the view the core tells its changes to.
  MainWindow(EditorCore& core, EditorSignals& notices, Prompts& prompts, QWidget* parent = nullptr);

  const EditorState& State() const { return core_.State(); }

  // ---- Start-up: Timer1 fires once, 1000 ms after the window is made ------
  void Timer1_Timer();
  void Form_Loadx();
  // Run when the start-up work has ended (the splash closes).
  std::function<void()> onStartupWorkDone;
  // File > "Startup Preferences".
  std::function<void()> onShowPreferences;

  // ---- Exit ---------------------------------------------------------------
  // Asks the user; on OK closes the MIDI devices that are open and runs
  // onUnload. Sets cancel when the window is to stay open.
  void Form_Unload(bool& cancel);
  // Run at exit after the devices are closed: unloads the other windows;
  // the load aid goes after them.
  std::function<void()> onUnload;

  // ---- Drops --------------------------------------------------------------
  // A drop of `source` on `target`: the drop work of the nearest control at
  // or above `target` that has any, else the window's.
  void DropOn(QWidget* target, const Dragged& source) override;
  int DropsTaken() const override { return dropsTaken_; }
  QWidget* HostWindow() override { return this; }
  Session& CommandEditor() override { return session_; }
  // Every control without drop work of its own, and the background.
  void Form_DragDrop(const Dragged& source);

 protected:
  void closeEvent(QCloseEvent* event) override;
  bool eventFilter(QObject* watched, QEvent* event) override;
  void resizeEvent(QResizeEvent* event) override;
  void moveEvent(QMoveEvent* event) override;

 private:
  void BuildPanels();
  void ConnectNotices();
  void LoadEffectAndPresetTables();
  bool PanelsOpen() const;
  void BoundPanelsToScreen();
  // Run once the edit panels have been shown or hidden: the window takes the
  // size and place it had with no panel open, grown as far as the open
  // panels need and moved as far as the screen needs, unless the user has
  // resized or moved it since it last settled.
  void FitToPanels();

  EditorCore& core_;
  Session& session_;
  EditorSignals& notices_;
  Prompts& prompts_;
  QTimer* timer1_ = nullptr;  // Timer1

  PerformancePanel* performance_ = nullptr;
  AuditionPanel* audition_ = nullptr;
  MultiColumn* multis_ = nullptr;
  LayerPoolPanel* pool_ = nullptr;
  DeveloperPanel* developer_ = nullptr;
  MultiEditPanel* multiEdit_ = nullptr;  // SSTab1
  EffectsPanel* effects_ = nullptr;      // SSTab2
  MainMenu* menus_ = nullptr;
  QScrollArea* scroll_ = nullptr;  // holds the panels
  int dropsTaken_ = 0;  // drops this window has handled
  QSize restingSize_;   // the size with no edit panel open
  QSize settledSize_;   // the size after the last change of panels
  QPoint restingPlace_;  // the place with no edit panel open
  QPoint settledPlace_;  // the place after the last change of panels
  bool fitPending_ = false;
};

}  // namespace qv
