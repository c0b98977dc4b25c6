#include "files/setup_export.h"

#include "instrument/messages.h"
#include "instrument/performance_blocks.h"

namespace qv {

int DensityDelta(int sliderValue) {
  // 27 ticks a step, kept within one byte of seven bits: values 4..7 wrap.
  static constexpr std::array<int, 8> kDelta = {27, 54, 81, 108, 7, 34, 61, 88};
  if (sliderValue < 0 || sliderValue > 7) return 0;
  return kDelta[static_cast<std::size_t>(sliderValue)];
}

Bytes BuildExportMessage(const Byte* stored, int length) {
  Bytes m(stored, stored + length);
  m.front() = 0xF0;
  m.back() = 0xF7;
  StoreBulkChecksum(m.data(), m.size());
  return m;
}

std::vector<Bytes> BuildSetupMessages(const AllMultisRecord& multis, const ChannelRows& channelRows,
                                      const PerformanceRecord& performance) {
  std::vector<Bytes> out;
  out.reserve(kSetupMessages);
  for (int e = 0; e < 12; ++e) {
    const MultiBlocks& blocks = multis.Part[static_cast<std::size_t>(e)].Blocks;
    for (int block = 0; block < kMultiBlocks; ++block) {
      Bytes m = BuildExportMessage(blocks.Block(block), BlkLen(block));
      const int row = channelRows[static_cast<std::size_t>(e)];
      if (block == 0 && row >= 0 && row <= 15) {
        m[kReceiveChannelByte] = static_cast<Byte>(row);
        StoreBulkChecksum(m.data(), m.size());
      }
      out.push_back(std::move(m));
    }
  }
  // The layers first, then Com0 .. Com3.
  for (PerfBlock block : {PerfBlock::kLyr1, PerfBlock::kLyr2, PerfBlock::kLyr3, PerfBlock::kLyr4, PerfBlock::kCom0,
                          PerfBlock::kCom1, PerfBlock::kCom2, PerfBlock::kCom3})
    out.push_back(BuildExportMessage(BlockField(performance, block), BlockRow(block).length));
  return out;
}

Bytes BuildSetupMidiFile(const AllMultisRecord& multis, const ChannelRows& channelRows,
                         const PerformanceRecord& performance, int densitySliderValue) {
  const auto delta = static_cast<Byte>(DensityDelta(densitySliderValue));
  Bytes out = {
      'M', 'T', 'h', 'd', 0x00, 0x00, 0x00, 0x06,  // header, length 6
      0x00, 0x00, 0x00, 0x01, 0x01, 0xE0,          // format 0, one track, 480 ticks a quarter
      'M', 'T', 'r', 'k', 0x00, 0x00, 0x00, 0x00,  // track, length filled in below
      0x00, 0xFF, 0x03, 0x08, 'R', 'E', 'Q', 'P', 'F', 'A', 'L', 'L',  // track name
      0x00, 0xFF, 0x58, 0x04, 0x04, 0x02, 0x18, 0x08,                  // 4/4
      0x00, 0xFF, 0x51, 0x03, 0x07, 0xA1, 0x20,                        // 120 quarters a minute
  };
  out.reserve(kSetupMidiFileBytes);
  for (const Bytes& m : BuildSetupMessages(multis, channelRows, performance)) {
    // Every message is shorter than 128 bytes: each number is one byte.
    out.push_back(delta);
    out.push_back(0xF0);
    out.push_back(static_cast<Byte>(m.size() - 1));
    out.insert(out.end(), m.begin() + 1, m.end());
  }
  const Bytes end = {0x00, 0xFF, 0x2F, 0x00};
  out.insert(out.end(), end.begin(), end.end());
  const std::size_t track = out.size() - 22;
  for (int i = 0; i < 4; ++i) out[18 + static_cast<std::size_t>(i)] = static_cast<Byte>(track >> (8 * (3 - i)));
  return out;
}

Bytes BuildSetupSysExFile(const AllMultisRecord& multis, const ChannelRows& channelRows,
                          const PerformanceRecord& performance) {
  Bytes out;
  out.reserve(kSetupSysExFileBytes);
  for (const Bytes& m : BuildSetupMessages(multis, channelRows, performance)) out.insert(out.end(), m.begin(), m.end());
  return out;
}

}  // namespace qv
