// The editor's procedures on their state, without a window: captions,
// channel rows, the Layer Pool, the edit panel's switches and the layer
// boxes.

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "hex.h"
#include "instrument/messages.h"
#include "session_rig.h"

namespace qv {
namespace {

using test::HexString;
using test::SessionRig;
using Calls = std::vector<std::string>;

std::vector<std::string> Hex(const std::vector<Bytes>& sent) {
  std::vector<std::string> out;
  for (const Bytes& m : sent) out.push_back(HexString(m));
  return out;
}

// A rig whose instrument never answers and whose pool starts empty, as after
// the start-up work.
struct Quiet : SessionRig {
  Quiet() {
    Silence();
    model.PoolSlotFree.fill(kSlotFree);
  }
  std::vector<std::string> Take() {
    auto out = Hex(Sent());
    backend.ClearRecords();
    view.calls.clear();
    return out;
  }
};

TEST(PartCaptions, NameRuleAndDefaults) {
  EXPECT_EQ(DefaultPartCaption(4), "Multi Part M5");
  EXPECT_EQ(DefaultPartCaption(15), "Multi Part M16");
  EXPECT_EQ(PartCaptionFor("Bass", 4), "Bass       M5");
  EXPECT_EQ(PartCaptionFor("ABCDEFGHIJKLMN", 15), "ABCDEFGHIJ M16");
  EXPECT_EQ(PartCaptionFor("", 9), std::string(10, ' ') + " M10");
  EXPECT_EQ(NameInCaption("Warm Analo M5"), "Warm Analo");
  EXPECT_EQ(NameInCaption("short"), "short");

  Quiet rig;
  EXPECT_EQ(rig.state.Caption(4), "Multi Part M5");
  rig.session.SetPartCaption(6, "R&B Bass   M7");
  rig.session.SetPartCaption(3, "nowhere");  // outside the multis: left alone
  rig.session.SetPartCaption(16, "nowhere");
  EXPECT_EQ(rig.state.Caption(6), "R&B Bass   M7");
  EXPECT_EQ(rig.view.calls, (Calls{"Caption 6 R&B Bass   M7"}));
  rig.session.SetPartCaption(6, "R&B Bass   M7");  // as it stands: no notice
  EXPECT_EQ(rig.view.calls, (Calls{"Caption 6 R&B Bass   M7"}));
}

TEST(ChannelRows, StoredAndSentOnlyWhileNotBusy) {
  Quiet rig;
  rig.session.SetChannelRow(8, 3);
  EXPECT_EQ(rig.model.PartBlk.At(kReceiveChannelByte, 0, 8), 3);
  EXPECT_EQ(rig.Take(), (std::vector<std::string>{"F0 43 10 4C 08 08 04 03 F7"}));

  rig.model.Busy = true;  // the start-up work: the row is shown, nothing else
  rig.session.SetChannelRow(8, 9);
  EXPECT_EQ(rig.state.PartChannel(8), 9);
  EXPECT_EQ(rig.model.PartBlk.At(kReceiveChannelByte, 0, 8), 3);
  EXPECT_EQ(rig.view.calls, (Calls{"ChannelRow 8 9"}));
  EXPECT_TRUE(rig.Take().empty());

  rig.model.Busy = false;
  for (int row : {-1, 16}) {  // no row: nothing stored or sent, channel 0 read
    rig.session.SetChannelRow(8, row);
    EXPECT_EQ(rig.state.ChannelRow(8), -1);
    EXPECT_EQ(rig.state.PartChannel(8), 0);
  }
  rig.session.SetChannelRow(3, 2);  // not a multi part
  EXPECT_EQ(rig.model.PartBlk.At(kReceiveChannelByte, 0, 8), 3);
  EXPECT_TRUE(rig.Take().empty());
}

TEST(LayerBoxes, FollowTheSwitchesAndTheName) {
  Quiet rig;
  rig.model.LyrSw = {0, 1, 0, 2, 1};
  rig.session.ShowPerformance("Pno&Str ");
  EXPECT_EQ(rig.state.PerformanceCaption, "Pno&Str ");
  EXPECT_EQ(rig.state.Layer(1).text, "Pno&Str A");
  EXPECT_TRUE(rig.state.Layer(1).enabled);
  EXPECT_EQ(rig.state.Layer(2).text, std::string(9, ' '));
  EXPECT_FALSE(rig.state.Layer(2).enabled);
  EXPECT_FALSE(rig.state.Layer(3).enabled);  // only a switch of 1 is on
  EXPECT_EQ(rig.state.Layer(4).text, "Pno&Str D");
}

TEST(LayerPool, StoreDeleteClearAndReplaceKeepSlotsAndRowsTogether) {
  Quiet rig;
  rig.model.LyrSw = {0, 1, 1, 1, 1};
  rig.session.ShowPerformance("Strings ");
  rig.session.SetPartCaption(6, "Bass Drive M7");
  ASSERT_TRUE(rig.session.StoreLayerInPool(2));
  ASSERT_TRUE(rig.session.StorePartInPool(6));
  ASSERT_TRUE(rig.session.StoreLayerInPool(4));
  EXPECT_EQ(rig.state.PoolRows,
            (std::vector<PoolRow>{{"Strings B", 0}, {"Bass Drive", 1}, {"Strings D", 2}}));
  EXPECT_FALSE(rig.session.StoreLayerInPool(5));  // no such layer: nothing taken
  EXPECT_FALSE(rig.session.StorePartInPool(16));
  EXPECT_EQ(rig.session.LowestFreePoolSlot(), 3);

  rig.prompts.answers = {Prompts::Answer::Cancel, Prompts::Answer::Ok};
  rig.session.DeletePoolRow(1);  // cancelled
  EXPECT_EQ(rig.state.PoolRows.size(), 3u);
  rig.session.DeletePoolRow(1);
  EXPECT_EQ(rig.state.PoolRows, (std::vector<PoolRow>{{"Strings B", 0}, {"Strings D", 2}}));
  EXPECT_EQ(rig.model.PoolSlotFree[1], kSlotFree);
  rig.session.DeletePoolRow(2);  // no such row: no question
  rig.session.DeletePoolRow(-1);
  EXPECT_EQ(rig.prompts.shown.size(), 2u);
  ASSERT_TRUE(rig.session.StoreLayerInPool(1));  // the freed slot again, at the end of the list
  EXPECT_EQ(rig.state.PoolRows.back(), (PoolRow{"Strings A", 1}));

  // Rows from elsewhere (a file): a slot is in use exactly when a row holds it.
  rig.session.SetPoolRows({{"Pad", 7}, {"Lead", 0}, {"odd", 200}});
  for (int s = 0; s < kPoolSlots; ++s) EXPECT_EQ(rig.model.PoolSlotFree[s], s == 7 || s == 0 ? kSlotUsed : kSlotFree) << s;
  EXPECT_EQ(rig.session.LowestFreePoolSlot(), 1);

  rig.session.ClearPool();
  EXPECT_TRUE(rig.state.PoolRows.empty());
  EXPECT_EQ(rig.session.LowestFreePoolSlot(), 0);
}

// As the list moves its selection: a deleted selected row passes it to the
// row that takes its place, or to the new last row.
TEST(LayerPool, TheSelectedRowStaysOnItsEntryOrItsPlace) {
  Quiet rig;
  rig.session.SetPoolRows({{"A", 0}, {"B", 1}, {"C", 2}, {"D", 3}});
  rig.session.SelectPoolRow(2);
  rig.prompts.answers = {Prompts::Answer::Ok, Prompts::Answer::Ok, Prompts::Answer::Ok};
  rig.session.DeletePoolRow(0);
  EXPECT_EQ(rig.state.SelectedPoolRow, 1);  // still "C"
  rig.session.DeletePoolRow(1);
  EXPECT_EQ(rig.state.SelectedPoolRow, 1);  // "D" took its place
  rig.session.DeletePoolRow(1);
  EXPECT_EQ(rig.state.SelectedPoolRow, 0);  // the last row went: the new last row
  rig.session.SelectPoolRow(1);             // no such row
  EXPECT_EQ(rig.state.SelectedPoolRow, -1);
  rig.session.SetPoolRows({{"A", 0}, {"B", 1}, {"C", 2}});
  rig.session.SelectPoolRow(2);
  rig.session.SetPoolRows({{"P", 5}, {"Q", 6}});  // a shorter list: its last row
  EXPECT_EQ(rig.state.SelectedPoolRow, 1);
  rig.session.ClearPool();
  EXPECT_EQ(rig.state.SelectedPoolRow, -1);
}

TEST(LayerPool, AFullPoolSaysSoAndTakesNothing) {
  Quiet rig;
  for (int s = 0; s < kPoolSlots; ++s) rig.model.PoolSlotFree[s] = kSlotUsed;
  EXPECT_FALSE(rig.session.StorePartInPool(4));
  EXPECT_TRUE(rig.state.PoolRows.empty());
  EXPECT_EQ(rig.prompts.Messages(),
            (std::vector<std::string>{"No more Pool Layers are available (delete one by double clicking)."}));
}

TEST(LayerPool, ARowSentToAPartNamesItAndTheEditPanelFollows) {
  Quiet rig;
  rig.session.InitMultiPart(4);  // slot 0 holds a whole part: a block never filled is never sent
  rig.session.LdMultToDef(4);
  rig.session.SavePoolSlot(0);
  rig.session.SetPoolRows({{"Warm Analog Pad", 0}, {"no slot", -1}});
  rig.session.SetChannelRow(9, 5);
  rig.Take();

  rig.session.SendPoolRowToPart(9, 0);  // not the edited part
  EXPECT_EQ(rig.state.Caption(9), "Warm Analo M10");
  EXPECT_EQ(rig.view.calls, (Calls{"Caption 9 Warm Analo M10"}));
  const auto sent = rig.Take();
  ASSERT_EQ(sent.size(), 5u);
  EXPECT_EQ(rig.model.PartBlk.At(kReceiveChannelByte, 0, 9), 5);  // the part keeps its channel

  rig.session.SetPartCaption(9, DefaultPartCaption(9));  // the row's name is news again
  rig.Take();
  rig.model.EditPart = 9;
  rig.session.SendPoolRowToPart(9, 0);
  EXPECT_EQ(rig.view.calls, (Calls{"Caption 9 Warm Analo M10", "EditedName"}));
  rig.Take();

  // M5 fills its edit panel from the new data also while it is hidden.
  rig.model.EditPart = 4;
  rig.session.SendPoolRowToPart(4, 0);
  EXPECT_EQ(rig.view.calls, (Calls{"Caption 4 Warm Analo M5", "EditedName", "RefillEditPanel"}));
  rig.Take();

  // While the panel is shown, it opens on the part the row went to.
  rig.session.EditMult(4);
  rig.session.SetPartCaption(9, DefaultPartCaption(9));
  rig.Take();
  rig.session.SendPoolRowToPart(9, 0);
  EXPECT_EQ(rig.view.calls, (Calls{"Caption 9 Warm Analo M10", "ShowMultiEditPanel 9"}));
  EXPECT_EQ(rig.model.EditPart, 9);
  rig.Take();

  for (auto [part, row] : {std::pair{9, 1}, {9, 2}, {9, -1}, {3, 0}, {16, 0}}) rig.session.SendPoolRowToPart(part, row);
  EXPECT_TRUE(rig.Take().empty());
  EXPECT_EQ(rig.state.Caption(9), "Warm Analo M10");
}

// A part stored in the pool while the instrument did not answer holds
// nothing: putting it into a part changes and sends nothing.
TEST(LayerPool, AnEntryNeverFilledChangesNoPart) {
  Quiet rig;
  rig.session.InitMultiPart(9);
  rig.session.SetPartCaption(4, PartCaptionFor("Empty", 4));
  ASSERT_TRUE(rig.session.StorePartInPool(4));  // M5 was never filled
  const std::string caption = rig.state.Caption(9);
  const Byte* block = rig.model.PartBlk.Block(0, 9);
  const Bytes before(block, block + BlkLen(0));
  rig.Take();

  rig.session.SendPoolRowToPart(9, 0);
  EXPECT_EQ(rig.state.Caption(9), caption);
  EXPECT_EQ(Bytes(block, block + BlkLen(0)), before);
  EXPECT_TRUE(rig.Take().empty());

  // So is a layer of a performance the instrument never sent.
  ASSERT_TRUE(rig.session.StoreLayerInPool(1));
  rig.session.SendPoolRowToPart(9, 1);
  EXPECT_EQ(rig.state.Caption(9), caption);
  EXPECT_EQ(Bytes(block, block + BlkLen(0)), before);
  EXPECT_TRUE(rig.Take().empty());
}

TEST(EditSwitches, OnlyChangedSwitchesSendInTheirOrder) {
  Quiet rig;
  auto stored = [&](Byte port, Byte keyAssign, Byte monoPoly, Byte partMode) {
    rig.model.PartBlk.At(64, 1, 7) = port;
    rig.model.PartBlk.At(15, 0, 7) = keyAssign;
    rig.model.PartBlk.At(14, 0, 7) = monoPoly;
    rig.model.PartBlk.At(16, 0, 7) = partMode;
    rig.session.ShowEditSwitches();
  };
  rig.session.SetEditPart(7);
  stored(0, 1, 1, 0);  // the default part: nothing to send
  EXPECT_TRUE(rig.Take().empty());

  stored(1, 2, 0, 3);
  EXPECT_EQ(rig.Take(), (std::vector<std::string>{"F0 43 10 4C 08 07 67 01 F7", "F0 43 10 4C 08 07 06 02 F7",
                                                  "F0 43 10 4C 08 07 05 00 F7", "F0 43 10 4C 08 07 07 03 F7"}));

  // Values that name no state show none (portamento: off) and send nothing.
  stored(5, 3, 2, 9);
  EXPECT_TRUE(rig.Take().empty());
  EXPECT_EQ(rig.state.ShownSwitches, (std::array<int, 4>{0, kNoSwitchState, kNoSwitchState, kNoSwitchState}));
  stored(0, 2, 0, 3);  // portamento still shows off; the groups select again
  EXPECT_EQ(rig.Take(), (std::vector<std::string>{"F0 43 10 4C 08 07 06 02 F7", "F0 43 10 4C 08 07 05 00 F7",
                                                  "F0 43 10 4C 08 07 07 03 F7"}));

  rig.session.SetEditSwitch(kSwMonoPoly, 1);  // the user's click
  EXPECT_EQ(rig.model.PartBlk.At(14, 0, 7), 1);
  EXPECT_EQ(rig.Take(), (std::vector<std::string>{"F0 43 10 4C 08 07 05 01 F7"}));

  // A value set that names no state shows as a stored one does.
  rig.session.SetEditSwitch(kSwPortamento, 5);
  rig.session.SetEditSwitch(kSwPartMode, 9);
  EXPECT_EQ(rig.state.ShownSwitches[kSwPortamento], 0);
  EXPECT_EQ(rig.state.ShownSwitches[kSwPartMode], kNoSwitchState);
}

}  // namespace
}  // namespace qv
