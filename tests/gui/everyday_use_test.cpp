// Living with the window: one error box per failure and command, a mouse
// wheel that leaves the instrument alone, a window that fits a laptop screen
// and gives back the room of a closed panel, audition sliders that fill.

#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QImage>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QScreen>
#include <QSlider>
#include <QWheelEvent>
#include <QtTest>

#include "main_window_harness.h"

using namespace qv;
using namespace qv::test;

namespace {

constexpr auto kSilent = MainWindowHarness::Instrument::Silent;

void Choose(QComboBox* combo, int row) {
  combo->setCurrentIndex(row);
  emit combo->activated(row);
}

// One step of the wheel, away from the user, over the middle of `w`.
void WheelStep(QWidget* w, int delta = -120) {
  const QPointF at = QRectF(w->rect()).center();
  QWheelEvent wheel(at, w->mapToGlobal(at), QPoint(), QPoint(0, delta), Qt::NoButton, Qt::NoModifier,
                    Qt::NoScrollPhase, false);
  QApplication::sendEvent(w, &wheel);
}

QPushButton* Button(QWidget& w, const char* name) { return Child<QPushButton>(w, name); }

}  // namespace

class EverydayUseTest : public QObject {
  Q_OBJECT

 private slots:
  // With no output every message fails the same way: each command shows
  // that box once.
  void eachCommandShowsAFailureOnce() {
    MainWindowHarness h(kSilent);
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
    // The next command starts afresh.
    QCOMPARE(boxes([&] { Choose(w.Multi(6).CmbMult, 2); }), std::size_t{1});
    QCOMPARE(boxes([&] { Choose(w.Multi(6).CmbMult, 3); }), std::size_t{1});
  }

  void aStartupWhoseInputFailsShowsEachFailureOnce() {
    MainWindowHarness h(kSilent);
    h.backend.Fail("InOpen", kMidiBadDeviceId);
    h.StartUp(true);
    const auto boxes = h.prompts.Messages();
    QCOMPARE(boxes.size(), std::size_t{3});
    QVERIFY(QString::fromStdString(boxes[0]).startsWith("Operation: Open"));
    QVERIFY(QString::fromStdString(boxes[2]).startsWith("Operation: Connect"));
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
    QWidget* effectsList = Child<QComboBox>(*w.SSTab2, "CmbRvrb");
    QSlider* volume = Child<QSlider>(*w.SSTab1, "SldLvVol");
    QSlider* send = Child<QSlider>(*w.SSTab2, "SldEffSndCtoR");
    const int volumeAt = volume->value(), sendAt = send->value();
    const int channelRow = w.Multi(9).CmbMult->currentIndex();
    const int reverbRow = static_cast<QComboBox*>(effectsList)->currentIndex();
    for (QWidget* control : std::initializer_list<QWidget*>{w.CmbPrgm, w.Multi(9).CmbMult, effectsList, volume, send}) {
      WheelStep(control);
      WheelStep(control, 120);
      QVERIFY2(control->focusPolicy() != Qt::WheelFocus, qPrintable(control->objectName()));
    }
    QCOMPARE(w.CmbPrgm->currentIndex(), 5);
    QCOMPARE(w.Multi(9).CmbMult->currentIndex(), channelRow);
    QCOMPARE(static_cast<QComboBox*>(effectsList)->currentIndex(), reverbRow);
    QCOMPARE(volume->value(), volumeAt);
    QCOMPARE(send->value(), sendAt);
    QVERIFY(h.Sent().empty());

    // Clicked into, a list takes the wheel as before.
    w.window.activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(&w.window));
    w.Multi(9).CmbMult->setFocus();
    WheelStep(w.Multi(9).CmbMult);
    QCOMPARE(w.Multi(9).CmbMult->currentIndex(), channelRow + 1);
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
    Button(*w.SSTab1, "CmdDone1")->click();
    Button(*w.SSTab2, "CmdEffDn1")->click();
    QApplication::processEvents();
    QCOMPARE(main.size(), alone);
    QVERIFY(w.LbxLyrPool->width() < 400);

    // Closed in the other order, the same.
    w.EditEffcts->trigger();
    w.EditMult(4);
    QApplication::processEvents();
    const QSize both = main.size();
    Button(*w.SSTab2, "CmdEffDn1")->click();
    QApplication::processEvents();
    QVERIFY(main.height() < both.height() && main.width() == both.width());
    Button(*w.SSTab1, "CmdDone2_0")->click();
    QApplication::processEvents();
    QCOMPARE(main.size(), alone);
    // On a wide window the pool list stays a list.
    main.resize(1900, alone.height());
    QApplication::processEvents();
    QVERIFY(w.LbxLyrPool->width() < 400);
  }

  void aWindowTheUserResizedKeepsItsSize() {
    MainWindowHarness h;
    h.StartUp();
    WindowControls& w = *h.window;
    QMainWindow& main = w.window;
    w.EditMult(6);
    QApplication::processEvents();
    const QSize chosen = main.size() + QSize(40, 60);
    main.resize(chosen);
    Button(*w.SSTab1, "CmdDone1")->click();
    QApplication::processEvents();
    QCOMPARE(main.size(), chosen);
  }

  // Each bar fills from the bottom up to its handle: full at velocity 127,
  // empty at 0; the slider's value stays 127 minus the row.
  void theAuditionBarsFillWithTheValue() {
    MainWindowHarness h;
    h.StartUp();
    WindowControls& w = *h.window;
    // Drawn as a plain slider with its largest value at the top would be.
    QSlider plain(Qt::Vertical);
    plain.setRange(0, 127);
    plain.resize(w.SldVel->size());
    const auto looksLike = [&](int velocity) {
      plain.setValue(velocity);
      const auto picture = [](QWidget* slider) { return slider->grab().toImage().convertToFormat(QImage::Format_RGB32); };
      return picture(w.SldVel) == picture(&plain);
    };
    QCOMPARE(w.CmbMidVel->currentIndex(), 127);
    QCOMPARE(w.SldVel->value(), 0);
    QVERIFY(looksLike(127));
    QVERIFY(!looksLike(0));
    w.SldVel->setValue(127);
    QCOMPARE(w.CmbMidVel->currentIndex(), 0);
    QVERIFY(looksLike(0));
    w.SldVel->setValue(27);
    QCOMPARE(w.CmbMidVel->currentIndex(), 100);
    QVERIFY(looksLike(100));
    w.SelectRow(w.CmbMidNtNo, 100);
    emit w.CmbMidNtNo->activated(100);
    QCOMPARE(w.SldNt->value(), 27);
  }
};

QTEST_MAIN(EverydayUseTest)
#include "everyday_use_test.moc"
