// The values the windows send stay within what XG accepts: the touch wah
// variation types, the note shift and velocity limit sliders, and nothing
// of a part that was never filled. Widgets are found by object name.

#include <QAction>
#include <QComboBox>
#include <QSlider>
#include <QtTest>

#include "instrument/messages.h"
#include "main_window_harness.h"
#include "slider_clicks.h"

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

// Moves the slider to `position` by code (nothing leaves) and releases it
// there: what the release sends.
Texts ReleaseAt(MainWindowHarness& h, QSlider* slider, int position) {
  slider->setValue(position);
  h.ClearRecords();
  ClickHandle(slider);
  return SentNow(h);
}

}  // namespace

class XgRangesTest : public QObject {
  Q_OBJECT

 private slots:
  void touchWahRowsSendAndShowTheTypeTheirNamesSay() {
    MainWindowHarness h;
    h.StartUp();
    Trigger(h, "EditEffcts");
    auto* list = Named<QComboBox>(h, "CmbVar");
    const struct {
      int row;
      const char* name;
      const char* sent;
    } rows[] = {{53, "TOUCH WAH 1", "F0 43 10 63 60 00 44 52 00 F7"},
                {54, "TOUCH WAH 2", "F0 43 10 63 60 00 44 52 08 F7"},
                {55, "TOUCH WAH+DIST", "F0 43 10 63 60 00 44 52 01 F7"},
                {56, "TOUCH WAH+ODRV", "F0 43 10 63 60 00 44 52 02 F7"}};
    for (const auto& r : rows) {
      QCOMPARE(list->itemText(r.row).trimmed(), QString(r.name));
      list->setCurrentIndex(r.row);
      emit list->activated(r.row);
      const Texts sent = SentNow(h);
      QVERIFY(!sent.empty());
      QCOMPARE(sent.back(), std::string(r.sent));
    }
    // A type stored on the instrument shows as the row of its name.
    h.emulator->SetParam(0x63, 0x60, 0x00, 0x44, 0x52);
    h.emulator->SetParam(0x63, 0x60, 0x00, 0x45, 0x08);
    Trigger(h, "RtrvPerf");
    Trigger(h, "EditEffcts");
    QCOMPARE(list->currentText().trimmed(), QString("TOUCH WAH 2"));
  }

  void noteShiftAndVelocityLimitsSendOnlyWhatXgAccepts() {
    MainWindowHarness h;
    h.StartUp();
    Trigger(h, "EditMult7");
    auto* shift = Named<QSlider>(h, "SldNtShft");
    auto* low = Named<QSlider>(h, "SldVelLmtLo");
    auto* high = Named<QSlider>(h, "SldVelLmtHi");
    QCOMPARE(std::make_pair(shift->minimum(), shift->maximum()), std::make_pair(40, 88));
    for (QSlider* s : {low, high}) QCOMPARE(std::make_pair(s->minimum(), s->maximum()), std::make_pair(1, 127));

    QCOMPARE(ReleaseAt(h, shift, 40), Texts({"F0 43 10 4C 08 06 08 28 F7"}));  // -24 semitones
    QCOMPARE(ReleaseAt(h, shift, 88), Texts({"F0 43 10 4C 08 06 08 58 F7"}));  // +24
    QCOMPARE(ReleaseAt(h, low, 1), Texts({"F0 43 10 4C 08 06 6D 01 F7"}));
    QCOMPARE(ReleaseAt(h, high, 1), Texts({"F0 43 10 4C 08 06 6E 01 F7"}));
    QCOMPARE(ReleaseAt(h, high, 127), Texts({"F0 43 10 4C 08 06 6E 7F F7"}));
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
