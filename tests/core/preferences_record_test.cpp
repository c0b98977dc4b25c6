#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <string>

#include "temp_folder.h"
#include "files/preferences_record.h"

namespace qv {
namespace {

namespace fs = std::filesystem;

class PrefFile : public ::testing::Test {
 protected:
  void SetUp() override {
    dir_ = test::NewTempFolder("qv_pref_");
  }
  void TearDown() override { fs::remove_all(dir_); }
  std::string File() const { return (dir_ / "quorv.ini").string(); }
  void WriteBytes(std::size_t n, Byte fill) {
    std::ofstream f(File(), std::ios::binary);
    f << std::string(n, static_cast<char>(fill));
  }
  fs::path dir_;
};

PreferencesRecord Sample() {
  PreferencesRecord r;
  r.RtrvAtStart = {1, 0, 1, 0, 0, 0, 0, 0, 0, 0, 0, 1};
  r.MidiInDevIdx = 2;
  r.MidiOutDevIdx = 3;
  r.LoadWsAtStart = 1;
  r.WsPath = "C:\\Setups\\live.qvw";
  r.Density = -2;
  r.PerfChannel = 0x0102;
  return r;
}

TEST(PreferencesRecordCodec, FieldsSitAtTheirOffsetsAndReservedBytesAreZero) {
  const Bytes b = Sample().Encode();
  ASSERT_EQ(b.size(), 170u);
  EXPECT_EQ(b[0], 1);
  EXPECT_EQ(b[2], 1);
  EXPECT_EQ(b[11], 1);
  EXPECT_EQ(b[13], 2);
  EXPECT_EQ(b[14], 3);
  EXPECT_EQ(b[15], 1);
  EXPECT_EQ(std::string(b.begin() + 18, b.begin() + 36), "C:\\Setups\\live.qvw");
  for (std::size_t i = 36; i < 145; ++i) EXPECT_EQ(b[i], ' ') << i;
  EXPECT_EQ(b[164], 0xFE);  // -2, low byte first
  EXPECT_EQ(b[165], 0xFF);
  EXPECT_EQ(b[168], 0x02);
  EXPECT_EQ(b[169], 0x01);
  for (std::size_t i : {12, 16, 17, 166, 167}) EXPECT_EQ(b[i], 0) << i;
  for (std::size_t i = 145; i < 164; ++i) EXPECT_EQ(b[i], 0) << i;
  EXPECT_EQ(PreferencesRecord::Decode(b), Sample());
}

TEST(PreferencesRecordCodec, LongPathIsCutTo127BytesWithoutSplittingACharacter) {
  PreferencesRecord r;
  r.WsPath = std::string(130, 'a');
  EXPECT_EQ(PreferencesRecord::Decode(r.Encode()).WsPath, std::string(127, 'a'));
  r.WsPath = std::string(126, 'a') + "\xC3\xA9" + "b";  // the 2-byte character straddles the cut
  EXPECT_EQ(PreferencesRecord::Decode(r.Encode()).WsPath, std::string(126, 'a'));
}

TEST(PreferencesRecordCodec, ShortInputReadsZerosAndPathPaddingIsDropped) {
  Bytes b(20, 0);
  b[0] = 1;
  b[18] = 'x';
  b[19] = ' ';
  const PreferencesRecord r = PreferencesRecord::Decode(b);
  EXPECT_EQ(r.RtrvAtStart[0], 1);
  EXPECT_EQ(r.WsPath, "x");  // zeros past the end are no part of the path
  EXPECT_EQ(r.Density, 0);
  EXPECT_EQ(r.PerfChannel, 0);
}

TEST_F(PrefFile, MissingOrTooLongFileReadsNothing) {
  EXPECT_EQ(ReadPreferencesFile(File()).status, PreferencesFileRead::Status::kMissing);
  EXPECT_EQ(ReadPreferencesFile(dir_.string()).status, PreferencesFileRead::Status::kMissing);
  WriteBytes(18201, 1);
  const auto tooLong = ReadPreferencesFile(File());
  EXPECT_EQ(tooLong.status, PreferencesFileRead::Status::kTooLong);
  EXPECT_EQ(tooLong.record, PreferencesRecord{});
  WriteBytes(18200, 1);
  const auto read = ReadPreferencesFile(File());
  EXPECT_EQ(read.status, PreferencesFileRead::Status::kRead);
  EXPECT_EQ(read.record.PerfChannel, 0x0101);
}

TEST_F(PrefFile, WriteCutsALongerFileAndReportsFailure) {
  WriteBytes(500, 7);
  ASSERT_TRUE(WritePreferencesFile(File(), Sample()));
  EXPECT_EQ(fs::file_size(File()), 170u);
  EXPECT_EQ(ReadPreferencesFile(File()).record, Sample());
  EXPECT_FALSE(WritePreferencesFile((dir_ / "no_such_folder" / "quorv.ini").string(), Sample()));
}

}  // namespace
}  // namespace qv
