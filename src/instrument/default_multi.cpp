#include "instrument/default_multi.h"

#include <algorithm>
#include <cstring>

#include "instrument/messages.h"

namespace qv {

namespace {

// Data bytes of each block, from index 9 up to the checksum. Bytes 7 and 13
// of block 0 are filled in per part.
constexpr Byte kBlk0Data[41] = {
    0x00, 0x00, 0x00, 0x00, 0x00 /*rc*/, 0x01, 0x01, 0x00, 0x40, 0x08, 0x00,  // 9..19
    0x64, 0x40, 0x40, 0x40, 0x00, 0x7F, 0x7F, 0x00, 0x28, 0x00,               // 20..29
    0x40, 0x40, 0x40, 0x40, 0x40, 0x40, 0x40, 0x40, 0x40, 0x40, 0x40,         // 30..40
    0x0A, 0x00, 0x00, 0x42, 0x40, 0x40, 0x00, 0x00, 0x00};                    // 41..49

constexpr Byte kBlk1Data[63] = {
    0x01, 0x01, 0x01, 0x01, 0x01, 0x01, 0x01, 0x01, 0x01, 0x01, 0x01, 0x01, 0x01, 0x01, 0x01, 0x01, 0x01,  // 9..25
    0x40, 0x40, 0x40, 0x40, 0x40, 0x40, 0x40, 0x40, 0x40, 0x40, 0x40, 0x40,  // 26..37 scale tuning
    0x40, 0x40, 0x40, 0x00, 0x00, 0x00,                                      // 38..43
    0x40, 0x40, 0x40, 0x00, 0x00, 0x00,                                      // 44..49
    0x10, 0x40, 0x40, 0x40, 0x00, 0x00, 0x00,                                // 50..56
    0x11, 0x40, 0x40, 0x40, 0x00, 0x00, 0x00,                                // 57..63
    0x00, 0x00, 0x40, 0x40, 0x40, 0x40, 0x01, 0x7F};                         // 64..71

constexpr Byte kBlk2Data[4] = {0x00, 0x00, 0x40, 0x40};
constexpr Byte kBlk3Data[12] = {0x00, 0x00, 0x0C, 0x36, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00};
constexpr Byte kBlk4Data[2] = {0x40, 0x00};

struct DefaultBlock {
  const Byte* data;
  int count;
};
constexpr DefaultBlock kBlocks[5] = {
    {kBlk0Data, 41}, {kBlk1Data, 63}, {kBlk2Data, 4}, {kBlk3Data, 12}, {kBlk4Data, 2}};

}  // namespace

void WriteDefaultBlock(int block, Byte part, Byte channel, Byte* out) {
  if (block < 0 || block >= kMultiBlocks || !out) return;
  const DefaultBlock& def = kBlocks[block];
  const int len = BlkLen(block);
  const Address a = MultiBlockAddress(block, part);
  const Byte head[9] = {0xF0, 0x43, 0x00, kModelXg, static_cast<Byte>(def.count / 128),
                        static_cast<Byte>(def.count % 128), a.a1, part, a.a3};
  std::memcpy(out, head, 9);
  std::memcpy(out + 9, def.data, static_cast<std::size_t>(def.count));
  if (block == 0) out[kReceiveChannelByte] = channel;
  out[len - 1] = 0xF7;
  StoreBulkChecksum(out, static_cast<std::size_t>(len));
}

void BuildDefaultMultiTemplate(DataModel& model) {
  for (int b = 0; b < kMultiBlocks; ++b) WriteDefaultBlock(b, 0x10, 0x10, model.DefMultiSyx.Block(b));
}

}  // namespace qv
