// Quorvane wired to the emulated CS2x instead of a MIDI service: for trying
// the real windows (under Xvfb, say) without an instrument.

#include <QApplication>
#include <QTemporaryDir>

#include "cs2x_emulator.h"
#include "fake_midi_backend.h"
#include "link/clock.h"
#include "startup/application.h"
#include "startup/qt_prompts.h"

int main(int argc, char** argv) {
  QApplication app(argc, argv);
  QApplication::setApplicationName(QString::fromLatin1(qv::kAppTitle));

  qv::test::FakeMidiBackend backend;
  backend.inputNames = {"Emulated CS2x"};
  backend.outputNames = {"Emulated CS2x"};
  qv::test::Cs2xEmulator instrument(backend);
  qv::QtPrompts prompts;
  QTemporaryDir prefsFolder;
  qv::Application quorvane(backend, prompts, qv::SystemClock(), prefsFolder.path());
  quorvane.Main();
  return app.exec();
}
