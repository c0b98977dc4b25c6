#pragma once
// The fixture of the file steps' tests: a session over the emulated CS2x,
// a folder of the test's own, a workspace in use and the offsets of the file
// layouts worked out from their field lengths.

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>

#include "files/file_steps.h"
#include "instrument/messages.h"
#include "session_rig.h"
#include "temp_folder.h"

namespace qv {

namespace fs = std::filesystem;
using test::SessionRig;

// Offsets from the tables of the file layout: block fields one byte longer
// than their messages, the name after them, 13 elements, then the
// performance, then the pool.
constexpr std::size_t kBlkField[5] = {52 + 1, 74 + 1, 15 + 1, 23 + 1, 13 + 1};
constexpr std::size_t BlkAt(int b) {
  std::size_t at = 0;
  for (int i = 0; i < b; ++i) at += kBlkField[i];
  return at;
}
constexpr std::size_t kNameAt = BlkAt(5);       // 182
constexpr std::size_t kElement = kNameAt + 10;  // 192
constexpr std::size_t kPerfAt = 13 * kElement;  // 2496
constexpr std::size_t kPoolAt = kPerfAt + 4 * 57 + 38 + 64 + 35 + 21 + 35 + 35;  // 2952
constexpr std::size_t kSlotsAt = 129 * kElement;                                 // 24768 in the pool
static_assert(BlkAt(1) == 53 && kNameAt == 182 && kPoolAt == 2952);

inline bool IsXgBulk(const Bytes& m) { return m.size() > 8 && m[2] == 0x00 && m[3] == kModelXg; }
inline bool IsCsBulk(const Bytes& m) { return m.size() > 8 && m[2] == 0x00 && m[3] == kModelCs; }
inline bool IsChannelChange(const Bytes& m) {
  return m.size() == 9 && m[3] == kModelXg && m[4] == 0x08 && m[6] == 0x04;
}

class FileSteps_ : public ::testing::Test {
 protected:
  void SetUp() override {
    dir_ = test::NewTempFolder("qv_steps_");
    rig.session.SetPerfChannel(3);
  }
  void TearDown() override { fs::remove_all(dir_); }

  std::string Path(const std::string& name) const { return (dir_ / name).string(); }
  static Bytes Get(const std::string& path) {
    std::ifstream f(path, std::ios::binary);
    return Bytes(std::istreambuf_iterator<char>(f), {});
  }
  static void Put(const std::string& path, const Bytes& bytes) {
    std::ofstream f(path, std::ios::binary | std::ios::trunc);
    f.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
  }
  Bytes Block(int b, int part) const {
    const Byte* p = rig.model.PartBlk.Block(b, part);
    return Bytes(p, p + BlkLen(b));
  }

  // A workspace in use: parts retrieved and edited, named, on their own
  // channels; the performance retrieved; three pool rows in slots 5, 0, 7.
  void Populate() {
    rig.session.RtrvAllMultis();
    for (int part = kFirstMultiPart; part <= kLastMultiPart; ++part) {
      rig.model.PartBlk.At(20, 1, part) = static_cast<Byte>(part * 3);
      rig.session.SetPartCaption(part, PartCaptionFor("Part" + std::to_string(part), part));
      rig.session.SetChannelRow(part, 15 - part);
      // Stored as they will leave, so that the file's blocks compare whole.
      for (int b = 0; b < 5; ++b)
        StoreBulkChecksum(rig.model.PartBlk.Block(b, part), static_cast<std::size_t>(BlkLen(b)));
    }
    rig.session.RtrvPerformance();
    for (int s : {5, 0, 7}) rig.model.LayerPool.Entry[static_cast<std::size_t>(s)].Blocks = rig.model.DefMultiSyx;
    rig.model.LayerPool.Entry[5].Blocks.Blk1[20] = 55;
    rig.session.SetPoolRows({{"Alpha     ", 5}, {"Bravo     ", 0}, {"Charlie   ", 7}});
    rig.backend.ClearRecords();
  }

  // Everything changed: default parts, names and channels, another
  // performance, an empty pool.
  void ChangeEverything() {
    rig.session.InitMltall();
    for (int part = kFirstMultiPart; part <= kLastMultiPart; ++part) rig.session.SetChannelRow(part, 0);
    rig.session.SelectPerformance(false, false, 9);
    rig.session.ClearPool();
    rig.model.LayerPool = LayerPoolRecord{};
    rig.backend.ClearRecords();
  }

  SessionRig rig;
  FileSteps steps{rig.session};
  fs::path dir_;
};

}  // namespace qv
