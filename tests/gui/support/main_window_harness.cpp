#include "main_window_harness.h"

#include <QTimer>

namespace qv::test {

MainWindowHarness::MainWindowHarness(Instrument instrument) {
  if (instrument == Instrument::Emulated) emulator = std::make_unique<Cs2xEmulator>(backend);
  Clock& clock = instrument == Instrument::Emulated ? SystemClock() : static_cast<Clock&>(fastClock);
  rig = std::make_unique<WindowRig>(backend, prompts, clock);
  core = &rig->core;
  main = &rig->main;
  main->onShowPreferences = [this] { ++shownPreferences; };
  window = std::make_unique<WindowControls>(*main, *core);
  window->Timer1->stop();
}

MainWindowHarness::~MainWindowHarness() {
  window.reset();
  rig.reset();
  emulator.reset();
}

void MainWindowHarness::StartUp(bool keepRecords) {
  ApplyPreferences();
  window->Timer1_Timer();
  if (!keepRecords) ClearRecords();
}

void MainWindowHarness::ClearRecords() {
  if (emulator) emulator->ClearReceived();
  backend.ClearRecords();
  prompts.Clear();
}

}  // namespace qv::test
