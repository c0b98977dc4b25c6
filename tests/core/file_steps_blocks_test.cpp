// What a load of an own file takes: only a file whose blocks are each one of
// their place or never filled, only the parts it holds whole, and of those
// only what came from the instrument; and the box after a save that wrote
// parts or the performance with nothing from the instrument in them.

#include <gtest/gtest.h>

#include <cstddef>
#include <functional>
#include <string>
#include <utility>
#include <vector>

#include "file_steps_fixture.h"
#include "instrument/performance_blocks.h"

namespace qv {
namespace {

// ---- Files of another kind ------------------------------------------------------

TEST_F(FileSteps_, FilesOfAnotherKindAreRefusedAndNeverFilledOnesHoldNoData) {
  Populate();
  ASSERT_TRUE(steps.SavePerformanceFile(Path("x.qvx")));
  ASSERT_TRUE(steps.SaveSetupFile(Path("s.qvf")));
  const EditorState saved = rig.state;
  ChangeEverything();
  const EditorState before = rig.state;
  const PerformanceRecord perf = rig.model.Performance;

  // A performance chosen as all multis holds no multi part's block: refused,
  // nothing changed or sent. A setup chosen so loads its multi parts.
  EXPECT_EQ(steps.LoadMultAllFile(Path("x.qvx")), LoadResult::kWrongType);
  EXPECT_EQ(rig.state.Captions, before.Captions);
  EXPECT_TRUE(rig.Sent().empty());
  ASSERT_EQ(steps.LoadMultAllFile(Path("s.qvf")), LoadResult::kLoaded);
  EXPECT_EQ(rig.state.Captions, saved.Captions);
  EXPECT_EQ(RecordBytes(rig.model.Performance), RecordBytes(perf));

  // Text of each kind's length, and a performance with its blocks shifted
  // by one byte: refused by every loader.
  ChangeEverything();
  const auto text = [](std::size_t n) {
    Bytes b(n);
    for (std::size_t i = 0; i < n; ++i) b[i] = static_cast<Byte>("Not a file of ours. "[i % 20]);
    return b;
  };
  Bytes shifted = Get(Path("x.qvx"));
  shifted.insert(shifted.begin(), 0x00);
  shifted.pop_back();
  Put(Path("shifted.qvx"), shifted);
  EXPECT_EQ(steps.LoadPerformanceFile(Path("shifted.qvx")), LoadResult::kWrongType);
  const std::vector<std::pair<std::size_t, std::function<LoadResult(const std::string&)>>> loads = {
      {192, [&](const std::string& p) { return steps.LoadMultFile(4, p); }},
      {2496, [&](const std::string& p) { return steps.LoadMultAllFile(p); }},
      {456, [&](const std::string& p) { return steps.LoadPerformanceFile(p); }},
      {2952, [&](const std::string& p) { return steps.LoadSetupFile(p); }},
      {24898, [&](const std::string& p) { return steps.LoadLayerPoolFile(p); }},
      {27850, [&](const std::string& p) { return steps.LoadWorkspaceFile(p); }}};
  for (const auto& [length, load] : loads) {
    Put(Path("foreign"), text(length));
    EXPECT_EQ(load(Path("foreign")), LoadResult::kWrongType) << length;
    // Never filled: zero, but for the part numbers the loads set and data
    // bytes that edits set. Such a file passes as its kind but holds nothing
    // from the instrument; only a Layer Pool file, whose rows (none here)
    // are its data, is loaded.
    Bytes empty(length, 0);
    for (std::size_t e = 0; length != 456 && e < std::min<std::size_t>(length, 2496) / kElement; ++e)
      for (int b = 0; b < 5; ++b) empty[e * kElement + BlkAt(b) + kPartNumberByte] = static_cast<Byte>(4 + e);
    empty[20] = 0x40;
    Put(Path("empty"), empty);
    EXPECT_EQ(load(Path("empty")), length == 24898 ? LoadResult::kLoaded : LoadResult::kNoData) << length;
  }
  EXPECT_EQ(rig.state.PoolRows.size(), 0u);
}

// The setup exported for the instrument (its 60 part messages one after the
// other), a performance whose name holds E9 hex, and a workspace with one
// pool entry's block of another model: each holds a block that is none of
// its place, and is refused whole. A wrong checksum is not looked at.
TEST_F(FileSteps_, ABlockOfAnotherPlaceOrWithAStatusByteRefusesTheWholeFile) {
  Populate();
  ASSERT_TRUE(steps.SaveSetupSysExFile(Path("s.syx")));
  ASSERT_TRUE(steps.SavePerformanceFile(Path("x.qvx")));
  ASSERT_TRUE(steps.SaveWorkspaceFile(Path("w.qvw")));
  Bytes perf = Get(Path("x.qvx"));
  perf[offsetof(PerformanceRecord, Com1) + kPerfNameFirst] = 0xE9;
  Put(Path("name.qvx"), perf);
  Bytes ws = Get(Path("w.qvw"));
  ws[kPoolAt + 40 * kElement + BlkAt(2) + 3] = kModelCs;
  Put(Path("pool.qvw"), ws);
  ChangeEverything();
  const EditorState before = rig.state;
  const PerformanceRecord held = rig.model.Performance;

  EXPECT_EQ(steps.LoadMultAllFile(Path("s.syx")), LoadResult::kWrongType);
  EXPECT_EQ(steps.LoadPerformanceFile(Path("name.qvx")), LoadResult::kWrongType);
  EXPECT_EQ(steps.LoadWorkspaceFile(Path("pool.qvw")), LoadResult::kWrongType);
  EXPECT_EQ(rig.state.Captions, before.Captions);
  EXPECT_EQ(rig.state.ChannelRows, before.ChannelRows);
  EXPECT_EQ(rig.state.PerformanceCaption, before.PerformanceCaption);
  EXPECT_EQ(rig.state.PoolRows, before.PoolRows);
  EXPECT_EQ(RecordBytes(rig.model.Performance), RecordBytes(held));
  EXPECT_TRUE(rig.Sent().empty());

  perf[offsetof(PerformanceRecord, Com1) + kPerfNameFirst] = 'A';
  perf[offsetof(PerformanceRecord, Com1) + 63 - 2] ^= 0x01;  // the checksum
  Put(Path("name.qvx"), perf);
  EXPECT_EQ(steps.LoadPerformanceFile(Path("name.qvx")), LoadResult::kLoaded);
}

TEST_F(FileSteps_, ForeignPartNumbersAndOffChannelsDoNotStopOrMisdirectALoad) {
  Populate();
  ASSERT_TRUE(steps.SaveWorkspaceFile(Path("w.qvw")));
  Bytes f = Get(Path("w.qvw"));
  for (int e = 0; e < 12; ++e)
    for (int b = 0; b < 5; ++b) f[kElement * std::size_t(e) + BlkAt(b) + 7] = 0;  // all for part 0
  f[2 * kElement + 13] = 0x7F;  // M7 "off"
  Put(Path("w.qvw"), f);
  ChangeEverything();
  rig.session.SetChannelRow(6, 4);
  rig.backend.ClearRecords();

  ASSERT_EQ(steps.LoadWorkspaceFile(Path("w.qvw")), LoadResult::kLoaded);
  for (int part = 4; part <= 15; ++part)
    for (int b = 0; b < 5; ++b) EXPECT_EQ(rig.model.PartBlk.At(kPartNumberByte, b, part), part);
  EXPECT_EQ(rig.state.ChannelRow(6), 4);  // kept
  EXPECT_EQ(rig.state.ChannelRow(15), 0);
  EXPECT_EQ(rig.state.ChannelRow(7), 15 - 7);
  EXPECT_EQ(rig.state.PoolRows.size(), 3u);  // the rest of the file came in
  const auto sent = rig.Sent();
  EXPECT_EQ(sent.size(), 60u + 11u + 8u);
  for (std::size_t i = 0; i < 60; ++i) EXPECT_EQ(sent[i][7], 4 + i / 5);
}

TEST_F(FileSteps_, DamagedPoolRefusesTheWholeFile) {
  Populate();
  ASSERT_TRUE(steps.SaveWorkspaceFile(Path("w.qvw")));
  ASSERT_TRUE(steps.SaveLayerPoolFile(Path("p.qvp")));
  const Bytes ws = Get(Path("w.qvw")), pool = Get(Path("p.qvp"));
  ChangeEverything();
  rig.session.SetPoolRows({{"Kept      ", 2}});
  const EditorState before = rig.state;
  const auto damage = [](Bytes f, std::size_t poolAt, int how) {
    if (how == 0) f[poolAt + kSlotsAt + 129] = 129;      // count above 128
    if (how == 1) f[poolAt + kSlotsAt + 1] = 128;        // slot above 127
    if (how == 2) f[poolAt + kSlotsAt + 2] = 5;          // slot 5 in two rows
    return f;
  };
  for (int how = 0; how < 3; ++how) {
    Put(Path("bad.qvw"), damage(ws, kPoolAt, how));
    Put(Path("bad.qvp"), damage(pool, 0, how));
    EXPECT_EQ(steps.LoadWorkspaceFile(Path("bad.qvw")), LoadResult::kDamagedPool) << how;
    EXPECT_EQ(steps.LoadLayerPoolFile(Path("bad.qvp")), LoadResult::kDamagedPool) << how;
  }
  EXPECT_EQ(rig.state.Captions, before.Captions);
  EXPECT_EQ(rig.state.PoolRows, before.PoolRows);
  EXPECT_EQ(rig.state.PerformanceCaption, before.PerformanceCaption);
  EXPECT_TRUE(rig.Sent().empty());
  LayerPoolRecord full{};
  full.PoolCount = 128;
  for (int k = 0; k < 128; ++k) full.PoolSlot[std::size_t(k)] = static_cast<Byte>(127 - k);
  EXPECT_TRUE(FileSteps::LayerPoolRecordValid(full));
}

TEST_F(FileSteps_, ShortAllMultisFilesApplyOnlyTheirWholeParts) {
  Populate();
  ASSERT_TRUE(steps.SaveMultAllFile(Path("m.qvm")));
  const Bytes full = Get(Path("m.qvm"));
  ChangeEverything();
  EditorState before = rig.state;
  const Bytes m7Block0 = Block(0, 6);

  // Two parts and part of a third.
  Put(Path("short.qvm"), Bytes(full.begin(), full.begin() + 2 * 192 + 191));
  ASSERT_EQ(steps.LoadMultAllFile(Path("short.qvm")), LoadResult::kLoaded);
  EXPECT_EQ(rig.state.Caption(4), "Part4      M5");
  EXPECT_EQ(rig.state.Caption(5), "Part5      M6");
  EXPECT_EQ(rig.state.Caption(6), before.Caption(6));
  EXPECT_EQ(rig.state.ChannelRow(6), before.ChannelRow(6));
  EXPECT_EQ(Block(0, 6), m7Block0);
  const auto sent = rig.Sent();
  EXPECT_EQ(sent.size(), 10u + 2u);  // two parts' blocks, two channels

  rig.backend.ClearRecords();
  Put(Path("tiny.qvm"), Bytes(full.begin(), full.begin() + 191));
  EXPECT_EQ(steps.LoadMultAllFile(Path("tiny.qvm")), LoadResult::kWrongType);
  Put(Path("empty.qvm"), {});
  EXPECT_EQ(steps.LoadMultAllFile(Path("empty.qvm")), LoadResult::kWrongType);
  Bytes longest = full;
  longest.resize(18200, 0x11);
  Put(Path("long.qvm"), longest);
  EXPECT_EQ(steps.LoadMultAllFile(Path("long.qvm")), LoadResult::kLoaded);
  EXPECT_EQ(rig.state.Caption(15), "Part15     M16");
  longest.push_back(0);
  Put(Path("long.qvm"), longest);
  EXPECT_EQ(steps.LoadMultAllFile(Path("long.qvm")), LoadResult::kWrongType);
}

// ---- What came from the instrument ------------------------------------------------

// A setup in which M9..M16, block 2 of M5 and Com1 were never filled: those
// parts keep their blocks, names and channel rows, M5 keeps its own block 2,
// the performance keeps its name, and none of them is sent.
TEST_F(FileSteps_, PartsAndBlocksNeverFilledLeaveTheProgramsOwn) {
  Populate();
  ASSERT_TRUE(steps.SaveSetupFile(Path("s.qvf")));
  Bytes f = Get(Path("s.qvf"));
  for (std::size_t e = 4; e < 12; ++e) std::fill_n(f.begin() + long(e * kElement), kNameAt, Byte{0});
  std::fill_n(f.begin() + long(BlkAt(2)), kBlkField[2], Byte{0});
  std::fill_n(f.begin() + long(kPerfAt + offsetof(PerformanceRecord, Com1)), 64, Byte{0});
  Put(Path("s.qvf"), f);
  const EditorState saved = rig.state;
  ChangeEverything();
  const EditorState before = rig.state;
  const Bytes m5Block2 = Block(2, 4), m9Block0 = Block(0, 8);
  const auto com1 = rig.model.Performance.Com1;

  ASSERT_EQ(steps.LoadSetupFile(Path("s.qvf")), LoadResult::kLoaded);
  for (int part = 4; part <= 15; ++part) {
    const EditorState& expected = part < 8 ? saved : before;
    EXPECT_EQ(rig.state.Caption(part), expected.Caption(part)) << part;
    EXPECT_EQ(rig.state.ChannelRow(part), expected.ChannelRow(part)) << part;
  }
  EXPECT_EQ(Block(2, 4), m5Block2);
  EXPECT_EQ(Block(0, 8), m9Block0);
  EXPECT_EQ(rig.model.Performance.Com1, com1);
  EXPECT_EQ(rig.state.PerformanceCaption, before.PerformanceCaption);
  EXPECT_EQ(rig.model.Performance.Com2, saved.Model.Performance.Com2);
  const auto sent = rig.Sent();
  ASSERT_EQ(sent.size(), 19u + 4u + 7u);  // M5 without block 2, M6..M8; their channels; 7 blocks
  for (std::size_t i = 0; i < 19; ++i) EXPECT_LT(sent[i][7], 8) << i;
  for (std::size_t i = 23; i < sent.size(); ++i)
    EXPECT_FALSE(sent[i][6] == 0x60 && sent[i][7] == 0x00 && sent[i][8] == 0x00) << "Com1 sent";
}

// Files saved while the instrument did not answer: refused with one box, and
// the parts, channels and performance the program holds stay and are not
// sent again. A workspace's pool rows are data of their own.
TEST_F(FileSteps_, AFileWithNothingFromTheInstrumentIsRefusedWithItsBox) {
  rig.Silence();
  rig.session.RtrvAllMultis();
  rig.session.RtrvPerformance();
  ASSERT_TRUE(steps.SaveMultAllFile(Path("m.qvm")));
  ASSERT_TRUE(steps.SaveWorkspaceFile(Path("w.qvw")));
  rig.session.SetPoolRows({{"Row       ", 3}});
  ASSERT_TRUE(steps.SaveWorkspaceFile(Path("row.qvw")));
  rig.instrument.silent = false;
  rig.clock.realWait = std::chrono::milliseconds(2000);
  Populate();
  const EditorState before = rig.state;

  const LoadResult multis = steps.LoadMultAllFile(Path("m.qvm"));
  EXPECT_EQ(multis, LoadResult::kNoData);
  EXPECT_EQ(multis.text,
            "The file \"" + Path("m.qvm") + "\" holds no data from the instrument. Nothing has been loaded.");
  EXPECT_EQ(steps.LoadWorkspaceFile(Path("w.qvw")), LoadResult::kNoData);
  EXPECT_EQ(rig.state.Captions, before.Captions);
  EXPECT_EQ(rig.state.ChannelRows, before.ChannelRows);
  EXPECT_EQ(rig.state.PerformanceCaption, before.PerformanceCaption);
  EXPECT_EQ(rig.state.PoolRows, before.PoolRows);
  EXPECT_TRUE(rig.Sent().empty());

  ASSERT_EQ(steps.LoadWorkspaceFile(Path("row.qvw")), LoadResult::kLoaded);
  EXPECT_EQ(rig.state.PoolRows, (std::vector<PoolRow>{{"Row       ", 3}}));
  EXPECT_EQ(rig.state.Captions, before.Captions);
  EXPECT_TRUE(rig.Sent().empty());
}

// A save still writes parts and a performance that never came from the
// instrument, and its box names them.
TEST_F(FileSteps_, ASaveOfPartsNeverFilledNamesThem) {
  rig.Silence();
  rig.session.RtrvPerformance();
  for (int part : {4, 5, 6, 7, 9}) rig.session.InitMultiPart(part);
  const auto notice = [this](const std::string& file, const std::string& named) {
    return named.empty() ? named
                         : "The file \"" + Path(file) + "\" has been saved, but it holds no data from the "
                           "instrument for " + named + ".";
  };
  const auto saved = [](const SaveResult& result) {
    EXPECT_TRUE(result) << result.reason;
    return result.notice;
  };
  EXPECT_EQ(saved(steps.SaveMultAllFile(Path("m.qvm"))), notice("m.qvm", "M9 and M11 to M16"));
  EXPECT_EQ(Get(Path("m.qvm")).size(), 2496u);
  EXPECT_EQ(saved(steps.SaveSetupSysExFile(Path("s.syx"))), notice("s.syx", "M9, M11 to M16 and the performance"));
  EXPECT_EQ(saved(steps.SaveMultFile(4, Path("m5.qvs"))), "");
  EXPECT_EQ(saved(steps.SaveMultFile(8, Path("m9.qvs"))), notice("m9.qvs", "M9"));
  EXPECT_EQ(saved(steps.SavePerformanceFile(Path("x.qvx"))), notice("x.qvx", "the performance"));
  rig.session.InitMultiPart(8);
  rig.session.InitMultiPart(15);
  EXPECT_EQ(saved(steps.SaveSetupFile(Path("s.qvf"))), notice("s.qvf", "M11 to M15 and the performance"));
}

}  // namespace
}  // namespace qv
