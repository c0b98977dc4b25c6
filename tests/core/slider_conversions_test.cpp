#include <gtest/gtest.h>

#include "instrument/slider_conversions.h"
#include "instrument/tables.h"

namespace qv {
namespace {

TEST(SliderConversions, GainPositionsWriteTheirBytesAndEveryByteLoadsInRange) {
  const int expected[25] = {0, 5, 10, 16, 21, 26, 32, 37, 42, 48, 53, 58, 64,
                            69, 74, 79, 85, 90, 95, 101, 106, 111, 117, 122, 127};
  for (int v = -12; v <= 12; ++v) {
    const Bytes b = ByteFromPosition(SliderKind::Gain, v);
    EXPECT_EQ(b, Bytes{Byte(expected[v + 12])}) << v;
    EXPECT_EQ(PositionFromByte(SliderKind::Gain, b[0]), v) << v;
  }
  for (int b = 0; b <= 127; ++b) {
    const int v = PositionFromByte(SliderKind::Gain, Byte(b));
    EXPECT_TRUE(v >= -12 && v <= 12) << b;
  }
}

TEST(SliderConversions, DetuneNibblesRoundTripAndBytesStayData) {
  for (int v = -128; v <= 127; ++v) {
    const Bytes b = ByteFromPosition(SliderKind::Detune, v);
    ASSERT_EQ(b.size(), 2u);
    EXPECT_EQ(PositionFromByte(SliderKind::Detune, b[0], b[1]), v);
  }
  EXPECT_EQ(ByteFromPosition(SliderKind::Plain, 300), Bytes{0x7F});
  EXPECT_EQ(ByteFromPosition(SliderKind::Offset, -100), Bytes{0x00});
}

TEST(SliderConversions, ReadoutTexts) {
  EXPECT_EQ(ReadoutText(ReadoutFormat::Db, 0), " 0db");
  EXPECT_EQ(ReadoutText(ReadoutFormat::Db, -12), "-12db");
  EXPECT_EQ(ReadoutText(ReadoutFormat::Tenths, 10), "1");
  EXPECT_EQ(ReadoutText(ReadoutFormat::Tenths, -5), "-0.5");
  EXPECT_EQ(ReadoutText(ReadoutFormat::Tenths, -120), "-12");
  EXPECT_EQ(ReadoutText(ReadoutFormat::Tenths, -128, ","), "-12,8");
  EXPECT_EQ(ReadoutText(ReadoutFormat::Frequency, 3), "ERR");
}

TEST(EqFreqText, TableEndsAndOutside) {
  EXPECT_EQ(EqFreqText(4), "  32 Hz");
  EXPECT_EQ(EqFreqText(34), " 1.0KHz");
  EXPECT_EQ(EqFreqText(58), "16.0KHz");
  for (int code : {3, 59, 0, -1, -32768}) EXPECT_EQ(EqFreqText(code), "ERR") << code;
  for (int code = 4; code <= 58; ++code) EXPECT_EQ(EqFreqText(code).size(), 7u) << code;
}

}  // namespace
}  // namespace qv
