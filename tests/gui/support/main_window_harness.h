#pragma once
// A main window beside its editor core, wired to the fake MIDI service and
// the emulated CS2x, with scripted message boxes and preferences set by the
// test.

#include <QComboBox>
#include <QString>
#include <array>
#include <memory>

#include "cs2x_emulator.h"
#include "fake_midi_backend.h"
#include "fast_clock.h"
#include "mainwindow/main_window.h"
#include "files/editor_core.h"
#include "files/preferences_record.h"
#include "mainwindow/editor_signals.h"
#include "window_controls.h"
#include "scripted_prompts.h"

namespace qv::test {

// The program's windows as Application builds them at the first OK: the
// notices, the editor core and the main window beside it, over any backend.
struct WindowRig {
  WindowRig(MidiBackend& backend, Prompts& prompts, Clock& clock)
      : core(backend, prompts, clock, notices), main(core, notices, prompts) {}
  EditorSignals notices;
  EditorCore core;
  MainWindow main;
};

struct MainWindowHarness {
  enum class Instrument { Emulated, Silent };
  explicit MainWindowHarness(Instrument instrument = Instrument::Emulated);
  ~MainWindowHarness();

  // Hands `prefs` to the editor core, runs the start-up work (as the
  // window's timer does) and clears what was recorded during it unless
  // keepRecords.
  void StartUp(bool keepRecords = false);
  // Hands `prefs` to the editor core, as an OK in the preferences dialog does.
  void ApplyPreferences() { core->SetPreferences(prefs); }
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
  PreferencesRecord prefs;  // handed over at StartUp
  int shownPreferences = 0;  // File > "Startup Preferences"
  std::unique_ptr<WindowRig> rig;
  EditorCore* core = nullptr;
  MainWindow* main = nullptr;
  // The window's controls and panels.
  std::unique_ptr<WindowControls> window;
};

}  // namespace qv::test
