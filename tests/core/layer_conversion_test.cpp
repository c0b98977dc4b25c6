#include <gtest/gtest.h>

#include <map>
#include <utility>

#include "instrument/default_multi.h"
#include "instrument/layer_conversion.h"

namespace qv {
namespace {

// A model ready for a conversion: the default template in DefMultiSyx and a
// layer dump in SxBuf whose data bytes all differ from each other.
class LayerConversion : public ::testing::Test {
 protected:
  void SetUp() override {
    BuildDefaultMultiTemplate(model);
    BuildDefaultMultiTemplate(fresh);
    const Byte head[9] = {0xF0, 0x43, 0x00, 0x63, 0x00, 0x2D, 0x60, 0x01, 0x00};
    std::copy(head, head + 9, model.SxBuf.begin());
    for (int i = 9; i <= 53; ++i) model.SxBuf[i] = static_cast<Byte>((i * 3 + 1) % 128);
    model.SxBuf[54] = 0x11;  // checksum: not read
    model.SxBuf[55] = 0xF7;
    Layer(24) = 1;
    Com1(39) = 20;
    Com1(40) = 70;
    Com1(41) = 50;
  }
  Byte& Layer(int i) { return model.SxBuf[static_cast<std::size_t>(i)]; }
  Byte& Com1(int i) { return model.Performance.Com1[static_cast<std::size_t>(i)]; }
  Byte Out(int block, int index) const { return model.DefMultiSyx.Block(block)[index]; }

  DataModel model;
  DataModel fresh;  // the template as it stands before any conversion
};

TEST_F(LayerConversion, WritesTheFieldMapAndLeavesEveryOtherByte) {
  Layer(16) = 90;
  CnvLyrToMult(model);

  // (block, index) -> value expected; everything not listed keeps the template.
  std::map<std::pair<int, int>, int> written = {
      {{0, 10}, Layer(9)},  {{0, 11}, Layer(10)}, {{0, 12}, Layer(11)}, {{0, 13}, 0x10},
      {{0, 14}, Layer(12)}, {{0, 17}, Layer(13)}, {{0, 18}, Layer(14)}, {{0, 19}, Layer(15)},
      {{0, 20}, 45},        {{0, 21}, Layer(17)}, {{0, 22}, Layer(18)}, {{0, 23}, Layer(19)},
      {{0, 24}, Layer(20)}, {{0, 25}, Layer(21)}, {{0, 26}, 0},         {{0, 27}, Layer(22)},
      {{0, 28}, Layer(23)}, {{0, 29}, 0},         {{0, 30}, 0x40},      {{0, 31}, 0x40},
      {{0, 32}, 0x40},      {{0, 33}, 70 + Layer(26) - 63}, {{0, 34}, 50 + Layer(27) - 63},
      {{0, 35}, Layer(28)}, {{0, 36}, Layer(29)}, {{0, 37}, Layer(30)},
      {{1, 66}, Layer(32)}, {{1, 67}, Layer(33)}, {{1, 68}, Layer(34)}, {{1, 69}, Layer(35)},
      {{1, 70}, Layer(36)}, {{1, 71}, Layer(37)},
      {{2, 11}, Layer(50)}, {{2, 12}, Layer(51)}, {{3, 11}, Layer(52)}, {{3, 12}, Layer(53)},
      {{4, 9}, 20 / 2 + 68}};

  for (int b = 0; b < kMultiBlocks; ++b) {
    // The whole array, the spare byte behind the message included.
    for (int i = 0; i < BlkLen(b) + 1; ++i) {
      SCOPED_TRACE("block " + std::to_string(b) + " index " + std::to_string(i));
      auto it = written.find({b, i});
      if (it != written.end())
        EXPECT_EQ(Out(b, i), it->second);
      else
        EXPECT_EQ(Out(b, i), fresh.DefMultiSyx.Block(b)[i]);
    }
  }
  // Part number and receive channel stay those of the template.
  for (int b = 0; b < kMultiBlocks; ++b) EXPECT_EQ(Out(b, kPartNumberByte), 0x10);
}

TEST_F(LayerConversion, VolumeIsHalfTheLevelRoundedToEvenOnlyWhenSwitched) {
  const std::pair<int, int> cases[] = {{127, 64}, {125, 62}, {126, 63}, {101, 50}, {103, 52}, {1, 0}, {0, 0}};
  for (auto [level, volume] : cases) {
    BuildDefaultMultiTemplate(model);
    Layer(16) = static_cast<Byte>(level);
    Layer(24) = 5;
    CnvLyrToMult(model);
    EXPECT_EQ(Out(0, 20), volume) << "level " << level;
  }
  // Byte 24 at 0: the default volume 100 stays whatever the level says.
  BuildDefaultMultiTemplate(model);
  Layer(16) = 127;
  Layer(24) = 0;
  CnvLyrToMult(model);
  EXPECT_EQ(Out(0, 20), 100);
}

TEST_F(LayerConversion, CutoffAndResonanceAreLimitedSumsAroundSixtyThree) {
  struct Case {
    int common, layer, expected;
  };
  const Case cases[] = {{0, 10, 0}, {127, 127, 127}, {63, 63, 63}, {0, 63, 0}, {1, 63, 1}, {64, 126, 127}};
  for (const Case& c : cases) {
    BuildDefaultMultiTemplate(model);
    Com1(40) = static_cast<Byte>(c.common);
    Layer(26) = static_cast<Byte>(c.layer);
    Com1(41) = static_cast<Byte>(c.common);
    Layer(27) = static_cast<Byte>(c.layer);
    CnvLyrToMult(model);
    EXPECT_EQ(Out(0, 33), c.expected) << "cutoff " << c.common << " + " << c.layer;
    EXPECT_EQ(Out(0, 34), c.expected) << "resonance " << c.common << " + " << c.layer;
  }
}

TEST_F(LayerConversion, HighPassIsHalfTheCommonPlus68CutAt127) {
  const std::pair<int, int> cases[] = {{0, 68}, {127, 127}, {117, 126}, {118, 127}, {1, 68}};
  for (auto [common, expected] : cases) {
    BuildDefaultMultiTemplate(model);
    Com1(39) = static_cast<Byte>(common);
    CnvLyrToMult(model);
    EXPECT_EQ(Out(4, 9), expected) << "common " << common;
    EXPECT_EQ(Out(4, 10), 0x00);
  }
}

}  // namespace
}  // namespace qv
