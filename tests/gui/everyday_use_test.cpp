// Living with the window: one error box per failure and command, a mouse
// wheel that leaves the instrument alone, a window that fits a laptop screen
// and gives back the room of a closed panel, audition bars that fill.

#include <QApplication>
#include <QImage>
#include <QWheelEvent>
#include <QtTest>

#include "main_window_harness.h"
#include "slider_clicks.h"

using namespace qv;
using namespace qv::test;

namespace {

void Choose(QComboBox* combo, int row) {
  combo->setCurrentIndex(row);
  emit combo->activated(row);
}

void Click(QWidget& panel, const char* button) {
  Child<QPushButton>(panel, button)->click();
  QApplication::processEvents();
}

}  // namespace

class EverydayUseTest : public QObject {
  Q_OBJECT

 private slots:
  // With no output every message fails alike: a command shows that box once.
  void eachCommandShowsAFailureOnce() {
    MainWindowHarness h(MainWindowHarness::Instrument::Silent);
    h.backend.Fail("OutOpen", kMidiNoDriver);
    h.StartUp();
    WindowControls& w = *h.window;
    const auto boxes = [&](const std::function<void()>& command) {
      h.ClearRecords();
      command();
      return h.prompts.Messages().size();
    };
    QCOMPARE(boxes([&] { Child<QAction>(w, "InitMltall")->trigger(); }), std::size_t{1});
    QCOMPARE(boxes([&] { Child<QAction>(w, "RtrvAllMulti")->trigger(); }), std::size_t{1});
    QVERIFY(h.fastClock.virtualMs < 2000);  // requests that never left are not waited for
    w.OptUser->click();
    QCOMPARE(boxes([&] { Choose(w.CmbPrgm, 3); }), std::size_t{2});
    QCOMPARE(boxes([&] { w.AllNtsOff->trigger(); }), std::size_t{3});

    MainWindowHarness noInput(MainWindowHarness::Instrument::Silent);
    noInput.backend.Fail("InOpen", kMidiBadDeviceId);
    noInput.StartUp(true);
    const auto shown = noInput.prompts.Messages();
    QCOMPARE(shown.size(), std::size_t{3});
    QVERIFY(shown[0].rfind("Operation: Open", 0) == 0 && shown[2].rfind("Operation: Connect", 0) == 0);
  }

  void theWheelChangesOnlyAFocusedControl() {
    MainWindowHarness h;
    h.StartUp();
    WindowControls& w = *h.window;
    w.EditMult(6);
    w.EditEffcts->trigger();
    w.OptUser->click();
    Choose(w.CmbPrgm, 5);
    h.ClearRecords();
    QComboBox* channels = w.Multi(9).CmbMult;
    const QList<QWidget*> controls{w.CmbPrgm, channels, Child<QComboBox>(*w.SSTab2, "CmbRvrb"),
                                   Child<QSlider>(*w.SSTab1, "SldLvVol"), Child<QSlider>(*w.SSTab2, "SldEffSndCtoR"),
                                   Child<QComboBox>(w.window, "CmbMidNtNo"), Child<QSlider>(w.window, "SldNt")};
    const auto positions = [&] {
      QList<int> at;
      for (QWidget* c : controls)
        at << (qobject_cast<QComboBox*>(c) ? qobject_cast<QComboBox*>(c)->currentIndex()
                                           : qobject_cast<QSlider*>(c)->value());
      return at;
    };
    const QList<int> before = positions();
    for (QWidget* control : controls) {
      WheelStep(control, -120);
      QCOMPARE(positions(), before);
      WheelStep(control, 120);
    }
    QVERIFY(h.Sent().empty());

    // Clicked into, a list takes the wheel as before.
    w.window.activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(&w.window));
    channels->setFocus();
    WheelStep(channels, -120);
    QCOMPARE(channels->currentIndex(), before[1] + 1);
  }

  void bothPanelsFitALaptopScreenAndGiveTheirRoomBack() {
    MainWindowHarness h;
    h.StartUp();
    WindowControls& w = *h.window;
    QMainWindow& main = w.window;
    const QSize alone = main.size();
    w.EditMult(6);
    w.EditEffcts->trigger();
    QApplication::processEvents();
    QVERIFY(main.minimumSize().width() <= 1366 && main.minimumSize().height() <= 700);
    QVERIFY(main.width() <= 1366 && main.height() <= 700);
    const QSize both = main.size();
    Click(*w.SSTab1, "CmdDone1");
    Click(*w.SSTab2, "CmdEffDn1");
    QCOMPARE(main.size(), alone);

    // Closed in the other order, each panel gives back its room.
    w.EditEffcts->trigger();
    w.EditMult(4);
    QApplication::processEvents();
    QCOMPARE(main.size(), both);
    Click(*w.SSTab2, "CmdEffDn1");
    QVERIFY(main.height() < both.height() && main.width() == both.width());
    Click(*w.SSTab1, "CmdDone2_0");
    QCOMPARE(main.size(), alone);

    // On a wide window the pool list stays a list.
    main.resize(1900, alone.height());
    QApplication::processEvents();
    QVERIFY(w.LbxLyrPool->width() < 400);
    QCOMPARE(w.CmdClrLyrPool->width(), w.LbxLyrPool->width());

    // A size the user chose while a panel was open stays.
    w.EditMult(6);
    QApplication::processEvents();
    const QSize chosen = main.size() + QSize(40, 60);
    main.resize(chosen);
    Click(*w.SSTab1, "CmdDone1");
    QCOMPARE(main.size(), chosen);
  }

  // The velocity bar fills from the bottom up to its handle, as a plain slider
  // with its largest value at the top would; its value stays 127 minus the row.
  void theAuditionBarsFillWithTheValue() {
    MainWindowHarness h;
    h.StartUp();
    WindowControls& w = *h.window;
    QSlider plain(Qt::Vertical);
    plain.setRange(0, 127);
    plain.resize(w.SldVel->size());
    const auto picture = [](QWidget* s) { return s->grab().toImage().convertToFormat(QImage::Format_RGB32); };
    const auto looksLike = [&](int velocity) {
      plain.setValue(velocity);
      return picture(w.SldVel) == picture(&plain);
    };
    QCOMPARE(w.SldVel->value(), 0);
    QVERIFY(looksLike(127) && !looksLike(0));
    w.SldVel->setValue(27);
    QCOMPARE(w.CmbMidVel->currentIndex(), 100);
    QVERIFY(looksLike(100));
  }
};

QTEST_MAIN(EverydayUseTest)
#include "everyday_use_test.moc"
