// The Layer Pool road through the main window: layers and multi parts
// dropped on the pool list, pool rows dropped on multi buttons, the double
// click that deletes and Clear, against the emulated CS2x.

#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QtTest>
#include <array>

#include "drop_events.h"
#include "instrument/default_multi.h"
#include "instrument/messages.h"
#include "main_window_harness.h"

using namespace qv;
using namespace qv::test;

namespace {

constexpr int kBlockLengths[5] = {52, 74, 15, 23, 13};

// The first fault of the pool's bookkeeping: a slot is in use exactly when
// one row holds it.
QString PoolFault(MainWindow& w) {
  std::array<int, 128> holders{};
  for (int r = 0; r < w.LbxLyrPool->count(); ++r) {
    bool ok = false;
    const int s = w.LbxLyrPool->item(r)->data(Qt::UserRole).toInt(&ok);
    if (!ok || s < 0 || s > 127) return QString("row %1 holds no slot").arg(r);
    if (++holders[static_cast<std::size_t>(s)] > 1) return QString("slot %1 held twice").arg(s);
  }
  for (int s = 0; s < 128; ++s) {
    const auto free = w.Model().PoolSlotFree[static_cast<std::size_t>(s)];
    if (free != (holders[static_cast<std::size_t>(s)] ? kSlotUsed : kSlotFree))
      return QString("slot %1 marked %2").arg(s).arg(free);
  }
  return {};
}

struct Pool {
  MainWindowHarness h;
  MainWindow& w;
  Pool() : w(*h.window) { h.StartUp(); }

  void Drop(const QString& source, QWidget* target) { QVERIFY(DropOnto(w, source, target)); }
  int Slot(int row) const { return w.LbxLyrPool->item(row)->data(Qt::UserRole).toInt(); }
  QString Text(int row) const { return w.LbxLyrPool->item(row)->text(); }
  QPoint RowCentre(int row) const { return w.LbxLyrPool->visualItemRect(w.LbxLyrPool->item(row)).center(); }
  QWidget* Viewport() const { return w.LbxLyrPool->viewport(); }
  std::vector<Bytes> SentAfterStop() const {
    auto sent = h.Sent();
    if (sent.size() < 2 || sent[0].size() != 48 || sent[1].size() != 48) return {};
    return {sent.begin() + 2, sent.end()};
  }
};

}  // namespace

class LayerPoolTest : public QObject {
  Q_OBJECT

 private slots:
  void newEntriesTakeTheLowestFreeSlotAndGoToTheEnd() {
    Pool p;
    for (int layer : {1, 2, 3}) p.Drop(QString("TxtLyr%1").arg(layer), p.w.LbxLyrPool);
    QCOMPARE(p.w.LbxLyrPool->count(), 3);
    QCOMPARE(p.Text(2), QString("B40P000 C"));
    QCOMPARE(p.Slot(2), 2);

    // Click row 1 and double click it: the question, then the row and slot go.
    QTest::mouseClick(p.Viewport(), Qt::LeftButton, {}, p.RowCentre(1));
    QCOMPARE(p.w.SelectedPoolRow(), 1);
    QTest::mouseDClick(p.Viewport(), Qt::LeftButton, {}, p.RowCentre(1));
    QTest::mouseRelease(p.Viewport(), Qt::LeftButton, {}, p.RowCentre(1));
    QCOMPARE(p.h.prompts.shown.size(), std::size_t{1});
    QCOMPARE(p.h.prompts.shown[0].kind, std::string("question"));
    QCOMPARE(p.h.prompts.shown[0].text, std::string("Do you really want to delete item from Layer Pool?"));
    QCOMPARE(p.h.prompts.shown[0].title, std::string("Delete from Layer Pool"));
    QCOMPARE(p.w.LbxLyrPool->count(), 2);
    QCOMPARE(p.w.Model().PoolSlotFree[1], kSlotFree);

    p.Drop("TxtLyr4", p.w.LbxLyrPool);
    QCOMPARE(p.w.LbxLyrPool->count(), 3);
    QCOMPARE(p.Text(2), QString("B40P000 D"));
    QCOMPARE(p.Slot(2), 1);
    QCOMPARE(PoolFault(p.w), QString());
  }

