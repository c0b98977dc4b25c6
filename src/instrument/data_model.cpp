#include "instrument/data_model.h"

#include <algorithm>
#include <cstddef>
#include <iterator>
#include <string>

namespace qv {

int BlkLen(int block) { return kBlkLen.at(static_cast<std::size_t>(block)); }

std::array<Byte, 57>& PerformanceRecord::Layer(int layer) {
  switch (layer) {
    case 1: return Lyr1;
    case 2: return Lyr2;
    case 3: return Lyr3;
    case 4: return Lyr4;
  }
  throw std::out_of_range("layer " + std::to_string(layer));
}
const std::array<Byte, 57>& PerformanceRecord::Layer(int layer) const {
  return const_cast<PerformanceRecord*>(this)->Layer(layer);
}

Byte* MultiBlocks::Block(int block) {
  switch (block) {
    case 0: return Blk0.data();
    case 1: return Blk1.data();
    case 2: return Blk2.data();
    case 3: return Blk3.data();
    case 4: return Blk4.data();
  }
  throw std::out_of_range("block " + std::to_string(block));
}
const Byte* MultiBlocks::Block(int block) const { return const_cast<MultiBlocks*>(this)->Block(block); }

bool NeverFilled(const Byte* block) {
  static constexpr int kHeader[] = {0, 1, 2, 3, 4, 5, 6, 8};
  return std::all_of(std::begin(kHeader), std::end(kHeader), [block](int i) { return block[i] == 0; });
}

bool NeverFilled(const MultiBlocks& blocks) {
  for (int b = 0; b < kMultiBlocks; ++b)
    if (!NeverFilled(blocks.Block(b))) return false;
  return true;
}

bool IsWholeMessage(const Byte* block, int length) {
  return length > 1 && block[0] == 0xF0 && block[length - 1] == 0xF7 &&
         std::all_of(block + 1, block + length - 1, [](Byte b) { return b < 0x80; });
}

void PartBlkStore::Check(int byte, int block, int part) {
  if (byte < 0 || byte >= kBytes || block < 0 || block >= kBlocks || part < 0 || part >= kParts)
    throw std::out_of_range("PartBlk(" + std::to_string(byte) + ", " + std::to_string(block) + ", " +
                            std::to_string(part) + ")");
}
Byte& PartBlkStore::At(int byte, int block, int part) {
  Check(byte, block, part);
  return data_[part][block][byte];
}
Byte PartBlkStore::At(int byte, int block, int part) const {
  Check(byte, block, part);
  return data_[part][block][byte];
}
Byte* PartBlkStore::Block(int block, int part) {
  Check(0, block, part);
  return data_[part][block].data();
}
const Byte* PartBlkStore::Block(int block, int part) const {
  Check(0, block, part);
  return data_[part][block].data();
}
void PartBlkStore::Clear() { data_ = {}; }

}  // namespace qv
