#include <gtest/gtest.h>

#include <cstdio>
#include <string>
#include <vector>

#include "hex.h"
#include "instrument/messages.h"

namespace qv {
namespace {

using test::HexString;

// Count, address and data of a bulk dump summing to `sum`, as a whole
// message with room for the checksum.
Bytes DumpWithSum(unsigned sum, std::size_t dataBytes) {
  Bytes m = {0xF0, 0x43, 0x00, 0x63, 0x00, static_cast<Byte>(dataBytes), 0x00, 0x00, 0x00};
  unsigned rest = sum - static_cast<unsigned>(dataBytes);
  for (std::size_t i = 0; i < dataBytes; ++i) {
    const Byte d = static_cast<Byte>(rest > 0x7F ? 0x7F : rest);
    m.push_back(d);
    rest -= d;
  }
  EXPECT_EQ(rest, 0u) << "sum too large for the data bytes";
  m.push_back(0x55);
  m.push_back(0xF7);
  return m;
}

TEST(BulkChecksum, MultiplesOf128GiveZeroNever80) {
  for (unsigned sum : {128u, 256u, 384u}) {
    const Bytes m = DumpWithSum(sum, 4);
    EXPECT_EQ(BulkChecksum(m.data(), m.size()), 0) << "sum " << sum;
  }
  EXPECT_EQ(BulkChecksum(DumpWithSum(255, 4).data(), 15), 1);
  EXPECT_EQ(BulkChecksum(DumpWithSum(129, 4).data(), 15), 127);
  EXPECT_EQ(BulkChecksum(DumpWithSum(64, 4).data(), 15), 64);
}

TEST(BulkChecksum, CoversCountAddressAndDataOnly) {
  // Header, checksum slot and F7 do not count; the checksum makes the
  // counted bytes add up to a multiple of 128.
  Bytes m = DumpWithSum(200, 4);
  m[0] = 0x00;
  m[3] = 0x7F;
  const Byte cs = BulkChecksum(m.data(), m.size());
  unsigned sum = cs;
  for (std::size_t i = 4; i + 2 < m.size(); ++i) sum += m[i];
  EXPECT_EQ(sum % 128, 0u);

  StoreBulkChecksum(m.data(), m.size());
  EXPECT_EQ(m[m.size() - 2], cs);
  EXPECT_EQ(m.back(), 0xF7);

  Bytes tiny = {0xF0, 0x43, 0x00, 0x63, 0xF7};
  StoreBulkChecksum(tiny.data(), tiny.size());  // too short to hold one: untouched
  EXPECT_EQ(HexString(tiny), "F0 43 00 63 F7");
}

struct Case {
  std::string name;
  Bytes built;
  std::string expected;
};

TEST(Catalogue, EveryBuilderMatchesTheMessageTable) {
  const std::vector<Case> cases = {
      {"CsParmChange", CsParmChange(0x50, 0x00, 0x0A, 0x03), "F0 43 10 63 50 00 0A 03 F7"},
      {"CsParmChange two bytes", CsParmChange(0x60, 0x00, 0x44, 0x41, 0x02), "F0 43 10 63 60 00 44 41 02 F7"},
      {"XgParmChange", XgParmChange(0x08, 0x0F, 0x0B, 0x64), "F0 43 10 4C 08 0F 0B 64 F7"},
      {"XgParmChange two bytes", XgParmChange(0x08, 0x04, 0x01, 0x00, 0x7F), "F0 43 10 4C 08 04 01 00 7F F7"},
      {"DevParmChange", DevParmChange(0x2A, 0x01, 0x02, 0x03, 0x04), "F0 43 10 2A 01 02 03 04 F7"},
      {"CsDumpRequest", CsDumpRequest(0x60, 0x02, 0x00), "F0 43 20 63 60 02 00 F7"},
      {"XgDumpRequest", XgDumpRequest(0x0A, 0x05, 0x20), "F0 43 20 4C 0A 05 20 F7"},
      {"XgParmRequest", XgParmRequest(0x08, 0x04, 0x0B), "F0 43 30 4C 08 04 0B F7"},
      {"AllNotesOff", AllNotesOff(0), "B0 7B 00"},
      {"AllNotesOff ch16", AllNotesOff(15), "BF 7B 00"},
      {"NoteOn", NoteOn(9, 60, 100), "99 3C 64"},
      {"NoteOff", NoteOff(9, 60, 100), "89 3C 64"},
      {"PerfSelect", PerfSelect(0x40, 0x7F), "B0 00 3F B0 20 40 C0 7F"},
      {"CtrlChange", CtrlChange(3, 0x07, 0x50), "B3 07 50"},
      {"RqstCom0", RqstCom0(), "F0 43 20 63 50 00 00 F7"},
      {"RqstCom1", RqstCom1(), "F0 43 20 63 60 00 00 F7"},
      {"RqstCom2", RqstCom2(), "F0 43 20 63 60 00 40 F7"},
      {"RqstCom3", RqstCom3(), "F0 43 20 63 60 00 60 F7"},
      {"RqstLyr1", RqstLyr(1), "F0 43 20 63 60 01 00 F7"},
      {"RqstLyr2", RqstLyr(2), "F0 43 20 63 60 02 00 F7"},
      {"RqstLyr3", RqstLyr(3), "F0 43 20 63 60 03 00 F7"},
      {"RqstLyr4", RqstLyr(4), "F0 43 20 63 60 04 00 F7"},
      {"RqstMulti 5 0", RqstMulti(5, 0), "F0 43 20 4C 08 04 00 F7"},
      {"RqstMulti 5 1", RqstMulti(5, 1), "F0 43 20 4C 08 04 30 F7"},
      {"RqstMulti 9 2", RqstMulti(9, 2), "F0 43 20 4C 08 08 70 F7"},
      {"RqstMulti 12 3", RqstMulti(12, 3), "F0 43 20 4C 08 0B 74 F7"},
      {"RqstMulti 16 4", RqstMulti(16, 4), "F0 43 20 4C 0A 0F 20 F7"},
  };
  for (const Case& c : cases) EXPECT_EQ(HexString(c.built), c.expected) << c.name;
}

TEST(Catalogue, MultiRequestsCoverEveryPartAndBlock) {
  const char* tails[5] = {"08 %02X 00", "08 %02X 30", "08 %02X 70", "08 %02X 74", "0A %02X 20"};
  for (int m = 5; m <= 16; ++m) {
    for (int b = 0; b < 5; ++b) {
      char address[16];
      std::snprintf(address, sizeof address, tails[b], m - 1);
      EXPECT_EQ(HexString(RqstMulti(m, b)), std::string("F0 43 20 4C ") + address + " F7") << m << "/" << b;
      const Address a = MultiBlockAddress(b, m - 1);
      EXPECT_EQ(a.a2, m - 1);
    }
  }
}

}  // namespace
}  // namespace qv
