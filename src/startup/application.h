#pragma once
// The program's start: the preferences dialog comes first; its OK at start-up
// shows the splash and makes the main window, whose timer then runs the
// start-up work. The dialog stays loaded for the whole run and its controls
// are the live preferences the main window reads.

#include <QString>
#include <memory>

#include "link/clock.h"
#include "link/midi_backend.h"
#include "link/prompts.h"
#include "mainwindow/startup_preferences.h"

namespace qv {

class MainWindow;
class PrefDialog;
class SplashWindow;

class Application : public StartupPreferences {
 public:
  // prefsFolder holds "quorv.ini": the program's folder.
  Application(MidiBackend& backend, Prompts& prompts, Clock& clock, const QString& prefsFolder);
  ~Application() override;

  void Main();  // shows the preferences dialog and returns

  bool StartingUp() const;
  PrefDialog* frmPref() { return frmPref_.get(); }
  SplashWindow* frmSplash() { return frmSplash_.get(); }
  MainWindow* frmMain() { return frmMain_.get(); }

  int PerfChannelRow() const override;
  int MidiInDevRow() const override;
  int MidiOutDevRow() const override;
  bool RetrieveAtStart(int multi) const override;
  bool LoadWorkspaceAtStart() const override;
  QString WorkspacePath() const override;
  int Density() const override;
  void ShowPreferences() override;

 private:
  void OkAtStartUp();

  MidiBackend& backend_;
  Prompts& prompts_;
  Clock& clock_;
  std::unique_ptr<PrefDialog> frmPref_;
  std::unique_ptr<SplashWindow> frmSplash_;
  std::unique_ptr<MainWindow> frmMain_;
};

}  // namespace qv
