#include "instrument/performance_blocks.h"

#include <algorithm>
#include <stdexcept>
#include <string>

namespace qv {

namespace {
Bytes RqstLyr1() { return RqstLyr(1); }
Bytes RqstLyr2() { return RqstLyr(2); }
Bytes RqstLyr3() { return RqstLyr(3); }
Bytes RqstLyr4() { return RqstLyr(4); }
}  // namespace

constexpr std::array<PerformanceBlock, kPerformanceBlockCount> kPerformanceBlocks = {{
    {PerfBlock::kCom0, "Com0", kModelCs, {0x50, 0x00, 0x00}, 37, offsetof(PerformanceRecord, Com0), RqstCom0},
    {PerfBlock::kCom1, "Com1", kModelCs, {0x60, 0x00, 0x00}, 63, offsetof(PerformanceRecord, Com1), RqstCom1},
    {PerfBlock::kCom2, "Com2", kModelCs, {0x60, 0x00, 0x40}, 34, offsetof(PerformanceRecord, Com2), RqstCom2},
    {PerfBlock::kCom3, "Com3", kModelCs, {0x60, 0x00, 0x60}, 20, offsetof(PerformanceRecord, Com3), RqstCom3},
    {PerfBlock::kLyr1, "Lyr1", kModelCs, {0x60, 0x01, 0x00}, 56, offsetof(PerformanceRecord, Lyr1), RqstLyr1},
    {PerfBlock::kLyr2, "Lyr2", kModelCs, {0x60, 0x02, 0x00}, 56, offsetof(PerformanceRecord, Lyr2), RqstLyr2},
    {PerfBlock::kLyr3, "Lyr3", kModelCs, {0x60, 0x03, 0x00}, 56, offsetof(PerformanceRecord, Lyr3), RqstLyr3},
    {PerfBlock::kLyr4, "Lyr4", kModelCs, {0x60, 0x04, 0x00}, 56, offsetof(PerformanceRecord, Lyr4), RqstLyr4},
}};

constexpr bool RowsInOrder() {
  for (std::size_t i = 0; i < kPerformanceBlocks.size(); ++i)
    if (static_cast<std::size_t>(kPerformanceBlocks[i].id) != i) return false;
  return true;
}
static_assert(RowsInOrder(), "BlockRow indexes the rows by their id");

const PerformanceBlock& BlockRow(PerfBlock id) { return kPerformanceBlocks.at(static_cast<std::size_t>(id)); }

PerfBlock LayerBlock(int layer) {
  if (layer < 1 || layer > 4) throw std::out_of_range("layer " + std::to_string(layer));
  return static_cast<PerfBlock>(static_cast<int>(PerfBlock::kLyr1) + layer - 1);
}

Byte* BlockField(PerformanceRecord& record, PerfBlock id) {
  return reinterpret_cast<Byte*>(&record) + BlockRow(id).field;
}
const Byte* BlockField(const PerformanceRecord& record, PerfBlock id) {
  return reinterpret_cast<const Byte*>(&record) + BlockRow(id).field;
}

bool NeverFilled(const PerformanceRecord& record) {
  return std::all_of(kPerformanceBlocks.begin(), kPerformanceBlocks.end(),
                     [&record](const PerformanceBlock& row) { return NeverFilled(BlockField(record, row.id)); });
}

}  // namespace qv
