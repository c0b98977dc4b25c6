#include <algorithm>

#include "hex.h"
#include "instrument/default_multi.h"
#include "instrument/messages.h"
#include "instrument/performance_blocks.h"
#include "link_fixture.h"

namespace qv::test {
namespace {

// Count, address, data and checksum of a sent bulk dump add up to a
// multiple of 128.
bool ChecksumHolds(const Bytes& m) {
  unsigned sum = 0;
  for (std::size_t i = 4; i + 1 < m.size(); ++i) sum += m[i];
  return sum % 128 == 0;
}

int Count(const std::vector<std::string>& calls, const std::string& op) {
  return static_cast<int>(std::count(calls.begin(), calls.end(), op));
}

class SendLongMsgTest : public LinkTest {};

TEST_F(SendLongMsgTest, ModeZeroSendsTheByteStringUpTo128Bytes) {
  const Bytes request = RqstCom1();
  link.SendSysEx(request);
  const Bytes longest(128, 0x11);
  link.SendSysEx(longest);
  ASSERT_EQ(fake.Sent().size(), 2u);
  EXPECT_EQ(fake.Sent()[0], request);
  EXPECT_EQ(fake.Sent()[1], longest);

  fake.ClearRecords();
  link.SendSysEx(Bytes(129, 0x11));
  EXPECT_TRUE(fake.Sent().empty());
  EXPECT_TRUE(fake.Calls().empty());
  EXPECT_TRUE(prompts.Messages().empty());
}

TEST_F(SendLongMsgTest, StoredPartBlockGoesOutWithItsChecksumRecomputedInPlace) {
  Byte* stored = model.PartBlk.Block(0, 4);
  WriteDefaultBlock(0, 4, 0, stored);
  stored[13] = 9;     // an edit in place: the stored checksum is now stale
  stored[50] = 0x7E;
  stored[52] = 0xAA;  // behind the message: never sent
  link.SendPartBlock(4, 0);

  ASSERT_EQ(fake.Sent().size(), 1u);
  const Bytes sent = fake.Sent()[0];
  ASSERT_EQ(sent.size(), 52u);
  EXPECT_EQ(sent.front(), 0xF0);
  EXPECT_EQ(sent.back(), 0xF7);
  EXPECT_EQ(sent[13], 9);
  EXPECT_TRUE(ChecksumHolds(sent)) << HexString(sent);
  EXPECT_EQ(stored[50], sent[50]);  // the stored block holds what was sent
  EXPECT_EQ(stored[52], 0xAA);
}

TEST_F(SendLongMsgTest, EveryMultiBlockKindSendsItsLength) {
  for (int b = 0; b < 5; ++b) WriteDefaultBlock(b, 15, 15, model.PartBlk.Block(b, 15));
  for (int b = 0; b < 5; ++b) link.SendPartBlock(15, b);
  const auto sent = fake.Sent();
  ASSERT_EQ(sent.size(), 5u);
  for (int b = 0; b < 5; ++b) {
    EXPECT_EQ(static_cast<int>(sent[b].size()), BlkLen(b));
    EXPECT_EQ(sent[b].back(), 0xF7);
    EXPECT_TRUE(ChecksumHolds(sent[b]));
  }
}

TEST_F(SendLongMsgTest, BlockAlreadySummingTo128GoesOutWithChecksumZero) {
  // MltBlk2: count 00 04, address 08 04 70, four data bytes.
  Byte* stored = model.PartBlk.Block(2, 4);
  const Bytes block = {0xF0, 0x43, 0x00, 0x4C, 0x00, 0x04, 0x08, 0x04, 0x70, 0x00, 0x00, 0x00, 0x00, 0x55, 0xF7};
  std::copy(block.begin(), block.end(), stored);  // 4 + 8 + 4 + 112 = 128
  link.SendPartBlock(4, 2);
  ASSERT_EQ(fake.Sent().size(), 1u);
  EXPECT_EQ(fake.Sent()[0][13], 0x00);
  EXPECT_EQ(stored[13], 0x00);
}

TEST_F(SendLongMsgTest, PerformanceBlockSendsItsLengthWithItsChecksumAndLeavesTheRecord) {
  // A Com2 block (34 bytes) with a stale checksum, followed by a stale byte.
  PerformanceRecord record{};
  record.Com2.fill(0x33);
  const Bytes head = {0xF0, 0x43, 0x00, 0x63, 0x00, 0x17, 0x60, 0x00, 0x40};
  std::copy(head.begin(), head.end(), record.Com2.begin());
  for (int i = 9; i < 32; ++i) record.Com2[i] = static_cast<Byte>(i);
  record.Com2[33] = 0xF7;
  link.SendPerformanceBlock(record, PerfBlock::kCom2);

  ASSERT_EQ(fake.Sent().size(), 1u);
  const Bytes sent = fake.Sent()[0];
  ASSERT_EQ(sent.size(), 34u);
  EXPECT_TRUE(ChecksumHolds(sent));
  EXPECT_NE(sent[32], 0x33);
  EXPECT_EQ(record.Com2[32], 0x33);  // staged: the record keeps its bytes
  EXPECT_EQ(record.Com2[34], 0x33);
}

TEST_F(SendLongMsgTest, SourcesOutsideTheStoreSendNothing) {
  link.SendPartBlock(17, 0);  // beyond the stored parts
  link.SendPartBlock(-1, 0);
  link.SendPartBlock(4, 5);  // block 5 is not a message
  EXPECT_TRUE(fake.Sent().empty());
  EXPECT_TRUE(prompts.Messages().empty());
}

TEST_F(SendLongMsgTest, FailedPrepareSendsAndReleasesNothing) {
  fake.Fail("OutPrepareHeader", kMidiNoMemory, 1);
  link.SendSysEx(RqstCom0());
  EXPECT_EQ(prompts.Messages(), std::vector<std::string>{Box("Out Prepare ", kMidiNoMemory)});
  EXPECT_TRUE(fake.Sent().empty());
  EXPECT_EQ(fake.Calls(), std::vector<std::string>{"OutPrepareHeader"});
}

TEST_F(SendLongMsgTest, FailedSendStillReleasesTheHeader) {
  fake.Fail("OutLongMsg", kMidiNotReady, 1);
  link.SendSysEx(RqstCom0());
  EXPECT_EQ(prompts.Messages(), std::vector<std::string>{Box("MidiOutLongMsg ", kMidiNotReady)});
  EXPECT_EQ(fake.Calls(), (std::vector<std::string>{"OutPrepareHeader", "OutLongMsg", "OutUnprepareHeader"}));
}

TEST_F(SendLongMsgTest, ReleaseHeldByTheDriverIsRetriedForAboutTwoSecondsThenOneBox) {
  fake.Fail("OutUnprepareHeader", kMidiStillPlaying);
  link.SendSysEx(RqstCom0());
  EXPECT_EQ(fake.Sent().size(), 1u);
  EXPECT_EQ(clock.sleeps, 400);
  EXPECT_EQ(clock.virtualMs, 2000);
  EXPECT_EQ(Count(fake.Calls(), "OutUnprepareHeader"), 402);  // first try, one at once, 400 after sleeps
  EXPECT_EQ(prompts.Messages(), std::vector<std::string>{Box("midiOutUnprepareHeader ", kMidiStillPlaying)});
}

TEST_F(SendLongMsgTest, ReleaseThatSucceedsOnRetryShowsNoBox) {
  fake.Fail("OutUnprepareHeader", kMidiStillPlaying, 3);
  link.SendSysEx(RqstCom0());
  EXPECT_EQ(Count(fake.Calls(), "OutUnprepareHeader"), 4);
  EXPECT_EQ(clock.sleeps, 2);
  EXPECT_TRUE(prompts.Messages().empty());
}

TEST_F(SendLongMsgTest, InvalidParameterOnReleaseEndsWithoutRetryOrBox) {
  fake.Fail("OutUnprepareHeader", kMidiInvalidParam);
  link.SendSysEx(RqstCom0());
  EXPECT_EQ(Count(fake.Calls(), "OutUnprepareHeader"), 1);
  EXPECT_EQ(clock.sleeps, 0);
  EXPECT_TRUE(prompts.Messages().empty());
}

TEST_F(SendLongMsgTest, OutputNotOpenShowsThePrepareBoxAndSendsNothing) {
  ASSERT_EQ(link.CloseOutput(), kMidiOk);
  fake.ClearRecords();
  link.SendSysEx(RqstCom0());
  EXPECT_TRUE(fake.Sent().empty());
  EXPECT_EQ(Count(fake.Calls(), "OutLongMsg"), 0);
  ASSERT_EQ(prompts.Messages().size(), 1u);
  EXPECT_EQ(prompts.Messages()[0].rfind("Operation: Out Prepare \r\n", 0), 0u) << prompts.Messages()[0];
}

}  // namespace
}  // namespace qv::test
