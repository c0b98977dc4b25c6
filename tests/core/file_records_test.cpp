// The file records byte for byte, with every offset worked out here from the
// field lengths of the file layouts, and the name fields.

#include <gtest/gtest.h>

#include <numeric>
#include <utility>
#include <string>
#include <vector>

#include "files/records.h"

namespace qv {
namespace {

// Offset of field `index` in a record whose fields have these lengths.
std::size_t OffsetOf(const std::vector<std::size_t>& lengths, std::size_t index) {
  return std::accumulate(lengths.begin(), lengths.begin() + static_cast<std::ptrdiff_t>(index), std::size_t{0});
}

const std::vector<std::size_t> kPartFields = {53, 75, 16, 24, 14, 10};  // Blk0..Blk4, Name
const std::vector<std::size_t> kPerfFields = {57, 57, 57, 57, 38, 64, 35, 21, 35, 35};
constexpr std::size_t kPart = 192, kAllMultis = 13 * kPart, kPerf = 456;
constexpr std::size_t kSetup = kAllMultis + kPerf, kPoolEntries = 129 * kPart;
constexpr std::size_t kPool = kPoolEntries + 129 + 1, kWorkspace = kSetup + kPool;

TEST(FileRecordLayout, EveryFieldOfAWorkspaceLandsAtItsOffset) {
  WorkspaceRecord w{};
  std::vector<std::pair<std::size_t, Byte>> marks;  // offset, byte expected there
  for (std::size_t e = 0; e < 13; ++e) {
    PartRecord& p = w.Multis.Part[e];
    for (int b = 0; b < 5; ++b) {
      const auto value = static_cast<Byte>(0x10 + e * 5 + static_cast<std::size_t>(b));
      p.Blocks.Block(b)[0] = value;
      p.Blocks.Block(b)[kPartFields[static_cast<std::size_t>(b)] - 1] = static_cast<Byte>(value + 0x80);
      const std::size_t at = kPart * e + OffsetOf(kPartFields, static_cast<std::size_t>(b));
      marks.push_back({at, value});
      marks.push_back({at + kPartFields[static_cast<std::size_t>(b)] - 1, static_cast<Byte>(value + 0x80)});
    }
    p.Name[0] = 'N';
    p.Name[9] = static_cast<char>(e);
    marks.push_back({kPart * e + 182, 'N'});
    marks.push_back({kPart * e + 191, static_cast<Byte>(e)});
  }
  std::array<std::array<Byte, 57>*, 4> layers = {&w.Perf.Lyr1, &w.Perf.Lyr2, &w.Perf.Lyr3, &w.Perf.Lyr4};
  for (std::size_t l = 0; l < 4; ++l) {
    (*layers[l])[31] = static_cast<Byte>(0xA0 + l);  // the layer switch
    marks.push_back({kAllMultis + OffsetOf(kPerfFields, l) + 31, static_cast<Byte>(0xA0 + l)});
  }
  EXPECT_EQ(OffsetOf(kPerfFields, 1) + 31, 88u);  // the table puts Lyr2's switch at byte 88
  w.Perf.Com0[0] = 0xB0;
  w.Perf.Com1[9] = 'P';   // the performance name's first character
  w.Perf.Com2[34] = 0xB2;
  w.Perf.Com3[0] = 0xB3;
  w.Perf.EffOrig[0] = 0xB4;
  w.Perf.EffSave[34] = 0xB5;
  marks.push_back({kAllMultis + OffsetOf(kPerfFields, 4), 0xB0});
  marks.push_back({kAllMultis + 275, 'P'});
  marks.push_back({kAllMultis + OffsetOf(kPerfFields, 6) + 34, 0xB2});
  marks.push_back({kAllMultis + OffsetOf(kPerfFields, 7), 0xB3});
  marks.push_back({kAllMultis + OffsetOf(kPerfFields, 8), 0xB4});
  marks.push_back({kAllMultis + OffsetOf(kPerfFields, 9) + 34, 0xB5});
  w.Pool.Entry[5].Blocks.Blk1[0] = 0xC1;
  w.Pool.Entry[128].Name[9] = 'z';
  w.Pool.PoolSlot[0] = 5;
  w.Pool.PoolSlot[128] = 0x7F;
  w.Pool.PoolCount = 128;
  marks.push_back({kSetup + 5 * kPart + 53, 0xC1});
  marks.push_back({kSetup + 128 * kPart + 191, 'z'});
  marks.push_back({kSetup + kPoolEntries, 5});
  marks.push_back({kSetup + kPoolEntries + 128, 0x7F});
  marks.push_back({kSetup + kPool - 1, 128});

  const Bytes bytes = RecordBytes(w);
  ASSERT_EQ(kWorkspace, 27850u);
  ASSERT_EQ(bytes.size(), kWorkspace);
  Bytes expected(kWorkspace, 0);
  for (const auto& [at, value] : marks) expected[at] = value;
  for (std::size_t i = 0; i < kWorkspace; ++i) ASSERT_EQ(bytes[i], expected[i]) << "at offset " << i;

  // The same fields inside the records a workspace is built of.
  EXPECT_EQ(RecordBytes(w.Pool)[24768], 5);
  EXPECT_EQ(RecordBytes(w.Pool)[24897], 128);
  EXPECT_EQ(RecordBytes(w.Multis.Part[0])[53], 0x11);
  SetupRecord s{w.Multis, w.Perf};
  EXPECT_EQ(RecordBytes(s), Bytes(bytes.begin(), bytes.begin() + kSetup));
}

TEST(FileRecordLayout, ReadingTakesTheFirstBytesIntoAClearedRecord) {
  Bytes bytes(kWorkspace);
  for (std::size_t i = 0; i < bytes.size(); ++i) bytes[i] = static_cast<Byte>(i * 7 + 1);
  EXPECT_EQ(RecordBytes(RecordFromBytes<WorkspaceRecord>(bytes)), bytes);

  // Shorter: the rest stays zero. Longer: read no further.
  const Bytes part(bytes.begin(), bytes.begin() + 200);
  const Bytes multis = RecordBytes(RecordFromBytes<AllMultisRecord>(part));
  EXPECT_EQ(Bytes(multis.begin(), multis.begin() + 200), part);
  EXPECT_EQ(Bytes(multis.begin() + 200, multis.end()), Bytes(kAllMultis - 200, 0));
  EXPECT_EQ(RecordBytes(RecordFromBytes<PartRecord>(bytes)), Bytes(bytes.begin(), bytes.begin() + kPart));
  EXPECT_EQ(RecordBytes(RecordFromBytes<LayerPoolRecord>(Bytes{})), Bytes(kPool, 0));
}

TEST(FileRecordNames, PaddedCutAndEveryByteKept) {
  NameField field{};
  PutName(field, "Pad");
  EXPECT_EQ(GetName(field), "Pad       ");
  PutName(field, "ABCDEFGHIJKLMN");
  EXPECT_EQ(GetName(field), "ABCDEFGHIJ");
  PutName(field, "");
  EXPECT_EQ(GetName(field), std::string(10, ' '));

  const std::string odd = std::string("A&B\0\xE9\xFF\x80", 7);
  PutName(field, odd);
  EXPECT_EQ(GetName(field), odd + "   ");

  // Every byte value comes back as the same byte.
  for (int b = 0; b < 256; ++b) {
    PutName(field, std::string(10, static_cast<char>(b)));
    ASSERT_EQ(GetName(field), std::string(10, static_cast<char>(b)));
  }
}

TEST(FileRecordNames, Utf8BecomesLatin1WithQuestionMarks) {
  EXPECT_EQ(Utf8ToLatin1("/home/a b/ws.qvw"), "/home/a b/ws.qvw");
  EXPECT_EQ(Utf8ToLatin1("caf\xC3\xA9 \xC3\xBF"), "caf\xE9 \xFF");  // é, ÿ
  EXPECT_EQ(Utf8ToLatin1("\xC4\x80"), "?");                          // U+0100
  EXPECT_EQ(Utf8ToLatin1("5\xE2\x82\xAC"), "5?");                   // €
  EXPECT_EQ(Utf8ToLatin1("\xE6\x97\xA5\xE6\x9C\xAC"), "??");        // two CJK characters
  EXPECT_EQ(Utf8ToLatin1("\xF0\x9F\x8E\xB9x"), "?x");               // one character outside the BMP
  // Not UTF-8: each broken piece is one "?", and what follows is kept.
  EXPECT_EQ(Utf8ToLatin1("a\xFF" "b"), "a?b");
  EXPECT_EQ(Utf8ToLatin1("a\x80" "b"), "a?b");
  EXPECT_EQ(Utf8ToLatin1("a\xC3"), "a?");
  EXPECT_EQ(Utf8ToLatin1("\xE2\x82" "b"), "?b");
  EXPECT_EQ(Utf8ToLatin1("\xC1\xBF"), "?");  // overlong form
  EXPECT_EQ(Utf8ToLatin1(std::string("\0", 1)), std::string("\0", 1));
}

}  // namespace
}  // namespace qv
