#include "main_window_harness.h"

#include <QTimer>

namespace qv::test {

MainWindowHarness::MainWindowHarness(Instrument instrument) {
  if (instrument == Instrument::Emulated) emulator = std::make_unique<Cs2xEmulator>(backend);
  Clock& clock = instrument == Instrument::Emulated ? SystemClock() : static_cast<Clock&>(fastClock);
  main = std::make_unique<MainWindow>(backend, prompts, clock, prefs);
  window = std::make_unique<WindowControls>(*main);
  window->Timer1->stop();
}

MainWindowHarness::~MainWindowHarness() {
  window.reset();
  main.reset();
  emulator.reset();
}

void MainWindowHarness::StartUp(bool keepRecords) {
  window->Timer1_Timer();
  if (!keepRecords) ClearRecords();
}

void MainWindowHarness::ClearRecords() {
  if (emulator) emulator->ClearReceived();
  backend.ClearRecords();
  prompts.Clear();
}

}  // namespace qv::test
