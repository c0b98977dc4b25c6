// The main window on the RtMidi backend over real JACK ports, against the
// emulated CS2x behind ports of its own: the start-up with all twelve parts
// retrieved sends what it sends on the fake wire, and a channel change and a
// slider release reach the instrument. Controls are reached by name only.

#include <QAction>
#include <QComboBox>
#include <QPushButton>
#include <QSlider>
#include <QtTest>
#include <cstdlib>
#include <cstring>

#include "cs2x_emulator.h"
#include "fake_midi_backend.h"
#include "hex.h"
#include "instrument/messages.h"
#include "jack_ports.h"
#include "link/rtmidi_backend.h"
#include "mainwindow/main_window.h"
#include "main_window_harness.h"
#include "scripted_prompts.h"
#include "slider_clicks.h"

using namespace qv;
using namespace qv::test;

namespace {

// Output and input devices chosen, every multi part retrieved at start.
PreferencesRecord AllPartsPreferences(int in, int out) {
  PreferencesRecord prefs;
  prefs.MidiInDevIdx = static_cast<Byte>(in);
  prefs.MidiOutDevIdx = static_cast<Byte>(out);
  prefs.RtrvAtStart.fill(1);
  return prefs;
}

// The windows made and the start-up work run, as the one-shot timer does.
std::unique_ptr<WindowRig> StartUp(MidiBackend& backend, Prompts& prompts, const PreferencesRecord& prefs) {
  auto rig = std::make_unique<WindowRig>(backend, prompts, SystemClock());
  rig->core.SetPreferences(prefs);
  rig->main.Timer1_Timer();
  return rig;
}

QStringList Captions(QWidget& window) {
  QStringList captions;
  for (int multi = 5; multi <= 16; ++multi)
    captions << window.findChild<QPushButton*>(QString("CmdMult%1").arg(multi))->text();
  return captions;
}


}  // namespace

class JackStartupTest : public QObject {
  Q_OBJECT

 private slots:
  void startUpOverJackMatchesTheFakeWireAndEditsReachTheInstrument() {
    std::string reason;
    if (!JackAvailable(reason)) {
      if (SkipMustFail()) QFAIL(reason.c_str());
      QSKIP(reason.c_str());
    }

    // The same start-up on the fake wire.
    std::vector<Bytes> onFakeWire;
    QStringList fakeCaptions;
    {
      FakeMidiBackend fake;
      Cs2xEmulator instrument(fake);
      ScriptedPrompts prompts;
      auto rig = StartUp(fake, prompts, AllPartsPreferences(0, 0));
      onFakeWire = instrument.Received();
      fakeCaptions = Captions(rig->main);
      QVERIFY(prompts.Messages().empty());
    }

    // A run in which the server had an xrun (a late client loses that
    // period's MIDI events) does not count when it differs: it runs again.
    ScriptedPrompts prompts;
    std::unique_ptr<JackCs2x> jackCs2x;
    std::unique_ptr<RtMidiBackend> backend;
    std::unique_ptr<WindowRig> rig;  // goes first
    std::vector<Bytes> overJack;
    for (int run = 1;; ++run) {
      rig.reset();
      backend.reset();
      jackCs2x.reset();
      prompts.Clear();
      JackXrunWatch watch;
      const std::string suffix = "-" + std::to_string(run);
      jackCs2x = std::make_unique<JackCs2x>(UniqueClientName("CS2x") + suffix);
      QVERIFY(jackCs2x->Ready());
      backend = std::make_unique<RtMidiBackend>(MidiApi::Jack, UniqueClientName("Quorvane") + suffix);
      const int in = InputDevice(*backend, jackCs2x->OutPort());
      const int out = OutputDevice(*backend, jackCs2x->InPort());
      QVERIFY(in >= 0 && out >= 0);
      rig = StartUp(*backend, prompts, AllPartsPreferences(in, out));
      overJack = jackCs2x->Received(onFakeWire.size());
      if ((overJack == onFakeWire && prompts.Messages().empty()) || watch.Count() == 0 || run == 3) break;
      qInfo("the JACK server had %d xruns: the start-up runs again", watch.Count());
    }
    JackCs2x& cs2x = *jackCs2x;
    QVERIFY2(prompts.Messages().empty(), prompts.Messages().empty() ? "" : prompts.Messages().front().c_str());

    QCOMPARE(overJack.size(), onFakeWire.size());
    int requests = 0;
    for (std::size_t i = 0; i < onFakeWire.size(); ++i) {
      QCOMPARE(HexString(overJack[i]), HexString(onFakeWire[i]));
      requests += overJack[i].size() == 8 && (overJack[i][2] & 0xF0) == 0x20;
    }
    QCOMPARE(requests, 2 * 8 + 60);  // the performance twice, then five blocks of each part
    MainWindow* window = &rig->main;
    QCOMPARE(Captions(*window), fakeCaptions);
    qInfo("start-up over JACK: %zu messages compared with the fake wire", onFakeWire.size());

    // A channel change.
    auto* channel = window->findChild<QComboBox*>("CmbMult9");
    QVERIFY(channel);
    channel->setCurrentIndex(5);
    emit channel->activated(5);
    QTRY_COMPARE(static_cast<int>(cs2x.Instrument().Param(kModelXg, 0x08, 0x08, 0x04)), 5);

    // A slider released on the edit panel of multi 9.
    auto* edit = window->findChild<QAction*>("EditMult9");
    QVERIFY(edit);
    edit->trigger();
    auto* volume = window->findChild<QSlider*>("SldLvVol");
    QVERIFY(volume && volume->isVisible());
    volume->setValue(77);
    ClickHandle(volume);
    QTRY_COMPARE(static_cast<int>(cs2x.Instrument().Param(kModelXg, 0x08, 0x08, 0x0B)), 77);
    QVERIFY(prompts.Messages().empty());
  }
};

QTEST_MAIN(JackStartupTest)
#include "jack_startup_test.moc"
