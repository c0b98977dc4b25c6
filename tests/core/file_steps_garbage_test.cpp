// Every loader fed files of any content and of lengths around each limit,
// through the real apply steps against the fake MIDI service: nothing may
// crash or reach outside its memory, and the pool keeps one row per used slot.

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <functional>
#include <numeric>
#include <random>
#include <set>

#include "temp_folder.h"
#include "files/file_steps.h"
#include "instrument/messages.h"
#include "instrument/performance_blocks.h"
#include "session_rig.h"

namespace qv {
namespace {

namespace fs = std::filesystem;

struct Loader {
  const char* name;
  std::size_t length;  // the record's length
  std::function<LoadResult(FileSteps&, const std::string&)> load;
};

const std::vector<Loader>& Loaders() {
  static const std::vector<Loader> loaders = {
      {"single multi", 192, [](FileSteps& s, const std::string& p) { return s.LoadMultFile(9, p); }},
      {"all multis", 2496, [](FileSteps& s, const std::string& p) { return s.LoadMultAllFile(p); }},
      {"performance", 456, [](FileSteps& s, const std::string& p) { return s.LoadPerformanceFile(p); }},
      {"setup", 2952, [](FileSteps& s, const std::string& p) { return s.LoadSetupFile(p); }},
      {"layer pool", 24898, [](FileSteps& s, const std::string& p) { return s.LoadLayerPoolFile(p); }},
      {"workspace", 27850, [](FileSteps& s, const std::string& p) { return s.LoadWorkspaceFile(p); }},
  };
  return loaders;
}

bool Accepted(const Loader& loader, std::size_t n) {
  return loader.length == 2496 ? n >= 192 && n <= 18200 : n == loader.length;
}

class GarbageFiles : public ::testing::Test {
 protected:
  void SetUp() override {
    dir_ = test::NewTempFolder("qv_garbage_");
    path_ = (dir_ / "f").string();
    rig_.session.ClearPool();  // every slot free, as after start-up
  }
  void TearDown() override { fs::remove_all(dir_); }

  void Put(const Bytes& bytes) {
    std::ofstream f(path_, std::ios::binary | std::ios::trunc);
    f.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
  }

  // Random bytes; with `wholeLooking`, whole-looking messages (F0, random
  // data bytes below 80 hex with the model and address of their place, F7)
  // where the blocks of a record of `kind` bytes lie, so that the file
  // passes as that kind and they are sent; often a pool that passes its check.
  Bytes Garbage(std::size_t n, bool wholeLooking, std::size_t kind) {
    Bytes out(n);
    for (Byte& b : out) b = static_cast<Byte>(rng_() & 0xFF);
    if (wholeLooking) {
      const auto message = [&](std::size_t at, int length, Byte model, Address a) {
        if (at + static_cast<std::size_t>(length) > n) return;
        Byte* m = &out[at];
        for (int i = 1; i < length - 1; ++i) m[i] &= 0x7F;
        m[0] = 0xF0, m[3] = model, m[6] = a.a1, m[7] = a.a2, m[8] = a.a3;
        m[length - 1] = 0xF7;
      };
      static const std::size_t kStarts[] = {0, 53, 128, 144, 168};
      const auto part = [&](std::size_t e) {
        for (int b = 0; b < 5; ++b) message(e + kStarts[b], BlkLen(b), kModelXg, MultiBlockAddress(b, 4));
      };
      if (kind != 456 && kind != 24898)
        for (std::size_t e = 0; e + 192 <= std::min<std::size_t>(n, 2496); e += 192) part(e);
      const std::size_t poolAt = kind == 27850 ? 2952 : kind == 24898 ? 0 : SIZE_MAX;
      for (std::size_t e = 0; poolAt != SIZE_MAX && e < 129; ++e) part(poolAt + 192 * e);
      const std::size_t perfAt = kind == 456 ? 0 : kind == 2952 || kind == 27850 ? 2496 : SIZE_MAX;
      for (const PerformanceBlock& row : kPerformanceBlocks)
        if (perfAt != SIZE_MAX) message(perfAt + row.field, row.length, row.model, row.address);
    }
    const std::size_t poolAt = n == 27850 ? 2952 : n == 24898 ? 0 : SIZE_MAX;
    if (poolAt != SIZE_MAX && rng_() % 2) {
      std::vector<Byte> slots(128);
      std::iota(slots.begin(), slots.end(), Byte{0});
      std::shuffle(slots.begin(), slots.end(), rng_);
      const std::size_t count = rng_() % 129;
      std::copy_n(slots.begin(), count, out.begin() + long(poolAt + 24768));
      out[poolAt + 24897] = static_cast<Byte>(count);
    }
    return out;
  }

  void CheckPool() {
    const auto& rows = rig_.state.PoolRows;
    std::set<int> slots;
    for (const PoolRow& row : rows) {
      ASSERT_TRUE(row.slot >= 0 && row.slot < kPoolSlots);
      ASSERT_TRUE(slots.insert(row.slot).second) << "slot " << row.slot << " in two rows";
      ASSERT_EQ(row.name.size(), 10u);
    }
    for (int s = 0; s < kPoolSlots; ++s)
      ASSERT_EQ(rig_.model.PoolSlotFree[std::size_t(s)] == kSlotUsed, slots.count(s) == 1) << "slot " << s;
  }

  void Drain() {
    rig_.instrument.ClearReceived();
    rig_.backend.ClearRecords();
  }

  test::SessionRig rig_;
  FileSteps steps_{rig_.session};
  std::mt19937 rng_{20261209};
  fs::path dir_;
  std::string path_;
};

TEST_F(GarbageFiles, RandomRecordsOfEveryKindLoadSafely) {
  for (const Loader& loader : Loaders()) {
    for (int i = 0; i < 2000; ++i) {
      // With a block in it that is not one of its place, a file is refused whole.
      const bool wholeLooking = rng_() % 2;
      Put(Garbage(loader.length, wholeLooking, loader.length));
      const LoadResult r = loader.load(steps_, path_);
      if (wholeLooking)
        ASSERT_TRUE(r == LoadResult::kLoaded || r == LoadResult::kDamagedPool) << loader.name;
      else
        ASSERT_EQ(r, LoadResult::kWrongType) << loader.name;
      CheckPool();
      if (HasFatalFailure()) return;
      if (i % 200 == 0) Drain();
    }
    Drain();
  }
}

TEST_F(GarbageFiles, OnlyTheAcceptedLengthsAreLoaded) {
  std::vector<std::size_t> lengths = {0, 1, 28000};
  for (const Loader& loader : Loaders())
    for (std::size_t n : {loader.length - 1, loader.length, loader.length + 1}) lengths.push_back(n);
  for (std::size_t n : {191, 18199, 18200, 18201}) lengths.push_back(n);
  for (const Loader& loader : Loaders()) {
    for (std::size_t n : lengths) {
      Put(Garbage(n, true, loader.length));
      const LoadResult r = loader.load(steps_, path_);
      if (Accepted(loader, n))
        EXPECT_TRUE(r == LoadResult::kLoaded || r == LoadResult::kDamagedPool) << loader.name << " " << n;
      else
        EXPECT_EQ(r, LoadResult::kWrongType) << loader.name << " " << n;
      CheckPool();
    }
    Drain();
  }
}

}  // namespace
}  // namespace qv
