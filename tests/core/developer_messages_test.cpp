#include <gtest/gtest.h>

#include "hex.h"
#include "instrument/developer_messages.h"

namespace qv {
namespace {

using test::HexString;

std::string Hex(const std::optional<Bytes>& m) { return m ? HexString(*m) : "nothing"; }

TEST(ParseFlooredNumber, RoundsDownAndRefusesAnythingButADecimalNumber) {
  EXPECT_EQ(ParseFlooredNumber("2.7"), 2);
  EXPECT_EQ(ParseFlooredNumber("-0.5"), -1);
  EXPECT_EQ(ParseFlooredNumber(" +7 "), 7);
  EXPECT_EQ(ParseFlooredNumber(".5"), 0);
  EXPECT_EQ(ParseFlooredNumber("1.5e2"), 150);
  for (const char* text : {"", " ", "7a", "1 2", "0x10", "inf", "nan", "1.2.3", "1e", "-", ".", "99999999999"})
    EXPECT_EQ(ParseFlooredNumber(text), std::nullopt) << '"' << text << '"';
}

TEST(DeveloperBuilders, EveryByteMustLieIn0To255) {
  EXPECT_EQ(Hex(BuildCtrlChange("2.7", "7", "100")), "B2 07 64");
  EXPECT_EQ(Hex(BuildCtrlChange("79", "255", "128")), "FF FF 80");  // data bytes are not limited to 0..127
  for (const char* channel : {"80", "-177", "2147483647"}) EXPECT_EQ(Hex(BuildCtrlChange(channel, "0", "0")), "nothing");
  EXPECT_EQ(Hex(BuildCtrlChange("0", "7", "-0.5")), "nothing");
  EXPECT_EQ(Hex(BuildParmChange("99", "96", "0", "51", "255.9")), "F0 43 10 63 60 00 33 FF F7");
  EXPECT_EQ(Hex(BuildParmChange("76", "0", "0", "0", "256")), "nothing");
  EXPECT_EQ(Hex(BuildRqstParm("8", "4", "7")), "F0 43 30 4C 08 04 07 F7");
  EXPECT_EQ(Hex(BuildRqstParm("8", "300", "0")), "nothing");
}

}  // namespace
}  // namespace qv
