#include <gtest/gtest.h>

#include "instrument/messages.h"

namespace qv {
namespace {

TEST(BulkChecksum, MultipleOf128GivesZeroNever80) {
  // count 00 03, address 00 00 00, data 7F 01 7F: sum 256 (+3 count).
  Bytes m = {0xF0, 0x43, 0x00, 0x63, 0x00, 0x03, 0x00, 0x00, 0x00, 0x7F, 0x01, 0x7D, 0x00, 0xF7};
  EXPECT_EQ(BulkChecksum(m.data(), m.size()), 0);
  m[11] = 0x7C;  // sum 255 -> 1
  EXPECT_EQ(BulkChecksum(m.data(), m.size()), 1);
  Bytes m128 = {0xF0, 0x43, 0x00, 0x63, 0x00, 0x01, 0x00, 0x00, 0x00, 0x7F, 0x00, 0xF7};
  EXPECT_EQ(BulkChecksum(m128.data(), m128.size()), 0);
}

TEST(Catalogue, RequestsAndTwoByteParameterChange) {
  EXPECT_EQ(HexString(RqstMulti(5, 0)), "F0 43 20 4C 08 04 00 F7");
  EXPECT_EQ(HexString(RqstMulti(16, 4)), "F0 43 20 4C 0A 0F 20 F7");
  EXPECT_EQ(HexString(CsParmChange(0x60, 0x00, 0x40, 0x01, 0x02)), "F0 43 10 63 60 00 40 01 02 F7");
  EXPECT_EQ(HexString(PerfSelect(0x43, 5)), "B0 00 3F B0 20 43 C0 05");
}

}  // namespace
}  // namespace qv
