// The edit panels inside the main window: the Edit menu, the parts that
// follow initialisation and the performance choice, and the instrument
// following every release.

#include <QComboBox>
#include <QCursor>
#include <QGuiApplication>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QtTest>

#include "hex.h"
#include "instrument/messages.h"
#include "drop_events.h"
#include "instrument_data.h"
#include "main_window_harness.h"
#include "mainwindow/editor_signals.h"
#include "mainwindow/release_slider.h"

using namespace qv;
using namespace qv::test;

class EditMenuTest : public QObject {
  Q_OBJECT

 private slots:
  void editMenuOpensThePanelOnThePart() {
    MainWindowHarness h;
    h.StartUp();
    auto& w = *h.window;
    QVERIFY(!w.SSTab1->isVisible());
    w.Multi(6).EditMult->trigger();
    QVERIFY(h.Sent().empty());  // a default part shows what the panel shows: nothing to send
    QVERIFY(w.SSTab1->isVisible());
    QCOMPARE(w.Model().EditPart, 6);
    QCOMPARE(Child<QLineEdit>(*w.SSTab1, "TxtName1")->text(), QString("Multi Part"));
    QCOMPARE(w.SSTab1->findChild<QLabel*>("Label34_0")->text(), QString("Multi Part M7"));
    // A part in mono mode sends its mode when the panel changes to it.
    InstrumentData::Of(w.core).PartBlk.At(14, 0, 7) = 0;
    w.Multi(7).EditMult->trigger();
    QCOMPARE(HexString(h.Sent().at(0)), std::string("F0 43 10 4C 08 07 05 00 F7"));
  }

  void initialisingAPartShowsItWhileThePanelIsShown() {
    MainWindowHarness h;
    h.StartUp();
    auto& w = *h.window;
    w.Multi(9).InitMlt->trigger();
    QVERIFY(!w.SSTab1->isVisible());
    w.Multi(6).EditMult->trigger();
    w.SetPartCaption(4, "Strings    M5");
    w.Multi(4).InitMlt->trigger();
    QCOMPARE(w.Model().EditPart, 4);
    QCOMPARE(Child<QLineEdit>(*w.SSTab1, "TxtName1")->text(), QString("Multi Part"));
    QCOMPARE(w.SSTab1->findChild<QLabel*>("Label34_0")->text(), QString("Multi Part M5"));
  }

  void theInstrumentFollowsASliderRelease() {
    MainWindowHarness h;
    h.StartUp();
    auto& w = *h.window;
    w.Multi(8).EditMult->trigger();
    ReleaseSlider* volume = w.SSTab1->Slider("SldLvVol");
    QVERIFY(volume);
    volume->setValue(90);
    QTest::mousePress(volume, Qt::LeftButton, {}, volume->rect().center());
    QTest::mouseRelease(volume, Qt::LeftButton, {}, volume->rect().center());
    const Byte stored = w.Model().PartBlk.At(20, 0, 8);
    h.emulator->WaitIdle();
    QCOMPARE(h.emulator->Param(kModelXg, 0x08, 0x08, 0x0B), stored);
    // The part as stored and the part on the instrument agree byte for byte.
    Bytes dump = h.emulator->BulkDump(kModelXg, 0x08, 0x08, 0x00);
    Bytes block(w.Model().PartBlk.Block(0, 8), w.Model().PartBlk.Block(0, 8) + 52);
    StoreBulkChecksum(block.data(), block.size());
    QCOMPARE(HexString(block), HexString(dump));
  }

  void choosingAPerformanceRefillsTheEffectsPanel() {
    MainWindowHarness h;
    h.StartUp();
    auto& w = *h.window;
    w.EditEffcts->trigger();
    QVERIFY(w.SSTab2->isVisible());
    QVERIFY(h.Sent().empty());
    // The panel fills again while the hourglass still shows.
    bool hourglassWhileRefilling = false;
    QObject::connect(&h.rig->notices, &EditorSignals::PerformanceChosen, [&] {
      const QCursor* cursor = QGuiApplication::overrideCursor();
      hourglassWhileRefilling = cursor && cursor->shape() == Qt::WaitCursor;
    });
    w.CmbPrgm->setCurrentIndex(3);
    emit w.CmbPrgm->activated(3);
    const auto& perf = w.Model().Performance;
    QVERIFY(std::equal(perf.Com2.begin(), perf.Com2.end(), perf.EffOrig.begin()));
    QCOMPARE(h.emulator->selectedProgram, Byte{3});
    QVERIFY(hourglassWhileRefilling);
    QVERIFY(!QGuiApplication::overrideCursor());
  }

  void aDropOnAnEditPanelEndsTheAuditionOnce() {
    MainWindowHarness h;
    h.StartUp();
    auto& w = *h.window;
    w.EditEffcts->trigger();
    w.Multi(4).EditMult->trigger();
    for (QWidget* target : std::initializer_list<QWidget*>{Child<QComboBox>(*w.SSTab2, "CmbRvrb"), w.SSTab2, Child<QLineEdit>(*w.SSTab1, "TxtName1"),
                                                          w.SSTab1->Slider("SldEqBGain")}) {
      h.ClearRecords();
      QVERIFY(DropOnto(w, "layer:1", target));
      const auto sent = h.Sent();
      QCOMPARE(sent.size(), std::size_t{2});
      QCOMPARE(sent[0].size(), std::size_t{48});
      QCOMPARE(sent[1].size(), std::size_t{48});
    }
    QCOMPARE(w.LbxLyrPool->count(), 0);

    // A drag from another program ends nothing.
    h.ClearRecords();
    QVERIFY(!DropOnto(w, "layer:1", Child<QComboBox>(*w.SSTab2, "CmbRvrb"), {}, true));
    QVERIFY(h.Sent().empty());
  }
};

QTEST_MAIN(EditMenuTest)
#include "edit_menu_test.moc"
