// The audition through real mouse and keyboard events on the main window's
// buttons, and the end of an audition by a drop anywhere on the window.

#include <QAction>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QtTest>

#include "drop_events.h"
#include "instrument/messages.h"
#include "main_window_harness.h"

using namespace qv;
using namespace qv::test;

namespace {

std::vector<std::string> Hex(const std::vector<Bytes>& messages) {
  std::vector<std::string> out;
  for (const Bytes& m : messages) out.push_back(HexString(m));
  return out;
}

std::string Joined(std::initializer_list<std::string> parts) {
  std::string out;
  for (const std::string& p : parts) out += (out.empty() ? "" : " ") + p;
  return out;
}

std::string StopAllNotes() {
  std::string out;
  for (int c = 0; c < 16; ++c) out += (c ? " B" : "B") + QString::number(c, 16).toUpper().toStdString() + " 7B 00";
  return out;
}

std::string StopNote(const std::string& kk, const std::string& vv) {
  std::string out;
  for (int c = 0; c < 16; ++c)
    out += (c ? " 8" : "8") + QString::number(c, 16).toUpper().toStdString() + " " + kk + " " + vv;
  return out;
}

// A window after start-up with note 60 (3C) and velocity 100 (64) chosen.
struct Audition {
  MainWindowHarness h;
  MainWindow& w;
  Audition() : w(*h.window) {
    h.StartUp();
    w.SelectRow(w.CmbMidNtNo, 60);
    w.SelectRow(w.CmbMidVel, 100);
    h.ClearRecords();
  }
  void Assign(bool on) { TransmitChannelItem(w)->setChecked(on); }
};

}  // namespace

class AuditionTest : public QObject {
  Q_OBJECT

 private slots:
  void layerSwitchesTheOtherLayersOffAndBackToTheirStoredValues() {
    Audition a;
    a.h.emulator->SetLayerSwitch(3, 0);
    a.w.RtrvPerf_Click();
    a.h.prefs.perfChannelRow = 11;
    a.Assign(true);
    a.h.ClearRecords();

    QTest::mousePress(a.w.Layer(2).CmdLyr, Qt::LeftButton);
    QCOMPARE(Hex(a.h.Sent()), (std::vector<std::string>{
                                  Joined({"F0 43 10 63 60 01 16 00 F7", "F0 43 10 63 60 03 16 00 F7",
                                          "F0 43 10 63 60 04 16 00 F7", "9B 3C 64"}),
                                  "F0 43 10 63 50 00 0A 00 F7"}));
    QCOMPARE(a.h.Sent()[0].size(), std::size_t{30});

    // The release reads the controls as they stand then.
    a.w.SelectRow(a.w.CmbMidNtNo, 61);
    a.h.ClearRecords();
    QTest::mouseRelease(a.w.Layer(2).CmdLyr, Qt::LeftButton);
    QCOMPARE(Hex(a.h.Sent()), (std::vector<std::string>{Joined({"F0 43 10 63 60 01 16 01 F7",
                                                                "F0 43 10 63 60 03 16 00 F7",
                                                                "F0 43 10 63 60 04 16 01 F7", "8B 3D 64"})}));

    // Layer 4 switches 1, 2 and 3; a layer that is off cannot be pressed.
    a.h.ClearRecords();
    QTest::mouseClick(a.w.Layer(4).CmdLyr, Qt::LeftButton);
    QTest::mouseClick(a.w.Layer(3).CmdLyr, Qt::LeftButton);
    const auto sent = Hex(a.h.Sent());
    QCOMPARE(sent.size(), std::size_t{3});
    QCOMPARE(sent[0].substr(0, 26 * 3 + 2), Joined({"F0 43 10 63 60 01 16 00 F7", "F0 43 10 63 60 02 16 00 F7",
                                                    "F0 43 10 63 60 03 16 00 F7"}));
  }

  void performanceAndMultiPartsSendTheirOwnTransmitChannel() {
    Audition a;
    a.h.prefs.perfChannelRow = 4;
    a.Assign(true);
    QTest::mouseClick(a.w.CmdPrfm, Qt::LeftButton);
    QCOMPARE(Hex(a.h.Sent()), (std::vector<std::string>{"94 3C 64", "F0 43 10 63 50 00 0A 00 F7", "84 3C 64"}));

    a.w.SelectRow(a.w.Multi(8).CmbMult, 2);
    a.h.ClearRecords();
    QTest::mousePress(a.w.Multi(8).CmdMult, Qt::LeftButton);
    QCOMPARE(Hex(a.h.Sent()), (std::vector<std::string>{"92 3C 64", "F0 43 10 63 50 00 0A 02 F7"}));
    // A release without moving is a plain release on the part channel.
    a.h.ClearRecords();
    QTest::mouseRelease(a.w.Multi(8).CmdMult, Qt::LeftButton);
    QCOMPARE(Hex(a.h.Sent()), std::vector<std::string>{"82 3C 64"});

    // Without the check mark no transmit channel is sent.
    a.Assign(false);
    a.h.ClearRecords();
    QTest::mouseClick(a.w.Multi(15).CmdMult, Qt::LeftButton);
    QTest::mouseClick(a.w.Layer(1).CmdLyr, Qt::LeftButton);
    const auto sent = Hex(a.h.Sent());
    QCOMPARE(sent.size(), std::size_t{4});
    QCOMPARE(sent[0], std::string("9F 3C 64"));  // M16 receives on channel 16 after start-up
    QCOMPARE(sent[1], std::string("8F 3C 64"));
  }

