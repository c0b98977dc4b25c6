#pragma once
// The program's start: the preferences dialog comes first; its OK at start-up
// shows the splash and builds the editor core and, beside it, the main
// window, whose timer then runs the start-up work. The dialog stays loaded
// for the whole run; each OK hands its values to the editor core, which
// holds the preferences in force.

#include <QString>
#include <memory>

#include "link/clock.h"
#include "link/midi_backend.h"
#include "link/prompts.h"

namespace qv {

class EditorCore;
class EditorSignals;
class MainWindow;
class PrefDialog;
class SplashWindow;

class Application {
 public:
  // prefsFolder holds "quorv.ini": the program's folder.
  Application(MidiBackend& backend, Prompts& prompts, Clock& clock, const QString& prefsFolder);
  ~Application();

  void Main();  // shows the preferences dialog and returns

  bool StartingUp() const;
  PrefDialog* frmPref() { return frmPref_.get(); }
  SplashWindow* frmSplash() { return frmSplash_.get(); }
  MainWindow* frmMain() { return frmMain_.get(); }
  // The editor core, once the first OK has built it.
  EditorCore* Core() { return core_.get(); }

 private:
  void OkAtStartUp();
  void ShowPreferences();

  MidiBackend& backend_;
  Prompts& prompts_;
  Clock& clock_;
  // Declared so that the windows go before the core, and the core before
  // the notices it tells.
  std::unique_ptr<PrefDialog> frmPref_;
  std::unique_ptr<EditorSignals> notices_;
  std::unique_ptr<EditorCore> core_;
  std::unique_ptr<SplashWindow> frmSplash_;
  std::unique_ptr<MainWindow> frmMain_;
};

}  // namespace qv
