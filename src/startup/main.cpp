// Quorvane: an editor and librarian for the CS2x synthesizer.

#include <QApplication>

#include "link/clock.h"
#include "link/rtmidi_backend.h"
#include "startup/application.h"
#include "startup/qt_prompts.h"

int main(int argc, char** argv) {
  QApplication app(argc, argv);
  QApplication::setApplicationName(QString::fromLatin1(qv::kAppTitle));

  qv::RtMidiBackend backend;
  qv::QtPrompts prompts;
  qv::Application quorvane(backend, prompts, qv::SystemClock(), QCoreApplication::applicationDirPath());
  quorvane.Main();
  return app.exec();
}
