// Whatever arrives at the MIDI input while a dump is awaited, nothing but
// the reply that was asked for is stored, and nothing reads or writes out of
// bounds.

#include <gtest/gtest.h>

#include <cstring>
#include <random>

#include "hex.h"
#include "instrument/messages.h"
#include "link_fixture.h"

namespace qv::test {
namespace {

class GarbageInputTest : public LinkTest {};

TEST_F(GarbageInputTest, RandomMessagesAreNeverStored) {
  std::mt19937 random(20261209);
  std::uniform_int_distribution<int> byte(0, 255), length(1, 300);
  const PerformanceRecord before = model.Performance;
  for (int round = 0; round < 200; ++round) {
    Bytes noise(static_cast<std::size_t>(length(random)));
    for (Byte& b : noise) b = static_cast<Byte>(byte(random));
    noise[0] = 0xF0;
    if (round % 2) noise.back() = 0xF7;
    if (round % 3 == 0 && noise.size() > 8) {  // looks like a Com1 dump but is not one
      const Bytes head = {0xF0, 0x43, 0x00, 0x63, 0x00, 0x34, 0x60, 0x00, 0x00};
      std::copy(head.begin(), head.end(), noise.begin());
    }
    fake.onSend = [&](const Bytes& m) {
      if (m.size() > 2 && m[2] == 0x20) fake.Deliver(noise);
    };
    link.RtrvDump(DumpRequest::ForPerformance(PerfBlock::kCom1));
  }
  EXPECT_EQ(0, std::memcmp(&before, &model.Performance, sizeof before));
  EXPECT_TRUE(trace.lines.empty());
  EXPECT_TRUE(prompts.shown.empty());
}

TEST_F(GarbageInputTest, AValidReplyAfterNoiseIsStored) {
  Instrument().foreignBeforeReply = true;
  link.RtrvDump(DumpRequest::ForMultiPart(8, 1));
  const Bytes expected = Instrument().BulkDump(kModelXg, 0x08, 0x08, 0x30);
  EXPECT_EQ(HexString(Bytes(model.PartBlk.Block(1, 8), model.PartBlk.Block(1, 8) + 74)), HexString(expected));
}

}  // namespace
}  // namespace qv::test