  void aFullPoolSaysSoAndAddsNothing() {
    Pool p;
    for (int i = 0; i < 128; ++i) p.w.LbxLyrPool_DragDrop("CmdMult5");
    QCOMPARE(p.w.LbxLyrPool->count(), 128);
    QCOMPARE(p.Text(127), QString("Multi Part"));
    p.h.ClearRecords();
    p.Drop("TxtLyr1", p.w.LbxLyrPool);
    QCOMPARE(p.h.prompts.shown.size(), std::size_t{1});
    QCOMPARE(p.h.prompts.shown[0].kind, std::string("message"));
    QCOMPARE(p.h.prompts.shown[0].text, std::string("No more Pool Layers are available (delete one by double clicking)."));
    QCOMPARE(p.h.prompts.shown[0].title, std::string());
    QCOMPARE(p.w.LbxLyrPool->count(), 128);
    QVERIFY(p.SentAfterStop().empty());
    QCOMPARE(p.h.Sent().size(), std::size_t{2});
    QCOMPARE(PoolFault(p.w), QString());
  }

  void cancelOrNoSelectionDeletesNothing() {
    Pool p;
    p.Drop("TxtLyr1", p.w.LbxLyrPool);
    p.Drop("TxtLyr2", p.w.LbxLyrPool);
    p.w.LbxLyrPool_DblClick();  // no row selected
    QVERIFY(p.h.prompts.shown.empty());

    p.w.LbxLyrPool->setCurrentRow(0);
    p.h.prompts.answers.push_back(Prompts::Answer::Cancel);
    QTest::mouseDClick(p.Viewport(), Qt::LeftButton, {}, p.RowCentre(0));
    QTest::mouseRelease(p.Viewport(), Qt::LeftButton, {}, p.RowCentre(0));
    QCOMPARE(p.h.prompts.shown.size(), std::size_t{1});
    QCOMPARE(p.w.LbxLyrPool->count(), 2);
    QCOMPARE(p.w.Model().PoolSlotFree[0], kSlotUsed);
    QCOMPARE(PoolFault(p.w), QString());
  }

  void clearEmptiesThePoolWithoutAQuestion() {
    Pool p;
    for (int i = 0; i < 3; ++i) p.Drop("TxtLyr1", p.w.LbxLyrPool);
    p.h.ClearRecords();
    QTest::mouseClick(p.w.CmdClrLyrPool, Qt::LeftButton);
    QCOMPARE(p.w.LbxLyrPool->count(), 0);
    QVERIFY(p.h.prompts.shown.empty());
    QVERIFY(p.h.Sent().empty());
    QCOMPARE(PoolFault(p.w), QString());
    p.Drop("TxtLyr2", p.w.LbxLyrPool);
    QCOMPARE(p.Slot(0), 0);
  }

  void aPoolRowGoesIntoThePartWithItsNumberAndChannel() {
    Pool p;
    p.Drop("TxtLyr1", p.w.LbxLyrPool);
    const MultiBlocks entry = p.w.Model().LayerPool.Entry[0].Blocks;
    p.w.LbxLyrPool->setCurrentRow(0);
    p.w.SelectRow(p.w.Multi(8).CmbMult, 3);
    p.h.ClearRecords();
    p.Drop("LbxLyrPool", p.w.Multi(8).CmdMult);

    const auto dumps = p.SentAfterStop();
    QCOMPARE(dumps.size(), std::size_t{5});
    for (int b = 0; b < 5; ++b) {
      const Bytes& m = dumps[static_cast<std::size_t>(b)];
      QCOMPARE(static_cast<int>(m.size()), kBlockLengths[b]);
      QCOMPARE(m[7], Byte{0x08});
      QCOMPARE(m[m.size() - 2], BulkChecksum(m.data(), m.size()));
      for (std::size_t i = 0; i + 2 < m.size(); ++i)
        if (i != 7 && !(b == 0 && i == 13)) QCOMPARE(m[i], entry.Block(b)[i]);
      QVERIFY(std::equal(m.begin(), m.end(), p.w.Model().PartBlk.Block(b, 8)));
    }
    QCOMPARE(dumps[0][13], Byte{0x03});
    QCOMPARE(p.w.Multi(8).CmdMult->text(), QString("B40P000 A  M9"));
    // The entry itself keeps the form it was stored in.
    QCOMPARE(p.w.Model().LayerPool.Entry[0].Blocks.Blk0[7], Byte{0x10});
    p.h.emulator->WaitIdle();
    QCOMPARE(p.h.emulator->Param(kModelXg, 0x08, 0x08, 0x04), Byte{0x03});
  }

