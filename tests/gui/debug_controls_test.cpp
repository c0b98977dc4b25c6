// The developer's parameter controls: showing and hiding them, and what
// their three buttons send.

#include <QAction>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QtTest>

#include "hex.h"
#include "main_window_harness.h"

using namespace qv;
using namespace qv::test;
using Texts = std::vector<std::string>;

namespace {
Texts SentAfter(MainWindowHarness& h, QPushButton* button, const Texts& boxes) {
  for (std::size_t i = 0; i < boxes.size(); ++i) h.window->TxtParm[i]->setText(QString::fromStdString(boxes[i]));
  h.ClearRecords();
  button->click();
  Texts out;
  for (const Bytes& m : h.Sent()) out.push_back(HexString(m));
  return out;
}
}  // namespace

class DebugControlsTest : public QObject {
  Q_OBJECT

 private slots:
  void windowOnAndOffShowAndHideTogether() {
    MainWindowHarness h(MainWindowHarness::Instrument::Silent);
    h.StartUp();
    WindowControls& w = *h.window;
    const std::vector<QWidget*> controls{w.List1, w.TxtParm[0], w.TxtParm[4], w.CmdRtrvParm, w.CmdChngCntl};
    w.WinOff->trigger();
    for (QWidget* c : controls) QVERIFY(!c->isVisible());
    w.WinOn->trigger();
    w.WinOn->trigger();
    for (QWidget* c : controls) QVERIFY(c->isVisible());
    w.WinOff->trigger();
    for (QWidget* c : controls) QVERIFY(!c->isVisible());
    QVERIFY(h.Sent().empty());
    QCOMPARE(w.findChild<QLineEdit*>("TxtParm_0")->text(), QString("76"));
    for (int i = 1; i <= 4; ++i) QCOMPARE(w.TxtParm[static_cast<std::size_t>(i)]->text(), QString("0"));
    QCOMPARE(w.CmdRtrvParm->text(), QString("RtrvParm"));
    QCOMPARE(w.CmdChngParm->text(), QString("ChngParm"));
    QCOMPARE(w.CmdChngCntl->text(), QString("ChngCntl"));
  }

  void buttonsSendOnlyValidBytes() {
    MainWindowHarness h(MainWindowHarness::Instrument::Silent);
    h.StartUp();
    QPushButton* cntl = h.window->CmdChngCntl;
    QCOMPARE(SentAfter(h, cntl, {"76", "0", "7", "100"}), Texts({"B0 07 64"}));
    QCOMPARE(SentAfter(h, cntl, {"76", "2.7", "7", "100"}), Texts({"B2 07 64"}));
    QCOMPARE(SentAfter(h, cntl, {"76", "-1", "7", "100"}), Texts({"AF 07 64"}));  // B0 - 1 lies in 0..255
    QCOMPARE(SentAfter(h, cntl, {"76", "ch", "7", "100"}), Texts());
    QPushButton* parm = h.window->CmdChngParm;
    QCOMPARE(SentAfter(h, parm, {"76", "8", "4", "11", "2.7"}), Texts({"F0 43 10 4C 08 04 0B 02 F7"}));
    QVERIFY(h.prompts.shown.empty());
  }

  void parameterRequestTracesOnlyWhatArrives() {
    MainWindowHarness h(MainWindowHarness::Instrument::Silent);
    h.StartUp();
    WindowControls& w = *h.window;
    w.List1->addItem("left from before");
    const long long before = h.fastClock.virtualMs;
    QCOMPARE(SentAfter(h, w.CmdRtrvParm, {"76", "8", "4", "7"}), Texts({"F0 43 30 4C 08 04 07 F7"}));
    QCOMPARE(h.fastClock.virtualMs - before, 2000LL);
    QCOMPARE(w.List1->count(), 0);

    h.backend.onSend = [&](const Bytes& m) {
      if (m.size() > 2 && m[2] == 0x30) h.backend.Deliver(ParseHex("F0 43 10 4C 08 04 07 05 F7"));
    };
    SentAfter(h, w.CmdRtrvParm, {"76", "8", "4", "7"});
    QCOMPARE(w.List1->count(), 9);
    QCOMPARE(w.List1->item(8)->text(), QString("Sys Ex  Parm retrieve  FFFF   8    247  F7"));

    // A box that is not a number leaves everything as it was: no request,
    // no wait, the list as it stands.
    const long long waited = h.fastClock.virtualMs;
    QCOMPARE(SentAfter(h, w.CmdRtrvParm, {"76", "8", "4", "seven"}), Texts());
    QCOMPARE(w.List1->count(), 9);
    QVERIFY(h.backend.Calls().empty());
    QCOMPARE(h.fastClock.virtualMs, waited);
  }
};

QTEST_MAIN(DebugControlsTest)
#include "debug_controls_test.moc"
