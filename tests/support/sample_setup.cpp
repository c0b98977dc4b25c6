#include "sample_setup.h"

#include <algorithm>

#include "instrument/messages.h"

namespace qv::test {

namespace {

template <std::size_t N>
void Store(std::array<Byte, N>& field, const Bytes& message) {
  std::copy_n(message.begin(), std::min(message.size(), N), field.begin());
}

}  // namespace

SampleSetup SetupFromEmulator(const Cs2xEmulator& instrument) {
  SampleSetup s;
  for (int e = 0; e < 12; ++e) {
    MultiBlocks& blocks = s.multis.Part[static_cast<std::size_t>(e)].Blocks;
    for (int block = 0; block < kMultiBlocks; ++block) {
      const Address a = MultiBlockAddress(block, kFirstMultiPart + e);
      const Bytes m = instrument.BulkDump(0x4C, a.a1, a.a2, a.a3);
      std::copy_n(m.begin(), std::min<std::size_t>(m.size(), static_cast<std::size_t>(BlkLen(block) + 1)),
                  blocks.Block(block));
    }
    s.channelRows[static_cast<std::size_t>(e)] = blocks.Blk0[kReceiveChannelByte];
  }
  for (int layer = 1; layer <= 4; ++layer)
    Store(s.performance.Layer(layer), instrument.BulkDump(0x63, 0x60, static_cast<Byte>(layer), 0x00));
  Store(s.performance.Com0, instrument.BulkDump(0x63, 0x50, 0x00, 0x00));
  Store(s.performance.Com1, instrument.BulkDump(0x63, 0x60, 0x00, 0x00));
  Store(s.performance.Com2, instrument.BulkDump(0x63, 0x60, 0x00, 0x40));
  Store(s.performance.Com3, instrument.BulkDump(0x63, 0x60, 0x00, 0x60));
  return s;
}

}  // namespace qv::test
