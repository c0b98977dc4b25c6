#include <gtest/gtest.h>

#include "instrument/multi_params.h"
#include "instrument/tables.h"

namespace qv {
namespace {

// The check that gives every parameter exactly one row of each table takes
// the rows in any order, and refuses a table that names a parameter twice or
// misses one.
namespace keyed {
enum class Name { kA, kB, kC };
struct Row {
  Name id;
};
constexpr std::array<Row, 3> kShuffled{{{Name::kC}, {Name::kA}, {Name::kB}}};
constexpr std::array<Row, 3> kTwice{{{Name::kA}, {Name::kB}, {Name::kA}}};
constexpr std::array<Row, 2> kShort{{{Name::kA}, {Name::kB}}};
static_assert(NamesEachOnce(kShuffled, &Row::id, 3));
static_assert(!NamesEachOnce(kTwice, &Row::id, 3));
static_assert(!NamesEachOnce(kShort, &Row::id, 3));
static_assert(!NamedInOrder(kShuffled, &Row::id) && NamedInOrder(kShort, &Row::id));
}  // namespace keyed

TEST(EffectTypeTables, RowsWidthsAndUniquePairs) {
  ASSERT_EQ(RvrbTypes().size(), 13u);
  ASSERT_EQ(ChrsTypes().size(), 15u);
  ASSERT_EQ(VarTypes().size(), 64u);
  const std::pair<const std::vector<EffType>*, std::size_t> tables[] = {
      {&RvrbTypes(), 12}, {&ChrsTypes(), 16}, {&VarTypes(), 24}};
  for (const auto& [table, width] : tables) {
    for (std::size_t a = 0; a < table->size(); ++a) {
      const EffType& row = (*table)[a];
      EXPECT_EQ(row.Name.size(), width) << row.Name;
      EXPECT_TRUE(row.Msb >= 0 && row.Msb <= 127 && row.Lsb >= 0 && row.Lsb <= 127) << row.Name;
      for (std::size_t b = a + 1; b < table->size(); ++b)  // a stored pair shows one row
        EXPECT_FALSE(row.Msb == (*table)[b].Msb && row.Lsb == (*table)[b].Lsb) << a << " " << b;
    }
  }
  EXPECT_EQ(RvrbTypes()[8].Name, "PLATE       ");
  EXPECT_EQ(VarTypes()[39].Name, "2WAY ROTARY SPEAKER     ");
}

TEST(EffectTypeTables, RowsAsListedOddTextsIncluded) {
  struct Check {
    const std::vector<EffType>* table;
    std::size_t row;
    std::int16_t msb, lsb;
    const char* name;  // padded
  };
  const Check checks[] = {
      {&RvrbTypes(), 0, 0x00, 0x00, "NO EFFECT   "},
      {&RvrbTypes(), 2, 0x01, 0x01, "HALL 2      "},
      {&RvrbTypes(), 10, 0x11, 0x00, "TUNNEL      "},
      {&RvrbTypes(), 12, 0x13, 0x00, "BASEMENT    "},
      {&ChrsTypes(), 4, 0x41, 0x08, "CHORUS 4        "},
      {&ChrsTypes(), 12, 0x44, 0x00, "SYMPHONIC       "},
      {&ChrsTypes(), 13, 0x57, 0x00, "ENSEMBLE DETUNE "},  // not in type order
      {&ChrsTypes(), 14, 0x48, 0x00, "PHASER 1        "},
      {&VarTypes(), 10, 0x11, 0x00, "TUNNNEL                 "},
      {&VarTypes(), 13, 0x05, 0x00, "DELAY L,C,R             "},
      {&VarTypes(), 23, 0x14, 0x02, "KARAOKE 3               "},
      {&VarTypes(), 36, 0x57, 0x00, "ENSEMBLE DETUNE         "},
      {&VarTypes(), 38, 0x45, 0x00, "ROTARY SPEAKER          "},
      {&VarTypes(), 43, 0x48, 0x08, "PHASER 2                "},
      {&VarTypes(), 49, 0x4D, 0x00, "2BAND EQ(STEREO)        "},
      {&VarTypes(), 54, 0x52, 0x08, "TOUCH WAH 2             "},  // as XG has the touch wahs
      {&VarTypes(), 55, 0x52, 0x01, "TOUCH WAH+DIST          "},
      {&VarTypes(), 56, 0x52, 0x02, "TOUCH WAH+ODRV          "},
      {&VarTypes(), 63, 0x40, 0x00, "THRU                    "},
  };
  for (const Check& c : checks) {
    const EffType& row = (*c.table)[c.row];
    EXPECT_EQ(row.Name, c.name) << c.row;
    EXPECT_EQ(row.Msb, c.msb) << c.name;
    EXPECT_EQ(row.Lsb, c.lsb) << c.name;
  }
}

TEST(PresetNames, BothBanksFullAndPadded) {
  ASSERT_EQ(PresetNames1().size(), 128u);
  ASSERT_EQ(PresetNames2().size(), 128u);
  for (const auto* bank : {&PresetNames1(), &PresetNames2()})
    for (const auto& name : *bank) EXPECT_EQ(name.size(), 8u) << name;
  EXPECT_EQ(PresetNames1()[0], "Ministry");
  EXPECT_EQ(PresetNames1()[77], "M25     ");
  EXPECT_EQ(PresetNames1()[127], "FunkyHit");
  EXPECT_EQ(PresetNames2()[109], "WishU're");
  EXPECT_EQ(PresetNames2()[127], "Session ");
}

}  // namespace
}  // namespace qv
