// The Layer Pool road through the main window against the emulated CS2x:
// layers and parts dropped on the pool list, pool rows dropped on multi
// buttons, the double click that deletes and Clear.

#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QtTest>
#include <array>

#include "drop_events.h"
#include "hex.h"
#include "instrument/messages.h"
#include "instrument_data.h"
#include "main_window_harness.h"

using namespace qv;
using namespace qv::test;

namespace {

struct Pool {
  MainWindowHarness h;
  WindowControls& w;
  QListWidget& list;
  Pool() : w(*h.window), list(*h.window->LbxLyrPool) { h.StartUp(); }

  void Drop(const QString& source, QWidget* target) { QVERIFY(DropOnto(w, source, target)); }
  // A drag of the list, as the window makes it: the row the editor holds selected.
  QString ListDrag() const { return QString("poolrow:%1").arg(w.core.State().SelectedPoolRow); }
  void ToPart(int row, int part) {
    list.setCurrentRow(row);
    h.ClearRecords();
    Drop(ListDrag(), w.Multi(part).CmdMult);
  }
  int Slot(int row) const { return list.item(row)->data(Qt::UserRole).toInt(); }
  QPoint At(int row) const { return list.visualItemRect(list.item(row)).center(); }
  std::size_t SentCount() const { return h.Sent().size(); }

  // A slot is in use exactly when one row holds it.
  bool Consistent() const {
    std::array<int, 128> holders{};
    for (int r = 0; r < list.count(); ++r)
      if (Slot(r) < 0 || Slot(r) > 127 || ++holders[static_cast<std::size_t>(Slot(r))] > 1) return false;
    for (std::size_t s = 0; s < 128; ++s)
      if (w.Model().PoolSlotFree[s] != (holders[s] ? kSlotUsed : kSlotFree)) return false;
    return true;
  }
};

}  // namespace

class LayerPoolTest : public QObject {
  Q_OBJECT

 private slots:
  void slotsAreTakenLowestFirstAndFreedByDeleteAndClear() {
    Pool p;
    for (int layer : {1, 2, 3}) p.Drop(QString("layer:%1").arg(layer), p.w.LbxLyrPool);
    QCOMPARE(p.list.item(2)->text(), QString("B40P000 C"));
    p.w.LbxLyrPool_DblClick();  // no row selected: no question
    QVERIFY(p.h.prompts.shown.empty());

    // Click row 1, then double click it: Cancel keeps it, OK deletes it.
    QTest::mouseClick(p.list.viewport(), Qt::LeftButton, {}, p.At(1));
    p.h.prompts.answers = {Prompts::Answer::Cancel, Prompts::Answer::Ok};
    for (int i = 0; i < 2; ++i) {
      QCOMPARE(p.w.SelectedPoolRow(), 1);
      QTest::mouseDClick(p.list.viewport(), Qt::LeftButton, {}, p.At(1));
      QTest::mouseRelease(p.list.viewport(), Qt::LeftButton, {}, p.At(1));
      QCOMPARE(p.list.count(), 3 - i);
      QVERIFY(p.Consistent());
    }
    QCOMPARE(p.h.prompts.shown.size(), std::size_t{2});
    QCOMPARE(p.h.prompts.shown[1].text, std::string("Do you really want to delete item from Layer Pool?"));
    QCOMPARE(p.h.prompts.shown[1].title, std::string("Delete from Layer Pool"));

    p.Drop("layer:4", p.w.LbxLyrPool);  // slot 1 again, at the end of the list
    QCOMPARE(p.list.item(2)->text(), QString("B40P000 D"));
    QCOMPARE(p.Slot(2), 1);
    QVERIFY(p.Consistent());

    p.h.ClearRecords();
    QTest::mouseClick(p.w.CmdClrLyrPool, Qt::LeftButton);
    QCOMPARE(p.list.count(), 0);
    QVERIFY(p.h.prompts.shown.empty() && p.h.Sent().empty() && p.Consistent());
    p.Drop("part:6", p.w.LbxLyrPool);
    QCOMPARE(p.Slot(0), 0);
    QCOMPARE(p.list.item(0)->text(), QString("Multi Part"));
  }

  void aFullPoolSaysSoAndAddsNothing() {
    Pool p;
    for (int i = 0; i < 128; ++i) p.w.LbxLyrPool_DragDrop("layer:1");
    p.h.ClearRecords();
    p.Drop("part:4", p.w.LbxLyrPool);
    QCOMPARE(p.h.prompts.Messages(),
             std::vector<std::string>{"No more Pool Layers are available (delete one by double clicking)."});
    QCOMPARE(p.h.prompts.shown[0].title, std::string());
    QCOMPARE(p.list.count(), 128);
    QCOMPARE(p.SentCount(), std::size_t{2});  // the audition's end only
    QVERIFY(p.Consistent());
  }

