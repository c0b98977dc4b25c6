#pragma once
// A main window wired to the fake MIDI service and the emulated CS2x, with
// scripted message boxes and preferences set by the test.

#include <QComboBox>
#include <QString>
#include <array>
#include <memory>

#include "cs2x_emulator.h"
#include "fake_midi_backend.h"
#include "fast_clock.h"
#include "mainwindow/main_window.h"
#include "mainwindow/startup_preferences.h"
#include "window_controls.h"
#include "scripted_prompts.h"

namespace qv::test {

class FakePreferences : public StartupPreferences {
 public:
  int perfChannelRow = 0;
  int inRow = 0, outRow = 0;
  std::array<bool, 17> retrieveAtStart{};  // by multi number
  bool loadWorkspace = false;
  QString workspacePath;
  int density = 0;
  int shown = 0;

  int PerfChannelRow() const override { return perfChannelRow; }
  int MidiInDevRow() const override { return inRow; }
  int MidiOutDevRow() const override { return outRow; }
  bool RetrieveAtStart(int multi) const override {
    return multi >= 0 && multi < 17 && retrieveAtStart[static_cast<std::size_t>(multi)];
  }
  bool LoadWorkspaceAtStart() const override { return loadWorkspace; }
  QString WorkspacePath() const override { return workspacePath; }
  int Density() const override { return density; }
  void ShowPreferences() override { ++shown; }
};

struct MainWindowHarness {
  enum class Instrument { Emulated, Silent };
  explicit MainWindowHarness(Instrument instrument = Instrument::Emulated);
  ~MainWindowHarness();

  // Runs the start-up work (as the window's timer does) and clears what was
  // recorded during it unless keepRecords.
  void StartUp(bool keepRecords = false);
  // Every message that left, once the emulated instrument has handled them.
  std::vector<Bytes> Sent() const {
    if (emulator) emulator->WaitIdle();
    return backend.Sent();
  }
  void ClearRecords();

  FakeMidiBackend backend;
  std::unique_ptr<Cs2xEmulator> emulator;
  ScriptedPrompts prompts;
  FastClock fastClock;
  FakePreferences prefs;
  std::unique_ptr<MainWindow> main;
  // The window's controls and panels.
  std::unique_ptr<WindowControls> window;
};

}  // namespace qv::test
