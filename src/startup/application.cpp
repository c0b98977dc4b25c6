#include "startup/application.h"

#include <QApplication>
#include <QPushButton>

#include "mainwindow/main_window.h"
#include "startup/pref_dialog.h"
#include "startup/splash_window.h"
#include "startup/tool_tips.h"

namespace qv {

Application::Application(MidiBackend& backend, Prompts& prompts, Clock& clock, const QString& prefsFolder)
    : backend_(backend), prompts_(prompts), clock_(clock) {
  WrapToolTips();
  frmPref_ = std::make_unique<PrefDialog>(backend_, prompts_, prefsFolder);
  frmPref_->onOkAtStartUp = [this] { OkAtStartUp(); };
  // After start-up, OK takes the chosen devices again when one of them has gone.
  QObject::connect(frmPref_->OKButton, &QPushButton::clicked, frmPref_.get(), [this] {
    if (frmMain_ && !StartingUp()) frmMain_->Link().ReopenDevices(MidiOutDevRow(), MidiInDevRow());
  });
  frmPref_->onPerfChannelChanged = [this] {
    if (frmMain_) frmMain_->Sess().ChngPrfMidiChan();
  };
}

Application::~Application() {
  frmMain_.reset();
  frmSplash_.reset();
  frmPref_.reset();
}

void Application::Main() {
  frmPref_->startingUp = true;
  frmPref_->show();
}

bool Application::StartingUp() const { return frmPref_->startingUp; }

void Application::OkAtStartUp() {
  frmSplash_ = std::make_unique<SplashWindow>();
  frmSplash_->ShowNow();
  // The main window is made hidden; its timer runs the start-up work.
  frmMain_ = std::make_unique<MainWindow>(backend_, prompts_, clock_, *this);
  frmMain_->onStartupWorkDone = [this] {
    if (frmSplash_) frmSplash_->hide();
  };
  // At exit, after the MIDI devices are closed, every other window goes.
  frmMain_->onUnload = [this] {
    frmPref_->close();
    for (QWidget* window : QApplication::topLevelWidgets())
      if (window != frmMain_.get() && window->isVisible()) window->close();
  };
}

int Application::PerfChannelRow() const { return frmPref_->PerfChannelRow(); }
int Application::MidiInDevRow() const { return frmPref_->MidiInDevRow(); }
int Application::MidiOutDevRow() const { return frmPref_->MidiOutDevRow(); }
bool Application::RetrieveAtStart(int multi) const { return frmPref_->RetrieveAtStart(multi); }
bool Application::LoadWorkspaceAtStart() const { return frmPref_->LoadWorkspaceAtStart(); }
QString Application::WorkspacePath() const { return frmPref_->WorkspacePath(); }
int Application::Density() const { return frmPref_->Density(); }

void Application::ShowPreferences() {
  frmPref_->show();
  frmPref_->raise();
  frmPref_->activateWindow();
}

}  // namespace qv