  void captionsAreTheRowTextInTenCharacters() {
    Pool p;
    p.Drop("TxtLyr1", p.w.LbxLyrPool);
    p.Drop("TxtLyr2", p.w.LbxLyrPool);
    p.w.LbxLyrPool->item(0)->setText("Warm Analog Pad");
    p.w.LbxLyrPool->item(1)->setText("ABCDEFGHIJ");
    p.w.LbxLyrPool->setCurrentRow(0);
    p.Drop("LbxLyrPool", p.w.Multi(6).CmdMult);
    QCOMPARE(p.w.Multi(6).CmdMult->text(), QString("Warm Analo M7"));
    p.w.LbxLyrPool->setCurrentRow(1);
    p.h.ClearRecords();
    p.Drop("LbxLyrPool", p.w.Multi(4).CmdMult);
    QCOMPARE(p.w.Multi(4).CmdMult->text(), QString("ABCDEFGHIJ M5"));
    const auto dumps = p.SentAfterStop();
    QCOMPARE(dumps.size(), std::size_t{5});
    QCOMPARE(dumps[4][7], Byte{0x04});

    // Without a selected row only the audition ends.
    p.w.LbxLyrPool->clearSelection();
    p.h.ClearRecords();
    p.Drop("LbxLyrPool", p.w.Multi(15).CmdMult);
    QCOMPARE(p.h.Sent().size(), std::size_t{2});
    QCOMPARE(p.w.Multi(15).CmdMult->text(), QString("Multi Part M16"));
  }

  void layersAndPartsDroppedOnAMultiButtonOnlyEndTheAudition() {
    Pool p;
    p.Drop("TxtLyr1", p.w.LbxLyrPool);
    p.w.LbxLyrPool->setCurrentRow(0);
    const Bytes before(p.w.Model().PartBlk.Block(0, 6), p.w.Model().PartBlk.Block(0, 6) + 52);
    for (const char* source : {"TxtLyr1", "CmdMult5", "CmdMult7"}) {
      p.h.ClearRecords();
      p.Drop(source, p.w.Multi(6).CmdMult);
      QCOMPARE(p.h.Sent().size(), std::size_t{2});
      QCOMPARE(p.h.Sent()[0].size(), std::size_t{48});
    }
    QCOMPARE(p.w.Multi(6).CmdMult->text(), QString("Multi Part M7"));
    QVERIFY(std::equal(before.begin(), before.end(), p.w.Model().PartBlk.Block(0, 6)));
  }

  void thePoolListOnItselfChangesNothing() {
    Pool p;
    p.Drop("TxtLyr1", p.w.LbxLyrPool);
    p.Drop("TxtLyr2", p.w.LbxLyrPool);
    const auto freeBefore = p.w.Model().PoolSlotFree;
    p.h.ClearRecords();
    // A click on a row: the list is dropped on itself.
    QTest::mouseClick(p.Viewport(), Qt::LeftButton, {}, p.RowCentre(1));
    QCOMPARE(p.h.Sent().size(), std::size_t{2});
    QCOMPARE(p.h.Sent()[1].size(), std::size_t{48});
    p.Drop("LbxLyrPool", p.w.LbxLyrPool);
    QCOMPARE(p.h.Sent().size(), std::size_t{4});
    // A drag of the list that ends outside the window sends nothing.
    const QPoint start = p.RowCentre(1);
    QTest::mousePress(p.Viewport(), Qt::LeftButton, {}, start);
    QTest::mouseMove(p.Viewport(), start + QPoint(0, QApplication::startDragDistance() + 2));
    QTest::mouseRelease(p.Viewport(), Qt::LeftButton, {}, start);
    QCOMPARE(p.h.Sent().size(), std::size_t{4});
    QCOMPARE(p.w.LbxLyrPool->count(), 2);
    QCOMPARE(p.Text(1), QString("B40P000 B"));
    QVERIFY(p.w.Model().PoolSlotFree == freeBefore);
    QCOMPARE(p.w.SelectedPoolRow(), 1);
  }

