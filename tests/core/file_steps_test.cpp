// The load and save steps of the own files against the emulated CS2x: the
// bytes they write and what a load stores, shows and sends. What a load
// refuses or passes over is in file_steps_blocks_test.cpp.

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <cerrno>
#include <cstring>
#include <string>

#include "file_steps_fixture.h"

namespace qv {
namespace {

// ---- Byte layout ------------------------------------------------------------------

TEST_F(FileSteps_, SavedFilesHoldEveryFieldAtItsOffset) {
  Populate();
  rig.model.PartBlk.At(kReceiveChannelByte, 0, 4) = 9;  // the list shows row 11
  const std::string ws = Path("all.qvw");
  ASSERT_TRUE(steps.SaveWorkspaceFile(ws));
  const Bytes f = Get(ws);
  ASSERT_EQ(f.size(), 27850u);
  for (int e = 0; e < 12; ++e) {
    const int part = e + 4;
    const std::size_t at = kElement * static_cast<std::size_t>(e);
    for (int b = 0; b < 5; ++b) {
      Bytes expected = Block(b, part);
      if (b == 0) expected[13] = static_cast<Byte>(15 - part);  // the channel list's row
      EXPECT_EQ(Bytes(f.begin() + long(at + BlkAt(b)), f.begin() + long(at + BlkAt(b) + expected.size())), expected);
      EXPECT_EQ(f[at + BlkAt(b) + kBlkField[b] - 1], 0) << "spare byte of block " << b;
    }
    EXPECT_EQ(std::string(f.begin() + long(at + kNameAt), f.begin() + long(at + kElement)),
              ("Part" + std::to_string(part) + "     ").substr(0, 10));
  }
  EXPECT_TRUE(std::all_of(f.begin() + long(12 * kElement), f.begin() + long(kPerfAt), [](Byte b) { return b == 0; }));
  EXPECT_EQ(Bytes(f.begin() + long(kPerfAt), f.begin() + long(kPoolAt)), RecordBytes(rig.model.Performance));
  EXPECT_EQ(f[kPerfAt + 228 + 9], 3);  // the performance channel in Com0
  const std::size_t pool = kPoolAt;
  EXPECT_EQ(f[pool + kSlotsAt], 5);
  EXPECT_EQ(f[pool + kSlotsAt + 1], 0);
  EXPECT_EQ(f[pool + kSlotsAt + 2], 7);
  EXPECT_EQ(f[pool + kSlotsAt + 129], 3);
  EXPECT_EQ(std::string(f.begin() + long(pool + kElement + kNameAt), f.begin() + long(pool + 2 * kElement)), "Bravo     ");
  EXPECT_EQ(f[pool + 5 * kElement + BlkAt(1) + 20], 55);  // slot 5's blocks stay with slot 5

  // The other kinds are the same pieces on their own.
  ASSERT_TRUE(steps.SaveMultAllFile(Path("m.qvm")));
  ASSERT_TRUE(steps.SaveSetupFile(Path("s.qvf")));
  ASSERT_TRUE(steps.SaveLayerPoolFile(Path("p.qvp")));
  ASSERT_TRUE(steps.SavePerformanceFile(Path("x.qvx")));
  EXPECT_EQ(Get(Path("m.qvm")), Bytes(f.begin(), f.begin() + long(kPerfAt)));
  EXPECT_EQ(Get(Path("s.qvf")), Bytes(f.begin(), f.begin() + long(kPoolAt)));
  EXPECT_EQ(Get(Path("p.qvp")), Bytes(f.begin() + long(kPoolAt), f.end()));
  EXPECT_EQ(Get(Path("x.qvx")), Bytes(f.begin() + long(kPerfAt), f.begin() + long(kPoolAt)));

  // A single multi keeps byte 13 as stored, not the list's row; saved over
  // the workspace it leaves 192 bytes, which load only as a single multi.
  ASSERT_TRUE(steps.SaveMultFile(4, ws));
  const Bytes one = Get(ws);
  ASSERT_EQ(one.size(), 192u);
  EXPECT_EQ(one[13], 9);
  EXPECT_EQ(steps.LoadWorkspaceFile(ws), LoadResult::kWrongType);
  EXPECT_EQ(steps.LoadMultFile(8, ws), LoadResult::kLoaded);
  EXPECT_EQ(steps.SaveMultFile(3, ws).ok, false);
}

// ---- Round trips ------------------------------------------------------------------

TEST_F(FileSteps_, WorkspaceComesBackWholeInTheEditorAndOnTheInstrument) {
  Populate();
  const std::string ws = Path("round.qvw");
  ASSERT_TRUE(steps.SaveWorkspaceFile(ws));
  const EditorState saved = rig.state;
  const PerformanceRecord perf = rig.model.Performance;
  const LayerPoolRecord pool = rig.model.LayerPool;
  std::array<Bytes, 60> blocks;
  for (int i = 0; i < 60; ++i) blocks[std::size_t(i)] = Block(i % 5, 4 + i / 5);

  ChangeEverything();
  ASSERT_NE(rig.state.Captions, saved.Captions);
  ASSERT_NE(rig.model.Performance.Com1, perf.Com1);
  rig.view.calls.clear();
  ASSERT_EQ(steps.LoadWorkspaceFile(ws), LoadResult::kLoaded);

  ASSERT_GE(rig.view.calls.size(), 2u);  // the effects panel first, then the multi edit panel
  EXPECT_EQ(rig.view.calls[0], "HideEffectsPanel");
  EXPECT_EQ(rig.view.calls[1], "HideMultiEditPanel");
  EXPECT_EQ(rig.state.Captions, saved.Captions);
  EXPECT_EQ(rig.state.ChannelRows, saved.ChannelRows);
  EXPECT_EQ(rig.state.PoolRows, saved.PoolRows);
  EXPECT_EQ(rig.state.PerformanceCaption, saved.PerformanceCaption);
  EXPECT_EQ(RecordBytes(rig.model.Performance), RecordBytes(perf));
  EXPECT_EQ(RecordBytes(rig.model.LayerPool), RecordBytes(pool));
  for (int s = 0; s < kPoolSlots; ++s)
    EXPECT_EQ(rig.model.PoolSlotFree[std::size_t(s)], s == 0 || s == 5 || s == 7 ? kSlotUsed : kSlotFree);

  // Sent: the 60 blocks, then the channels, then the performance.
  const auto sent = rig.Sent();
  ASSERT_EQ(sent.size(), 60u + 12u + 8u);
  for (int i = 0; i < 60; ++i) {
    EXPECT_TRUE(IsXgBulk(sent[std::size_t(i)]));
    EXPECT_EQ(Block(i % 5, 4 + i / 5), blocks[std::size_t(i)]);
    EXPECT_EQ(sent[std::size_t(i)], blocks[std::size_t(i)]);
    // The instrument holds them.
    const Bytes& b = blocks[std::size_t(i)];
    EXPECT_EQ(rig.instrument.BulkDump(kModelXg, b[6], b[7], b[8]), b);
  }
  for (int i = 60; i < 72; ++i) EXPECT_TRUE(IsChannelChange(sent[std::size_t(i)]));
  const Byte perfAddresses[8][3] = {{0x50, 0, 0}, {0x60, 0, 0}, {0x60, 0, 0x40}, {0x60, 0, 0x60},
                                    {0x60, 1, 0}, {0x60, 2, 0}, {0x60, 3, 0}, {0x60, 4, 0}};
  for (int i = 0; i < 8; ++i) {
    const Bytes& m = sent[std::size_t(72 + i)];
    ASSERT_TRUE(IsCsBulk(m));
    EXPECT_EQ(Bytes(m.begin() + 6, m.begin() + 9), Bytes(perfAddresses[i], perfAddresses[i] + 3));
    const Bytes held = rig.instrument.BulkDump(kModelCs, m[6], m[7], m[8]);
    EXPECT_EQ(held, m);
  }
  EXPECT_EQ(rig.instrument.PerformanceName(), rig.state.PerformanceCaption);
}

TEST_F(FileSteps_, SetupAndAllMultisLeaveThePoolAndTheyKeepNamesAndChannels) {
  Populate();
  ASSERT_TRUE(steps.SaveSetupFile(Path("s.qvf")));
  ASSERT_TRUE(steps.SaveMultAllFile(Path("m.qvm")));
  const EditorState saved = rig.state;
  ChangeEverything();
  rig.session.SetPoolRows({{"Other     ", 9}});
  ASSERT_EQ(steps.LoadSetupFile(Path("s.qvf")), LoadResult::kLoaded);
  EXPECT_EQ(rig.state.Captions, saved.Captions);
  EXPECT_EQ(rig.state.ChannelRows, saved.ChannelRows);
  EXPECT_EQ(rig.state.PerformanceCaption, saved.PerformanceCaption);
  EXPECT_EQ(rig.state.PoolRows, (std::vector<PoolRow>{{"Other     ", 9}}));
  EXPECT_EQ(rig.Sent().size(), 80u);

  ChangeEverything();
  rig.view.calls.clear();
  ASSERT_EQ(steps.LoadMultAllFile(Path("m.qvm")), LoadResult::kLoaded);
  EXPECT_EQ(rig.view.calls.front(), "HideMultiEditPanel");
  EXPECT_EQ(rig.state.Captions, saved.Captions);
  EXPECT_EQ(rig.state.ChannelRows, saved.ChannelRows);
  EXPECT_NE(rig.state.PerformanceCaption, saved.PerformanceCaption);
  EXPECT_EQ(rig.Sent().size(), 72u);
}

TEST_F(FileSteps_, SingleMultiGoesIntoAnotherPartWithItsNumberAndChannel) {
  Populate();
  rig.session.SetPartCaption(4, PartCaptionFor("Bass", 4));
  ASSERT_TRUE(steps.SaveMultFile(4, Path("m5.qvs")));
  const Byte m9Channel = rig.model.PartBlk.At(kReceiveChannelByte, 0, 8);
  const int m9Row = rig.state.ChannelRow(8);
  const Bytes m5Block1 = Block(1, 4);
  rig.view.calls.clear();

  ASSERT_EQ(steps.LoadMultFile(8, Path("m5.qvs")), LoadResult::kLoaded);
  EXPECT_EQ(rig.view.calls.front(), "HideMultiEditPanel");
  EXPECT_EQ(rig.state.Caption(8), "Bass       M9");
  EXPECT_EQ(rig.state.ChannelRow(8), m9Row);
  for (int b = 0; b < 5; ++b) EXPECT_EQ(rig.model.PartBlk.At(kPartNumberByte, b, 8), 8);
  EXPECT_EQ(rig.model.PartBlk.At(kReceiveChannelByte, 0, 8), m9Channel);
  const Bytes m9Block1 = Block(1, 8);
  EXPECT_EQ(Bytes(m5Block1.begin() + 9, m5Block1.end() - 2), Bytes(m9Block1.begin() + 9, m9Block1.end() - 2));
  const auto sent = rig.Sent();
  ASSERT_EQ(sent.size(), 5u);
  for (int b = 0; b < 5; ++b) EXPECT_EQ(sent[std::size_t(b)], Block(b, 8));
}

TEST_F(FileSteps_, PoolRowsAndFreeSlotsFollowTheFile) {
  Populate();
  ASSERT_TRUE(steps.SaveLayerPoolFile(Path("p.qvp")));
  rig.session.ClearPool();
  rig.session.SetPoolRows({{"Nine     ", 1}});  // nine letters: saved with a blank
  ASSERT_TRUE(steps.SaveLayerPoolFile(Path("one.qvp")));
  rig.session.ClearPool();
  ASSERT_TRUE(steps.SaveLayerPoolFile(Path("empty.qvp")));
  EXPECT_EQ(Get(Path("empty.qvp"))[kSlotsAt + 129], 0);

  ASSERT_EQ(steps.LoadLayerPoolFile(Path("p.qvp")), LoadResult::kLoaded);
  EXPECT_EQ(rig.state.PoolRows, (std::vector<PoolRow>{{"Alpha     ", 5}, {"Bravo     ", 0}, {"Charlie   ", 7}}));
  EXPECT_EQ(rig.session.LowestFreePoolSlot(), 1);
  ASSERT_EQ(steps.LoadLayerPoolFile(Path("one.qvp")), LoadResult::kLoaded);
  EXPECT_EQ(rig.state.PoolRows, (std::vector<PoolRow>{{"Nine      ", 1}}));
  rig.model.LayerPool.Entry[5].Blocks.Blk1[20] = 0;
  ASSERT_EQ(steps.LoadLayerPoolFile(Path("empty.qvp")), LoadResult::kLoaded);
  EXPECT_TRUE(rig.state.PoolRows.empty());
  EXPECT_EQ(rig.session.LowestFreePoolSlot(), 0);
  EXPECT_EQ(rig.model.LayerPool.Entry[5].Blocks.Blk1[20], 55);  // the blocks come from the file all the same
  EXPECT_TRUE(rig.Sent().empty());
}

// ---- The performance --------------------------------------------------------------

TEST_F(FileSteps_, PerformanceLoadSendsEightMessagesAndShowsTheLayers) {
  rig.session.RtrvPerformance();
  PerformanceRecord perf = rig.model.Performance;
  perf.Lyr2[kLayerSwitchByte] = 0;
  perf.Lyr4[kLayerSwitchByte] = 2;
  perf.Com0[kPerfChannelByte] = 12;
  Put(Path("x.qvx"), RecordBytes(perf));
  rig.backend.ClearRecords();
  rig.view.calls.clear();

  ASSERT_EQ(steps.LoadPerformanceFile(Path("x.qvx")), LoadResult::kLoaded);
  const auto sent = rig.Sent();
  std::vector<std::size_t> lengths;
  for (const Bytes& m : sent) lengths.push_back(m.size());
  EXPECT_EQ(lengths, (std::vector<std::size_t>{37, 63, 34, 20, 56, 56, 56, 56}));
  EXPECT_EQ(sent[0][kPerfChannelByte], 3);  // the preferences' channel, not the file's
  EXPECT_EQ(rig.view.calls.front(), "HideEffectsPanel");
  EXPECT_EQ(rig.view.calls.back(), "EffectsBypassEnded");
  const std::string name = rig.state.PerformanceCaption;
  EXPECT_EQ(rig.state.Layer(1).text, name + "A");
  EXPECT_EQ(rig.state.Layer(3).text, name + "C");
  EXPECT_FALSE(rig.state.Layer(2).enabled || rig.state.Layer(4).enabled);
  EXPECT_EQ(rig.state.Layer(4).text, "         ");
}

// ---- Busy and unreadable files ----------------------------------------------------

TEST_F(FileSteps_, BusyWorkspaceLoadSendsNoChannelsAndOnlyRegularFilesAreRead) {
  Populate();
  ASSERT_TRUE(steps.SaveWorkspaceFile(Path("w.qvw")));
  ChangeEverything();
  rig.model.Busy = true;
  ASSERT_EQ(steps.LoadWorkspaceFile(Path("w.qvw")), LoadResult::kLoaded);
  rig.model.Busy = false;
  const auto sent = rig.Sent();
  ASSERT_EQ(sent.size(), 68u);
  EXPECT_TRUE(std::none_of(sent.begin(), sent.end(), IsChannelChange));
  EXPECT_EQ(rig.state.ChannelRow(4), 11);  // the rows show the loaded channels all the same

  rig.backend.ClearRecords();
  ASSERT_EQ(mkfifo(Path("fifo").c_str(), 0600), 0);
  fs::create_directories(Path("folder"));
  for (const std::string& p : {Path("fifo"), Path("folder"), Path("missing")}) {
    EXPECT_EQ(steps.LoadWorkspaceFile(p), LoadResult::kCannotRead);
    EXPECT_EQ(steps.LoadMultAllFile(p), LoadResult::kCannotRead);
  }

  // Each gets the box naming the file and the system's reason.
  const std::vector<std::pair<std::string, std::string>> reasons = {
      {Path("fifo"), "It is not a regular file."},
      {Path("folder"), "It is a folder."},
      {Path("missing"), std::strerror(ENOENT)}};
  for (const auto& [p, reason] : reasons) {
    const std::string text = "The file \"" + p + "\" could not be loaded.\n\n" + reason;
    EXPECT_EQ(steps.LoadSetupFile(p).text, text);
    EXPECT_EQ(steps.LoadMultFile(8, p).text, text);
    EXPECT_EQ(steps.LoadPerformanceFile(p).text, text);
    EXPECT_EQ(steps.LoadLayerPoolFile(p).text, text);
  }
  EXPECT_TRUE(rig.Sent().empty());
}

// ---- Exports and listings ------------------------------------------------------

TEST_F(FileSteps_, ExportsRetrieveThePerformanceFirstAndShowTheRows) {
  Populate();
  rig.instrument.SetPerformanceName("Exported");
  ASSERT_TRUE(steps.SaveSetupSysExFile(Path("s.syx")));
  EXPECT_EQ(rig.state.PerformanceCaption, "Exported");
  const Bytes syx = Get(Path("s.syx"));
  ASSERT_EQ(syx.size(), 2502u);
  EXPECT_EQ(syx[13], 11);  // M5's channel row
  ASSERT_TRUE(steps.SaveSetupMidiFile(Path("s.mid"), 4));
  const Bytes mid = Get(Path("s.mid"));
  ASSERT_EQ(mid.size(), 2759u);
  EXPECT_EQ(Bytes(mid.begin() + 49, mid.begin() + 51), (Bytes{0x81, 0x07}));  // the density's delta, 135
  rig.session.SetPerfChannel(9);
  ASSERT_TRUE(steps.SaveWorkspaceText(Path("w.txt")));
  const Bytes text = Get(Path("w.txt"));
  EXPECT_EQ(std::count(text.begin(), text.end(), Byte{0x0A}), 26 + 3);
  const std::string listing(text.begin(), text.end());
  EXPECT_NE(listing.find("Midi Channel\t 12\tPart4     \t"), std::string::npos);
  EXPECT_NE(listing.find("\t\t\tCharlie   \t"), std::string::npos);
  EXPECT_NE(listing.find("\"\t\t\tMidi Channel\t 10\tExported\t"), std::string::npos);  // the performance
  ASSERT_TRUE(steps.DumpSysExToText(syx, Path("dump.txt")));
  EXPECT_GT(fs::file_size(Path("dump.txt")), syx.size());
}

// A performance that never arrived has a name of NUL bytes, and a name may
// hold CR or LF: buttons and the listing show each such byte as a blank,
// while the state and the own files keep the bytes.
TEST_F(FileSteps_, ControlBytesInNamesShowAsBlanksAndStayInTheFiles) {
  rig.session.InitMultiPart(4);
  rig.Silence();
  rig.session.RtrvPerformance();
  EXPECT_EQ(rig.state.PerformanceCaption, std::string(8, '\0'));
  EXPECT_EQ(ShownName(rig.state.PerformanceCaption), std::string(8, ' '));
  const std::string name("Bass\r\nLow\x1F", 10);
  rig.session.SetPartCaption(4, PartCaptionFor(name, 4));
  EXPECT_EQ(ShownName(rig.state.Caption(4)), "Bass  Low  M5");

  ASSERT_TRUE(steps.SaveMultFile(4, Path("m5.qvs")));
  const Bytes file = Get(Path("m5.qvs"));
  EXPECT_EQ(std::string(file.begin() + kNameAt, file.begin() + kNameAt + 10), name);
  ASSERT_EQ(steps.LoadMultFile(9, Path("m5.qvs")), LoadResult::kLoaded);
  EXPECT_EQ(rig.state.Caption(9), name + " M10");

  ASSERT_TRUE(steps.SaveWorkspaceText(Path("w.txt")));
  const Bytes text = Get(Path("w.txt"));
  EXPECT_EQ(std::count(text.begin(), text.end(), Byte{0x0A}), 26);
  EXPECT_EQ(std::count(text.begin(), text.end(), Byte{0x00}), 0);
  const std::string listing(text.begin(), text.end());
  EXPECT_NE(listing.find("\t  4\t        \t\t\t\t\t\t\"\r\n"), std::string::npos);
  EXPECT_NE(listing.find("\tBass  Low \t"), std::string::npos);
}

}  // namespace
}  // namespace qv
