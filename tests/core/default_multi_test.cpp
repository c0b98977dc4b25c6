#include <gtest/gtest.h>

#include <string>

#include "hex.h"
#include "instrument/default_multi.h"
#include "instrument/messages.h"
#include "session_rig.h"

namespace qv {
namespace {

using test::HexString;
using test::SessionRig;

std::string Repeat(const std::string& hex, int times) {
  std::string out;
  for (int i = 0; i < times; ++i) out += " " + hex;
  return out;
}

// The default part with part number pp and receive channel rc, each block up
// to the byte before its checksum.
std::string DefaultHead(int block, const std::string& pp, const std::string& rc) {
  switch (block) {
    case 0:
      return "F0 43 00 4C 00 29 08 " + pp + " 00 00 00 00 00 " + rc +
             " 01 01 00 40 08 00 64 40 40 40 00 7F 7F 00 28 00" + Repeat("40", 11) + " 0A 00 00 42 40 40 00 00 00";
    case 1:
      return "F0 43 00 4C 00 3F 08 " + pp + " 30" + Repeat("01", 17) + Repeat("40", 12) +
             " 40 40 40 00 00 00 40 40 40 00 00 00 10 40 40 40 00 00 00 11 40 40 40 00 00 00 00 00 40 40 40 40 01 7F";
    case 2: return "F0 43 00 4C 00 04 08 " + pp + " 70 00 00 40 40";
    case 3: return "F0 43 00 4C 00 0C 08 " + pp + " 74 00 00 0C 36" + Repeat("00", 8);
    default: return "F0 43 00 4C 00 02 0A " + pp + " 20 40 00";
  }
}

Bytes Head(const Byte* block, int len) { return Bytes(block, block + len - 2); }

bool ChecksumRight(const Byte* m, int len) {
  return m[len - 1] == 0xF7 && BulkChecksum(m, static_cast<std::size_t>(len)) == m[len - 2];
}

TEST(DefaultMulti, TemplateHoldsTheDefaultPartNumberedTen) {
  DataModel model;
  BuildDefaultMultiTemplate(model);
  for (int b = 0; b < kMultiBlocks; ++b) {
    SCOPED_TRACE("block " + std::to_string(b));
    const Byte* blk = model.DefMultiSyx.Block(b);
    EXPECT_EQ(HexString(Head(blk, BlkLen(b))), DefaultHead(b, "10", "10"));
    EXPECT_EQ(blk[kPartNumberByte], 0x10);
    EXPECT_TRUE(ChecksumRight(blk, BlkLen(b)));
    EXPECT_EQ(blk[BlkLen(b)], 0x00) << "spare byte written";
  }
  EXPECT_EQ(model.DefMultiSyx.Blk0[kReceiveChannelByte], 0x10);
  // Two worked by hand.
  EXPECT_EQ(model.DefMultiSyx.Blk2[13], 0x74);
  EXPECT_EQ(model.DefMultiSyx.Blk4[11], 0x04);
}

TEST(DefaultMulti, EveryPartsBlocksCarryTheirOwnNumberAndAValidChecksum) {
  for (int part = 0; part <= 16; ++part) {
    for (int b = 0; b < kMultiBlocks; ++b) {
      Byte msg[80] = {};
      WriteDefaultBlock(b, static_cast<Byte>(part), static_cast<Byte>(part), msg);
      EXPECT_EQ(msg[kPartNumberByte], part);
      EXPECT_TRUE(ChecksumRight(msg, BlkLen(b))) << "part " << part << " block " << b;
    }
  }
  Byte untouched[4] = {1, 2, 3, 4};
  WriteDefaultBlock(5, 4, 4, untouched);
  WriteDefaultBlock(-1, 4, 4, untouched);
  EXPECT_EQ(untouched[0], 1);
}

TEST(InitMultiPart, StoresAndSendsTheDefaultPartBlockByBlockThenSetsTheChannel) {
  SessionRig rig;
  std::size_t sentAtChannelRow = 0;
  rig.view.onCall = [&](const std::string& call) {
    if (call.rfind("ChannelRow", 0) == 0) sentAtChannelRow = rig.backend.Sent().size();
  };
  rig.session.InitMultiPart(4);

  const Byte* blk0 = rig.model.PartBlk.Block(0, 4);
  EXPECT_EQ(HexString(Bytes(blk0, blk0 + 16)), "F0 43 00 4C 00 29 08 04 00 00 00 00 00 04 01 01");
  const auto sent = rig.Sent();
  // The five blocks, then the channel row's own message: the row is set as
  // the user sets it, and Busy is clear.
  ASSERT_EQ(sent.size(), 6u);
  EXPECT_EQ(HexString(sent[5]), "F0 43 10 4C 08 04 04 04 F7");
  for (int b = 0; b < kMultiBlocks; ++b) {
    SCOPED_TRACE("block " + std::to_string(b));
    const Byte* stored = rig.model.PartBlk.Block(b, 4);
    ASSERT_EQ(sent[b].size(), static_cast<std::size_t>(BlkLen(b)));
    EXPECT_EQ(sent[b], Bytes(stored, stored + BlkLen(b)));
    EXPECT_EQ(HexString(Head(stored, BlkLen(b))), DefaultHead(b, "04", "04"));
    EXPECT_TRUE(ChecksumRight(sent[b].data(), BlkLen(b)));
  }
  EXPECT_EQ(rig.view.calls, (std::vector<std::string>{"ChannelRow 4 4"}));
  EXPECT_EQ(sentAtChannelRow, 5u);
  // The instrument took the part as sent.
  EXPECT_EQ(rig.instrument.Param(kModelXg, 0x08, 0x04, 0x04), 0x04);

  // While the edit panel is shown, it opens on the part.
  rig.session.EditMult(6);
  rig.view.calls.clear();
  rig.session.InitMultiPart(4);
  EXPECT_EQ(rig.view.calls, (std::vector<std::string>{"ChannelRow 4 4", "ShowMultiEditPanel 4"}));
}

TEST(InitMultiPart, PartsOutsideTheMultisGetTheBlocksOnly) {
  for (int part : {16, 3}) {
    SessionRig rig;
    rig.session.InitMultiPart(part);
    const auto sent = rig.Sent();
    ASSERT_EQ(sent.size(), 5u) << "part " << part;
    for (int b = 0; b < kMultiBlocks; ++b) {
      EXPECT_EQ(sent[b][kPartNumberByte], part);
      EXPECT_TRUE(ChecksumRight(sent[b].data(), BlkLen(b)));
    }
    EXPECT_EQ(sent[0][kReceiveChannelByte], part);
    EXPECT_TRUE(rig.view.calls.empty()) << "part " << part;
  }
  // Nothing at all for a part the store does not have.
  SessionRig rig;
  rig.session.InitMultiPart(17);
  rig.session.InitMultiPart(-1);
  EXPECT_TRUE(rig.Sent().empty());
  EXPECT_TRUE(rig.view.calls.empty());
}

}  // namespace
}  // namespace qv
