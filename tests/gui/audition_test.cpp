// The audition through real mouse and keyboard events on the main window's
// buttons, and the end of an audition by a drop anywhere on the window.

#include <QAction>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QComboBox>
#include <QSlider>
#include <QtTest>

#include "drop_events.h"
#include "main_window_harness.h"

using namespace qv;
using namespace qv::test;

namespace {

using Texts = std::vector<std::string>;

Texts Hex(const std::vector<Bytes>& messages) {
  Texts out;
  for (const Bytes& m : messages) out.push_back(HexString(m));
  return out;
}

// `pattern` for the channels 0..15, e.g. "B%X 7B 00".
std::string Each16(const char* pattern) {
  std::string out;
  for (int c = 0; c < 16; ++c) out += (c ? " " : "") + QString::asprintf(pattern, c).toStdString();
  return out;
}

const Texts kStop = {Each16("B%X 7B 00"), Each16("8%X 3C 64")};

// Started up, with note 60 (3C) and velocity 100 (64) chosen.
struct Audition {
  MainWindowHarness h;
  WindowControls& w;
  Audition() : w(*h.window) {
    h.StartUp();
    w.SelectRow(w.CmbMidNtNo, 60);
    w.SelectRow(w.CmbMidVel, 100);
    h.ClearRecords();
  }
  Texts Take() {
    Texts sent = Hex(h.Sent());
    h.ClearRecords();
    return sent;
  }
};

}  // namespace

class AuditionTest : public QObject {
  Q_OBJECT

 private slots:
  void aLayerSoundsAloneAndTheOthersGoBackToTheirStoredSwitches() {
    Audition a;
    a.h.emulator->SetLayerSwitch(3, 0);
    a.w.RtrvPerf_Click();
    a.h.prefs.PerfChannel = 11;
    a.h.ApplyPreferences();
    QVERIFY(TransmitChannelItem(a.w));
    TransmitChannelItem(a.w)->setChecked(true);
    a.h.ClearRecords();
    QTest::mousePress(a.w.Layer(2).CmdLyr, Qt::LeftButton);
    QCOMPARE(a.Take(), (Texts{"F0 43 10 63 60 01 16 00 F7 F0 43 10 63 60 03 16 00 F7 "
                              "F0 43 10 63 60 04 16 00 F7 9B 3C 64",
                              "F0 43 10 63 50 00 0A 00 F7"}));
    a.w.SelectRow(a.w.CmbMidNtNo, 61);  // the release reads the controls as they stand then
    a.h.ClearRecords();
    QTest::mouseRelease(a.w.Layer(2).CmdLyr, Qt::LeftButton);
    QCOMPARE(a.Take(), (Texts{"F0 43 10 63 60 01 16 01 F7 F0 43 10 63 60 03 16 00 F7 "
                              "F0 43 10 63 60 04 16 01 F7 8B 3D 64"}));
    QTest::mouseClick(a.w.Layer(3).CmdLyr, Qt::LeftButton);  // switched off: cannot be pressed
    QVERIFY(a.h.Sent().empty());
  }

  void performanceAndPartsPlayOnTheirChannels() {
    Audition a;
    a.h.prefs.PerfChannel = 4;
    a.h.ApplyPreferences();
    QVERIFY(TransmitChannelItem(a.w));
    TransmitChannelItem(a.w)->setChecked(true);
    QTest::mouseClick(a.w.CmdPrfm, Qt::LeftButton);
    QCOMPARE(a.Take(), (Texts{"94 3C 64", "F0 43 10 63 50 00 0A 00 F7", "84 3C 64"}));
    a.w.SelectRow(a.w.Multi(8).CmbMult, 2);
    a.h.ClearRecords();
    QTest::mousePress(a.w.Multi(8).CmdMult, Qt::LeftButton);
    QCOMPARE(a.Take(), (Texts{"92 3C 64", "F0 43 10 63 50 00 0A 02 F7"}));
    QTest::mouseRelease(a.w.Multi(8).CmdMult, Qt::LeftButton);  // no drag: a plain release
    QCOMPARE(a.Take(), Texts{"82 3C 64"});
    TransmitChannelItem(a.w)->setChecked(false);
    a.w.SelectRow(a.w.CmbMidVel, 0);
    a.h.ClearRecords();
    QTest::mouseClick(a.w.Multi(15).CmdMult, Qt::LeftButton);  // M16 receives on channel 16
    QTest::mouseDClick(a.w.Multi(15).CmdMult, Qt::LeftButton);  // a quick second press plays again
    QTest::mouseRelease(a.w.Multi(15).CmdMult, Qt::LeftButton);
    QCOMPARE(a.Take(), (Texts{"9F 3C 00", "8F 3C 00", "9F 3C 00", "8F 3C 00"}));
  }

