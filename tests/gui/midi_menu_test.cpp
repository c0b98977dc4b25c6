// The Midi menu's commands and the way out of the program.

#include <QAction>
#include <QMenu>
#include <QtTest>

#include "hex.h"
#include "instrument/messages.h"
#include "main_window_harness.h"

using namespace qv;
using namespace qv::test;
using Texts = std::vector<std::string>;

namespace {
constexpr auto kSilent = MainWindowHarness::Instrument::Silent;

Texts Hex(const std::vector<Bytes>& messages) {
  Texts out;
  for (const Bytes& m : messages) out.push_back(HexString(m));
  return out;
}

Texts DeviceCalls(const FakeMidiBackend& backend) {  // the sends left out
  Texts out;
  for (const std::string& c : backend.Calls())
    if (c.rfind("Out", 0) != 0 || c == "OutReset" || c == "OutClose") out.push_back(c);
  return out;
}
}  // namespace

class MidiMenuTest : public QObject {
  Q_OBJECT

 private slots:
  void checkMarksSendTheirNewState() {
    MainWindowHarness h(kSilent);
    h.StartUp();
    WindowControls& w = *h.window;
    auto* midi = w.findChild<QMenu*>("Midi");
    QVERIFY(midi);
    Texts captions;
    for (QAction* a : midi->actions()) captions.push_back(a->text().toStdString());
    QCOMPARE(captions, Texts({"All Notes Off", "Local Off", "Arpeggiator Off", "Trans Chnl Assigned by Audition"}));
    for (QAction* a : midi->actions()) QVERIFY(!a->isChecked());
    w.LocalOff->trigger();
    w.LocalOff->trigger();
    w.ArpOff->trigger();
    QVERIFY(!w.LocalOff->isChecked() && w.ArpOff->isChecked());
    w.ArpOff->trigger();
    QVERIFY(!w.ArpOff->isChecked());
    QCOMPARE(Hex(h.Sent()), Texts({"F0 43 10 63 50 00 0B 00 F7", "F0 43 10 63 50 00 0B 01 F7",
                                   "F0 43 10 63 60 00 33 04 F7", "F0 43 10 63 60 00 33 05 F7"}));
    h.ClearRecords();
    auto* trans = w.findChild<QAction*>("TrnsChnlAssgn");
    trans->trigger();
    QVERIFY(trans->isChecked() && h.Sent().empty());
  }

  void allNotesOffPausesThruForASecond() {
    MainWindowHarness h(kSilent);
    h.StartUp();
    const long long before = h.fastClock.virtualMs;
    h.window->AllNtsOff->trigger();
    QCOMPARE(h.fastClock.virtualMs - before, 1000LL);
    const auto sent = h.Sent();
    QCOMPARE(sent.size(), std::size_t{2});
    QCOMPARE(HexString(Bytes(sent[0].begin() + 45, sent[0].end())), std::string("BF 7B 00"));
    QCOMPARE(sent[1].size(), std::size_t{48});
    QCOMPARE(DeviceCalls(h.backend), Texts({"Disconnect", "InStop", "Connect", "InStart"}));

    h.ClearRecords();
    h.backend.Fail("Connect", kMidiNotReady);
    h.window->AllNtsOff_Click();
    QCOMPARE(h.prompts.Messages(), Texts({"Operation: Connect\r\n" + MidiErrorText(kMidiNotReady)}));
    QCOMPARE(DeviceCalls(h.backend), Texts({"Disconnect", "InStop", "Connect"}));
  }

  void exitCancelledTouchesNothing() {
    MainWindowHarness h(kSilent);
    h.StartUp();
    bool unloaded = false;
    h.window->onUnload = [&] { unloaded = true; };
    h.prompts.answers.push_back(Prompts::Answer::Cancel);
    QVERIFY(!h.window->close());
    QVERIFY(h.window->isVisible() && !unloaded && h.backend.Calls().empty());
    QCOMPARE(h.prompts.shown.at(0).text + "|" + h.prompts.shown.at(0).title,
             std::string("Do you really want to exit program?|Exit"));
  }

  void exitClosesTheOpenDevicesAfterThruThenUnloads() {
    MainWindowHarness h(kSilent);
    h.StartUp();
    h.backend.Fail("InStop", kMidiError);  // every box is shown and the next step still runs
    Texts atUnload;
    h.window->onUnload = [&] { atUnload = h.backend.Calls(); };
    h.window->ExitMenu->trigger();
    QVERIFY(!h.window->isVisible());
    QCOMPARE(atUnload, Texts({"Disconnect", "InStop", "InClose", "OutReset", "OutClose"}));
    QCOMPARE(h.prompts.Messages(), Texts({"Operation: InStop\r\n" + MidiErrorText(kMidiError)}));

    MainWindowHarness noInput(kSilent);
    noInput.backend.Fail("InOpen", kMidiBadDeviceId);
    noInput.StartUp();
    QVERIFY(noInput.window->close());
    QVERIFY(noInput.prompts.Messages().empty());
    QCOMPARE(noInput.backend.Calls(), Texts({"Disconnect", "OutReset", "OutClose"}));
  }
};

QTEST_MAIN(MidiMenuTest)
#include "midi_menu_test.moc"