  void aPoolRowGoesIntoThePartAsThatPart() {
    Pool p;
    p.Drop("layer:1", p.w.LbxLyrPool);
    const MultiBlocks entry = p.w.Model().LayerPool.Entry[0].Blocks;
    p.w.SelectRow(p.w.Multi(8).CmbMult, 3);
    p.ToPart(0, 8);
    const auto sent = p.h.Sent();
    QCOMPARE(sent.size(), std::size_t{2 + 5});
    const std::size_t lengths[5] = {52, 74, 15, 23, 13};
    for (int b = 0; b < 5; ++b) {
      const Bytes& m = sent[static_cast<std::size_t>(2 + b)];
      QCOMPARE(m.size(), lengths[b]);
      QCOMPARE(m[7], Byte{0x08});
      QCOMPARE(m[m.size() - 2], BulkChecksum(m.data(), m.size()));
      for (std::size_t i = 0; i + 2 < m.size(); ++i)
        if (i != 7 && (b != 0 || i != 13)) QCOMPARE(m[i], entry.Block(b)[i]);
    }
    QCOMPARE(sent[2][13], Byte{0x03});
    QCOMPARE(p.w.Multi(8).CmdMult->text(), QString("B40P000 A  M9"));
    QCOMPARE(p.w.Model().LayerPool.Entry[0].Blocks.Blk0[7], Byte{0x10});  // the entry stays as stored
    p.h.emulator->WaitIdle();
    QCOMPARE(p.h.emulator->Param(kModelXg, 0x08, 0x08, 0x04), Byte{0x03});

    std::vector<PoolRow> rows = p.w.window.State().PoolRows;
    rows[0].name = "Warm Analog Pad";
    p.w.core.Editor().SetPoolRows(rows);
    p.ToPart(0, 4);
    QCOMPARE(p.w.Multi(4).CmdMult->text(), QString("Warm Analo M5"));
    QCOMPARE(p.h.Sent().back()[7], Byte{0x04});
  }

  void onlyASelectedPoolRowChangesAPart() {
    Pool p;
    p.Drop("layer:1", p.w.LbxLyrPool);
    p.list.setCurrentRow(0);
    const Bytes before(p.w.Model().PartBlk.Block(0, 6), p.w.Model().PartBlk.Block(0, 6) + 52);
    for (const char* source : {"layer:1", "part:4", "part:6"}) {
      p.h.ClearRecords();
      p.Drop(source, p.w.Multi(6).CmdMult);
      QCOMPARE(p.SentCount(), std::size_t{2});
    }
    p.list.clearSelection();
    p.h.ClearRecords();
    p.Drop(p.ListDrag(), p.w.Multi(6).CmdMult);
    QCOMPARE(p.SentCount(), std::size_t{2});
    QCOMPARE(p.w.Multi(6).CmdMult->text(), QString("Multi Part M7"));
    QVERIFY(std::equal(before.begin(), before.end(), p.w.Model().PartBlk.Block(0, 6)));
  }

  void clicksOnTheListAndTheLayerNamesDropThemOnThemselves() {
    Pool p;
    p.h.emulator->SetLayerSwitch(2, 0);
    p.w.RtrvPerf_Click();
    p.Drop("layer:1", p.w.LbxLyrPool);
    p.Drop("layer:3", p.w.LbxLyrPool);
    const auto freeBefore = p.w.Model().PoolSlotFree;
    p.h.ClearRecords();
    QTest::mouseClick(p.list.viewport(), Qt::LeftButton, {}, p.At(1));
    p.Drop(p.ListDrag(), p.w.LbxLyrPool);
    QTest::mouseClick(p.w.Layer(1).TxtLyr, Qt::LeftButton);
    QCOMPARE(p.SentCount(), std::size_t{6});  // three ends of the audition
    QTest::mouseClick(p.w.Layer(2).TxtLyr, Qt::LeftButton);  // a layer that is off is no drag source
    // A drag of the list that ends outside the window sends nothing.
    QTest::mousePress(p.list.viewport(), Qt::LeftButton, {}, p.At(1));
    QTest::mouseMove(p.list.viewport(), p.At(1) + QPoint(0, QApplication::startDragDistance() + 1));
    QTest::mouseRelease(p.list.viewport(), Qt::LeftButton, {}, p.At(1));
    QCOMPARE(p.SentCount(), std::size_t{6});
    QCOMPARE(p.list.count(), 2);
    QVERIFY(p.w.Model().PoolSlotFree == freeBefore);
    QCOMPARE(p.w.SelectedPoolRow(), 1);
  }