  void aLayerNameIsADragHandleOnlyWhileItsLayerIsOn() {
    Pool p;
    p.h.emulator->SetLayerSwitch(2, 0);
    p.w.RtrvPerf_Click();
    p.h.ClearRecords();
    QTest::mouseClick(p.w.Layer(2).TxtLyr, Qt::LeftButton);  // off: nothing
    QVERIFY(p.h.Sent().empty());
    QTest::mouseClick(p.w.Layer(1).TxtLyr, Qt::LeftButton);  // on: dropped on itself
    QCOMPARE(p.h.Sent().size(), std::size_t{2});
    QCOMPARE(p.w.LbxLyrPool->count(), 0);
  }

  void aPartDraggedIntoThePoolArrivesOnAnotherPartAsThatPart() {
    Pool p;
    p.h.emulator->SetParam(kModelXg, 0x08, 0x05, 0x0B, 0x33);  // M6 volume
    p.w.RtrvMulti_Click(6);
    p.w.Multi(5).CmdMult->setText("Bass Drive M6");
    p.h.ClearRecords();
    QTest::mousePress(p.w.Multi(5).CmdMult, Qt::LeftButton);
    p.Drop("CmdMult6", p.w.LbxLyrPool);
    QTest::mouseRelease(p.w.Multi(5).CmdMult, Qt::LeftButton);
    QCOMPARE(HexString(p.h.Sent()[0]), std::string("95 43 7F"));  // M6's note, then the drop ends it
    QCOMPARE(p.h.Sent()[1].size(), std::size_t{48});
    QCOMPARE(p.Text(0), QString("Bass Drive"));
    QCOMPARE(p.w.Model().LayerPool.Entry[0].Blocks.Blk0[20], Byte{0x33});

    p.w.SelectRow(p.w.Multi(11).CmbMult, 9);
    p.w.LbxLyrPool->setCurrentRow(0);
    p.Drop("LbxLyrPool", p.w.Multi(11).CmdMult);
    const auto& blk = p.w.Model().PartBlk;
    for (int b = 0; b < 5; ++b) QCOMPARE(blk.At(7, b, 11), Byte{11});
    QCOMPARE(blk.At(13, 0, 11), Byte{9});
    QCOMPARE(blk.At(20, 0, 11), Byte{0x33});
    QCOMPARE(blk.At(7, 0, 5), Byte{5});
    QCOMPARE(p.w.Multi(11).CmdMult->text(), QString("Bass Drive M12"));
    p.h.emulator->WaitIdle();
    QCOMPARE(p.h.emulator->Param(kModelXg, 0x08, 0x0B, 0x0B), Byte{0x33});
    QCOMPARE(p.h.emulator->Param(kModelXg, 0x08, 0x0B, 0x04), Byte{9});
  }

  void aConvertedLayerReachesThePart() {
    Pool p;
    auto& emu = *p.h.emulator;
    emu.SetParam(kModelCs, 0x60, 0x03, 0x07, 101);  // level
    emu.SetParam(kModelCs, 0x60, 0x03, 0x0F, 1);    // level counts
    emu.SetParam(kModelCs, 0x60, 0x03, 0x11, 80);   // cutoff offset
    emu.SetParam(kModelCs, 0x60, 0x00, 0x1F, 70);   // performance cutoff
    p.w.RtrvPerf_Click();
    p.Drop("TxtLyr3", p.w.LbxLyrPool);
    QCOMPARE(p.Text(0), QString("B40P000 C"));
    p.w.LbxLyrPool->setCurrentRow(0);
    p.Drop("LbxLyrPool", p.w.Multi(6).CmdMult);
    QCOMPARE(p.w.Model().PartBlk.At(20, 0, 6), Byte{50});
    QCOMPARE(p.w.Model().PartBlk.At(33, 0, 6), Byte{87});
    emu.WaitIdle();
    QCOMPARE(emu.Param(kModelXg, 0x08, 0x06, 0x0B), Byte{50});
    QCOMPARE(emu.Param(kModelXg, 0x08, 0x06, 0x18), Byte{87});
  }
};

QTEST_MAIN(LayerPoolTest)
#include "layer_pool_test.moc"