  void velocityRowZeroAndTheSecondPressOfADoubleClick() {
    Audition a;
    a.w.SelectRow(a.w.CmbMidVel, 0);
    a.h.ClearRecords();
    QTest::mouseClick(a.w.CmdPrfm, Qt::LeftButton);
    QTest::mouseDClick(a.w.CmdPrfm, Qt::LeftButton);  // a quick second press plays again
    QTest::mouseRelease(a.w.CmdPrfm, Qt::LeftButton);
    QCOMPARE(Hex(a.h.Sent()), (std::vector<std::string>{"90 3C 00", "80 3C 00", "90 3C 00", "80 3C 00"}));
  }

  void keyboardActivationPlaysNothing() {
    Audition a;
    a.Assign(true);
    for (QPushButton* button : {a.w.CmdPrfm, a.w.Layer(1).CmdLyr, a.w.Multi(4).CmdMult}) {
      button->setFocus();
      QTest::keyClick(button, Qt::Key_Space);
      QTest::keyClick(button, Qt::Key_Return);
      button->click();
    }
    QVERIFY(a.h.Sent().empty());
  }

  void stopAuditionSendsAllNotesOffThenTheNoteOffOnEveryChannel() {
    Audition a;
    a.w.StopAudition();
    const auto sent = a.h.Sent();
    QCOMPARE(sent.size(), std::size_t{2});
    QCOMPARE(sent[0].size(), std::size_t{48});
    QCOMPARE(sent[1].size(), std::size_t{48});
    QCOMPARE(HexString(sent[0]), StopAllNotes());
    QCOMPARE(HexString(sent[1]), StopNote("3C", "64"));
  }

  void aDropAnywhereOnTheWindowEndsTheAudition() {
    Audition a;
    auto* label = a.w.findChild<QLabel*>("LblVelocity");
    QVERIFY(label);
    const std::vector<std::string> stop = {StopAllNotes(), StopNote("3C", "64")};
    struct Target {
      QWidget* widget;
      QPoint at;
    };
    // The velocity box, a label, the background beside the multi column, a
    // layer name (a box that takes text drops of its own) and a channel box.
    const QPoint background = a.w.centralWidget()->mapTo(&a.w, QPoint(2, 2));
    for (const Target& t : {Target{a.w.CmbMidVel, {}}, Target{label, {}}, Target{&a.w, background},
                            Target{a.w.Layer(2).TxtLyr, {}}, Target{a.w.Multi(6).CmbMult, {}}}) {
      a.h.ClearRecords();
      QVERIFY(DropOnto(a.w, "TxtLyr1", t.widget, t.at));
      QCOMPARE(Hex(a.h.Sent()), stop);
    }
    QCOMPARE(a.w.LbxLyrPool->count(), 0);

    // A widget put into the window later, holding a box that takes drops of its own.
    auto* panel = new QWidget;
    auto* late = new QLineEdit(panel);
    late->setGeometry(0, 0, 80, 20);
    panel->setParent(a.w.centralWidget());
    panel->setGeometry(0, 0, 100, 30);
    panel->show();
    panel->raise();
    a.h.ClearRecords();
    QVERIFY(DropOnto(a.w, "CmdMult5", late));
    QCOMPARE(Hex(a.h.Sent()), stop);
    QCOMPARE(late->text(), QString());

    // A drag from another program is refused and changes nothing.
    a.h.ClearRecords();
    QVERIFY(!DropForeignOnto(a.w, a.w.LbxLyrPool));
    QVERIFY(!DropForeignOnto(a.w, label));
    QVERIFY(a.h.Sent().empty());
    QCOMPARE(a.w.LbxLyrPool->count(), 0);
  }

  void multiButtonDraggedEndsItsNoteByTheDrop() {
    Audition a;
    a.w.SelectRow(a.w.Multi(8).CmbMult, 2);
    const std::vector<std::string> stop = {StopAllNotes(), StopNote("3C", "64")};
    QPushButton* m9 = a.w.Multi(8).CmdMult;

    // Dropped back on the button: only the audition ends.
    a.h.ClearRecords();
    QTest::mousePress(m9, Qt::LeftButton);
    QVERIFY(DropOnto(a.w, "CmdMult9", m9));
    std::vector<std::string> expected = {"92 3C 64"};
    expected.insert(expected.end(), stop.begin(), stop.end());
    QCOMPARE(Hex(a.h.Sent()), expected);
    QCOMPARE(m9->text(), QString("Multi Part M9"));
    QTest::mouseRelease(m9, Qt::LeftButton);

    // A move shorter than the drag distance is no drag: the release ends the note.
    a.h.ClearRecords();
    const QPoint start = m9->rect().center();
    QTest::mousePress(m9, Qt::LeftButton, {}, start);
    QTest::mouseMove(m9, start + QPoint(QApplication::startDragDistance() / 2, 0));
    QTest::mouseRelease(m9, Qt::LeftButton, {}, start);
    QCOMPARE(Hex(a.h.Sent()), (std::vector<std::string>{"92 3C 64", "82 3C 64"}));

    // A real drag: this platform ends it at once, as a drag released
    // outside the window, and that ends the audition too.
    a.h.ClearRecords();
    QTest::mousePress(m9, Qt::LeftButton, {}, start);
    QTest::mouseMove(m9, start + QPoint(QApplication::startDragDistance() + 2, 0));
    QCOMPARE(Hex(a.h.Sent()), expected);
    QVERIFY(!m9->isDown());
    QTest::mouseRelease(m9, Qt::LeftButton, {}, start);
  }
};

QTEST_MAIN(AuditionTest)
#include "audition_test.moc"
