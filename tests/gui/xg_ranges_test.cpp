// What the windows show and send stays within what XG accepts: a stored
// touch wah shows as its row, stored bytes outside a slider's range show at
// its nearest end, and nothing of a part that was never filled is sent.
// Widgets are found by object name. The bytes the edits send are tested in
// the core tests (edit_panels_test).

#include <QAction>
#include <QComboBox>
#include <QSlider>
#include <QtTest>

#include "hex.h"
#include "instrument/messages.h"
#include "main_window_harness.h"

using namespace qv;
using namespace qv::test;
using Texts = std::vector<std::string>;

namespace {

template <typename T>
T* Named(MainWindowHarness& h, const char* name) {
  T* found = h.window->window.findChild<T*>(QString::fromLatin1(name));
  if (!found) qFatal("no %s", name);
  return found;
}

void Trigger(MainWindowHarness& h, const char* action) { Named<QAction>(h, action)->trigger(); }

Texts SentNow(MainWindowHarness& h) {
  h.emulator->WaitIdle();
  Texts out;
  for (const Bytes& m : h.Sent()) out.push_back(HexString(m));
  h.ClearRecords();
  return out;
}

}  // namespace

class XgRangesTest : public QObject {
  Q_OBJECT

 private slots:
  // A touch wah stored on the instrument shows as the row of its name.
  void aStoredTouchWahShowsAsTheRowOfItsName() {
    MainWindowHarness h;
    h.StartUp();
    auto* list = Named<QComboBox>(h, "CmbVar");
    h.emulator->SetParam(0x63, 0x60, 0x00, 0x44, 0x52);
    h.emulator->SetParam(0x63, 0x60, 0x00, 0x45, 0x08);
    Trigger(h, "RtrvPerf");
    Trigger(h, "EditEffcts");
    QCOMPARE(list->currentText().trimmed(), QString("TOUCH WAH 2"));
  }

  void storedBytesOutsideTheRangesShowAtTheNearestEnd() {
    MainWindowHarness h;
    h.StartUp();
    h.emulator->SetParam(0x4C, 0x08, 0x06, 0x08, 0x10);  // note shift below 28 hex
    h.emulator->SetParam(0x4C, 0x08, 0x06, 0x6D, 0x00);  // velocity limit low 0
    Trigger(h, "RtrvMulti7");
    Trigger(h, "EditMult7");
    QVERIFY(SentNow(h).size() == 5);  // the five requests; opening the panel sends nothing
    QCOMPARE(Named<QSlider>(h, "SldNtShft")->value(), 40);
    QCOMPARE(Named<QSlider>(h, "SldVelLmtLo")->value(), 1);
    h.emulator->SetParam(0x4C, 0x08, 0x06, 0x08, 0x7F);
    Trigger(h, "RtrvMulti7");
    Trigger(h, "EditMult7");
    QCOMPARE(Named<QSlider>(h, "SldNtShft")->value(), 88);
  }

  void channelChangeOnANeverFilledPartSendsNoStoredBlock() {
    MainWindowHarness h(MainWindowHarness::Instrument::Silent);
    h.prefs.RtrvAtStart[7 - 5] = 1;  // retrieved at start, never answered: never filled
    h.StartUp();
    auto* channel = Named<QComboBox>(h, "CmbMult7");
    channel->setCurrentIndex(2);
    emit channel->activated(2);
    Texts sent;
    for (const Bytes& m : h.Sent()) sent.push_back(HexString(m));
    QCOMPARE(sent, Texts({"F0 43 10 4C 08 06 04 02 F7"}));
    // Initialising the part fills it; its blocks then leave whole.
    h.ClearRecords();
    Trigger(h, "InitMlt7");
    QCOMPARE(h.Sent().size(), std::size_t{6});
    QCOMPARE(h.Sent()[0].front(), Byte{0xF0});
  }
};

QTEST_MAIN(XgRangesTest)
#include "xg_ranges_test.moc"