  void partsAndConvertedLayersTravelThroughThePool() {
    Pool p;
    auto& emu = *p.h.emulator;
    emu.SetParam(kModelXg, 0x08, 0x05, 0x0B, 0x33);  // M6 volume
    emu.SetParam(kModelCs, 0x60, 0x03, 0x07, 101);   // layer 3 level ...
    emu.SetParam(kModelCs, 0x60, 0x03, 0x0F, 1);     // ... which counts
    emu.SetParam(kModelCs, 0x60, 0x03, 0x11, 80);    // layer 3 cutoff offset
    emu.SetParam(kModelCs, 0x60, 0x00, 0x1F, 70);    // performance cutoff
    p.w.RtrvPerf_Click();
    p.w.RtrvMulti_Click(5);
    p.w.SetPartCaption(5, "Bass Drive M6");
    p.h.ClearRecords();
    QTest::mousePress(p.w.Multi(5).CmdMult, Qt::LeftButton);  // M6 sounds, is dragged into the pool
    p.Drop("part:5", p.w.LbxLyrPool);
    QTest::mouseRelease(p.w.Multi(5).CmdMult, Qt::LeftButton);
    QCOMPARE(HexString(p.h.Sent()[0]), std::string("95 43 7F"));
    QCOMPARE(p.h.Sent()[1].size(), std::size_t{48});
    QCOMPARE(p.list.item(0)->text(), QString("Bass Drive"));
    p.Drop("layer:3", p.w.LbxLyrPool);

    p.w.SelectRow(p.w.Multi(11).CmbMult, 9);
    p.ToPart(0, 11);
    p.ToPart(1, 6);
    const auto& blk = p.w.Model().PartBlk;
    for (int b = 0; b < 5; ++b) QCOMPARE(blk.At(7, b, 11), Byte{11});
    QCOMPARE(blk.At(13, 0, 11), Byte{9});
    QCOMPARE(p.w.Multi(11).CmdMult->text(), QString("Bass Drive M12"));
    QCOMPARE(blk.At(7, 0, 5), Byte{5});  // the source part is untouched
    emu.WaitIdle();
    QCOMPARE(emu.Param(kModelXg, 0x08, 0x0B, 0x0B), Byte{0x33});
    QCOMPARE(emu.Param(kModelXg, 0x08, 0x0B, 0x04), Byte{9});
    QCOMPARE(emu.Param(kModelXg, 0x08, 0x06, 0x0B), Byte{50});  // volume 101 / 2, halves to even
    QCOMPARE(emu.Param(kModelXg, 0x08, 0x06, 0x18), Byte{87});  // cutoff 70 + 80 - 63
  }

  // A part is named by its index, as in the editor; anything else names nothing.
  void dragTextsNameLayersPartsAndPoolRows() {
    using Kind = Dragged::Kind;
    QCOMPARE(DraggedThing("part:4"), (Dragged{Kind::Part, 4}));
    QCOMPARE(DraggedThing("poolrow:-1"), (Dragged{Kind::PoolRow, -1}));
    for (const Dragged& thing : {Dragged{Kind::Layer, 4}, Dragged{Kind::Part, 15}, Dragged{Kind::PoolRow, 127}})
      QCOMPARE(DraggedThing(DragText(thing)), thing);
    for (const char* text : {"part:16", "part:3", "layer:0", "poolrow:128", "part:05", "CmdMult5", "TxtLyr1", ""})
      QCOMPARE(DraggedThing(text).kind, Kind::Nothing);
  }

  void theEditPanelFollowsThePartThatChanges() {
    Pool p;
    p.Drop("layer:2", p.w.LbxLyrPool);
    // While the panel shows M6, a press on M9 first shows M9 (here in mono
    // mode, so its mode is sent), then plays.
    p.w.EditMult(5);
    InstrumentData::Of(p.w.core).PartBlk.At(14, 0, 8) = 0;
    p.h.ClearRecords();
    QTest::mousePress(p.w.Multi(8).CmdMult, Qt::LeftButton);
    QCOMPARE(p.w.Model().EditPart, 8);
    const auto sent = p.h.Sent();
    QCOMPARE(HexString(sent.at(0)), std::string("F0 43 10 4C 08 08 05 00 F7"));
    QCOMPARE(sent.at(1).at(0) & 0xF0, 0x90);
    QTest::mouseRelease(p.w.Multi(8).CmdMult, Qt::LeftButton);

    // A pool row dropped on M5 while the hidden panel last showed M5: the
    // hidden panel is filled with the new part and takes its name.
    p.w.EditMult(4);
    Child<QPushButton>(*p.w.SSTab1, "CmdDone1")->click();
    p.ToPart(0, 4);
    QVERIFY(!p.w.SSTab1->isVisible());
    QCOMPARE(Child<QLineEdit>(*p.w.SSTab1, "TxtName1")->text(), QString("B40P000 B"));
    QCOMPARE(p.w.PartCaption(4), QString("B40P000 B  M5"));

    // Shown on M7, a drop on M7 shows the new part and its name.
    p.w.EditMult(6);
    p.ToPart(0, 6);
    QVERIFY(p.w.SSTab1->isVisible());
    QCOMPARE(Child<QLineEdit>(*p.w.SSTab1, "TxtName1")->text(), QString("B40P000 B"));
    QCOMPARE(p.w.SSTab1->findChild<QLabel*>("Label34_0")->text(), QString("B40P000 B  M7"));
  }
};

QTEST_MAIN(LayerPoolTest)
#include "layer_pool_test.moc"
