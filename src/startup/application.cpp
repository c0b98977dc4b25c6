#include "startup/application.h"

#include <QApplication>

#include "files/editor_core.h"
#include "link/midi_link.h"
#include "mainwindow/editor_signals.h"
#include "mainwindow/main_window.h"
#include "startup/pref_dialog.h"
#include "startup/splash_window.h"
#include "startup/tool_tips.h"

namespace qv {

Application::Application(MidiBackend& backend, Prompts& prompts, Clock& clock, const QString& prefsFolder)
    : backend_(backend), prompts_(prompts), clock_(clock) {
  WrapToolTips();
  frmPref_ = std::make_unique<PrefDialog>(ListMidiDevices(backend_, prompts_), prompts_, prefsFolder);
  frmPref_->onOkAtStartUp = [this] { OkAtStartUp(); };
  frmPref_->onOk = [this](const PreferencesRecord& record) {
    if (!core_) return;
    core_->SetPreferences(record);
    // After start-up, OK takes the chosen devices again when one has gone.
    if (!StartingUp()) core_->ReopenDevices();
  };
  frmPref_->onPerfChannelChanged = [this](int row) {
    if (core_) core_->ChangePerformanceChannel(row);
  };
}

Application::~Application() = default;

void Application::Main() {
  frmPref_->startingUp = true;
  frmPref_->show();
}

bool Application::StartingUp() const { return frmPref_->startingUp; }

void Application::OkAtStartUp() {
  frmSplash_ = std::make_unique<SplashWindow>();
  frmSplash_->ShowNow();
  notices_ = std::make_unique<EditorSignals>();
  core_ = std::make_unique<EditorCore>(backend_, prompts_, clock_, *notices_);
  // The main window is made hidden; its timer runs the start-up work.
  frmMain_ = std::make_unique<MainWindow>(*core_, *notices_, prompts_);
  frmMain_->onStartupWorkDone = [this] {
    if (frmSplash_) frmSplash_->hide();
  };
  frmMain_->onShowPreferences = [this] { ShowPreferences(); };
  // At exit, after the MIDI devices are closed, every other window goes.
  frmMain_->onUnload = [this] {
    frmPref_->close();
    for (QWidget* window : QApplication::topLevelWidgets())
      if (window != frmMain_.get() && window->isVisible()) window->close();
  };
}

void Application::ShowPreferences() {
  frmPref_->show();
  frmPref_->raise();
  frmPref_->activateWindow();
}

}  // namespace qv