  void noteAndVelocityFollowTheirSliders() {
    MainWindowHarness h;
    h.StartUp();
    WindowControls& w = *h.window;
    w.CmbMidNtNo->setCurrentIndex(0);
    emit w.CmbMidNtNo->activated(0);
    QCOMPARE(w.SldNt->value(), 127);
    w.SldVel->setValue(0);  // the top end
    QCOMPARE(w.CmbMidVel->currentIndex(), 127);
    w.SldVel->setValue(100);
    QCOMPARE(w.CmbMidVel->currentIndex(), 27);
    QVERIFY(h.Sent().empty());
  }

  void keyboardActivationPlaysNothing() {
    Audition a;
    for (QPushButton* button : {a.w.CmdPrfm, a.w.Layer(1).CmdLyr, a.w.Multi(4).CmdMult}) {
      button->setFocus();
      QTest::keyClick(button, Qt::Key_Space);
      button->click();
    }
    QVERIFY(a.h.Sent().empty());
  }

  void aDropAnywhereOnTheWindowEndsTheAudition() {
    Audition a;
    // A panel added later, holding a box that takes text drops of its own.
    auto* panel = new QWidget;
    auto* late = new QLineEdit(panel);
    panel->setParent(a.w.centralWidget());
    panel->setGeometry(0, 0, 100, 30);
    panel->show();
    panel->raise();
    const QPoint corner = a.w.centralWidget()->mapTo(&a.w.window, QPoint(a.w.centralWidget()->width() - 2, 2));
    const std::vector<QWidget*> targets = {a.w.CmbMidVel, a.w.findChild<QLabel*>("LblVelocity"), a.w.Layer(2).TxtLyr,
                                           late};
    for (QWidget* target : targets) {
      QVERIFY(DropOnto(a.w, "layer:1", target));
      QCOMPARE(a.Take(), kStop);
    }
    QVERIFY(DropOnto(a.w, "layer:1", &a.w.window, corner));  // the background
    QCOMPARE(a.Take(), kStop);
    QCOMPARE(a.w.LbxLyrPool->count(), 0);
    QCOMPARE(late->text(), QString());
    // A drag from another program is refused.
    QVERIFY(!DropOnto(a.w, "layer:1", a.w.LbxLyrPool, {}, true));
    QVERIFY(a.h.Sent().empty());
    QCOMPARE(a.w.LbxLyrPool->count(), 0);
  }

  void aDraggedPartEndsItsNoteWhereTheDragEnds() {
    Audition a;
    QPushButton* m9 = a.w.Multi(8).CmdMult;
    a.w.SelectRow(a.w.Multi(8).CmbMult, 2);
    a.h.ClearRecords();
    const Texts noteThenStop = {"92 3C 64", kStop[0], kStop[1]};
    QTest::mousePress(m9, Qt::LeftButton);
    QVERIFY(DropOnto(a.w, "part:8", m9));  // dropped back on itself
    QCOMPARE(a.Take(), noteThenStop);
    QCOMPARE(m9->text(), QString("Multi Part M9"));
    QTest::mouseRelease(m9, Qt::LeftButton);
    a.h.ClearRecords();
    // Shorter than the drag distance: no drag, the release ends the note.
    const QPoint start = m9->rect().center(), step(QApplication::startDragDistance() / 2 + 1, 0);
    QTest::mousePress(m9, Qt::LeftButton, {}, start);
    QTest::mouseMove(m9, start + step);
    QTest::mouseRelease(m9, Qt::LeftButton, {}, start);
    QCOMPARE(a.Take(), (Texts{"92 3C 64", "82 3C 64"}));
    // A real drag; this platform ends it at once, as outside the window.
    QTest::mousePress(m9, Qt::LeftButton, {}, start);
    QTest::mouseMove(m9, start + step * 2);
    QCOMPARE(a.Take(), noteThenStop);
    QVERIFY(!m9->isDown());
    QTest::mouseRelease(m9, Qt::LeftButton, {}, start);
  }
};

QTEST_MAIN(AuditionTest)
#include "audition_test.moc"
