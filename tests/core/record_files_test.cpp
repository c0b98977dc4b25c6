// The length test of the own files, on real files.

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <string>

#include "temp_folder.h"
#include "files/record_files.h"

namespace qv {
namespace {

namespace fs = std::filesystem;

class RecordFiles : public ::testing::Test {
 protected:
  void SetUp() override {
    dir_ = test::NewTempFolder("qv_rec_");
  }
  void TearDown() override { fs::remove_all(dir_); }
  // A file of n bytes counting up from 1.
  std::string Make(std::size_t n) {
    const std::string path = (dir_ / ("f" + std::to_string(n))).string();
    std::ofstream f(path, std::ios::binary);
    for (std::size_t i = 0; i < n; ++i) f.put(static_cast<char>(i + 1));
    return path;
  }
  template <typename Record>
  RecordFileStatus StatusOf(std::size_t n) {
    return ReadRecordFile<Record>(Make(n)).status;
  }
  fs::path dir_;
};

TEST_F(RecordFiles, ExactKindsTakeOnlyTheirOwnLength) {
  const auto ok = RecordFileStatus::kRead, wrong = RecordFileStatus::kWrongLength;
  EXPECT_EQ(StatusOf<PartRecord>(191), wrong);
  EXPECT_EQ(StatusOf<PartRecord>(192), ok);
  EXPECT_EQ(StatusOf<PartRecord>(193), wrong);
  EXPECT_EQ(StatusOf<PerformanceRecord>(456), ok);
  EXPECT_EQ(StatusOf<SetupRecord>(2952), ok);
  EXPECT_EQ(StatusOf<SetupRecord>(27850), wrong);  // a workspace chosen as a setup
  EXPECT_EQ(StatusOf<LayerPoolRecord>(24898), ok);
  EXPECT_EQ(StatusOf<WorkspaceRecord>(27849), wrong);
  EXPECT_EQ(StatusOf<WorkspaceRecord>(27851), wrong);
  EXPECT_EQ(StatusOf<WorkspaceRecord>(0), wrong);

  const auto ws = ReadRecordFile<WorkspaceRecord>(Make(27850));
  ASSERT_EQ(ws.status, ok);
  EXPECT_EQ(ws.bytesRead, 27850u);
  EXPECT_EQ(RecordBytes(ws.record)[27849], static_cast<Byte>(27850));
  EXPECT_EQ(ReadRecordFile<WorkspaceRecord>((dir_ / "none").string()).status, RecordFileStatus::kCannotOpen);
  EXPECT_EQ(ReadRecordFile<WorkspaceRecord>(dir_.string()).status, RecordFileStatus::kCannotOpen);
}

TEST_F(RecordFiles, AllMultisTakeOneWholePartUpTo18200Bytes) {
  const auto ok = RecordFileStatus::kRead, wrong = RecordFileStatus::kWrongLength;
  EXPECT_EQ(StatusOf<AllMultisRecord>(0), wrong);
  EXPECT_EQ(StatusOf<AllMultisRecord>(191), wrong);
  EXPECT_EQ(StatusOf<AllMultisRecord>(18200), ok);
  EXPECT_EQ(StatusOf<AllMultisRecord>(18201), wrong);

  // A single multi passes: its bytes fill element 0, the rest stays zero.
  const auto single = ReadRecordFile<AllMultisRecord>(Make(192));
  ASSERT_EQ(single.status, ok);
  EXPECT_EQ(single.bytesRead, 192u);
  const Bytes bytes = RecordBytes(single.record);
  EXPECT_EQ(bytes[191], 192);
  EXPECT_EQ(Bytes(bytes.begin() + 192, bytes.end()), Bytes(2496 - 192, 0));

  const auto roomy = ReadRecordFile<AllMultisRecord>(Make(5000));
  EXPECT_EQ(roomy.bytesRead, 5000u);
  EXPECT_EQ(RecordBytes(roomy.record)[2495], static_cast<Byte>(2496));
}

TEST_F(RecordFiles, WrittenRecordReadsBack) {
  WorkspaceRecord w{};
  w.Pool.PoolCount = 3;
  PutName(w.Multis.Part[0].Name, "Saved");
  const std::string path = (dir_ / "ws").string();
  ASSERT_TRUE(WriteRecordFile(path, w));
  const auto back = ReadRecordFile<WorkspaceRecord>(path);
  ASSERT_EQ(back.status, RecordFileStatus::kRead);
  EXPECT_EQ(RecordBytes(back.record), RecordBytes(w));

  // A single multi saved over the workspace leaves 192 bytes.
  ASSERT_TRUE(WriteRecordFile(path, PartRecord{}));
  EXPECT_EQ(fs::file_size(path), 192u);
  EXPECT_EQ(ReadRecordFile<WorkspaceRecord>(path).status, RecordFileStatus::kWrongLength);
  EXPECT_EQ(ReadRecordFile<PartRecord>(path).status, RecordFileStatus::kRead);
}

}  // namespace
}  // namespace qv
