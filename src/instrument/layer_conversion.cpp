#include "instrument/layer_conversion.h"

#include <algorithm>

namespace qv {

namespace {

// Layer data bytes that go into the multi part unchanged: the block, the
// index in that block and the index in the layer's message.
struct PlainCopy {
  int block;
  int index;
  int layer;
};

constexpr PlainCopy kPlainCopies[] = {
    {0, 10, 9},   // bank select MSB
    {0, 11, 10},  // bank select LSB
    {0, 12, 11},  // program number
    {0, 14, 12},  // mono/poly mode
    {0, 17, 13},  // note shift
    {0, 18, 14},  // detune, first byte
    {0, 19, 15},  // detune, second byte
    {0, 21, 17},  // velocity sense depth
    {0, 22, 18},  // velocity sense offset
    {0, 23, 19},  // pan
    {0, 24, 20},  // note limit low
    {0, 25, 21},  // note limit high
    {0, 27, 22},  // chorus send
    {0, 28, 23},  // reverb send
    {0, 35, 28},  // EG attack time
    {0, 36, 29},  // EG decay time
    {0, 37, 30},  // EG release time
    {1, 66, 32},  // pitch EG initial level
    {1, 67, 33},  // pitch EG attack time
    {1, 68, 34},  // pitch EG release level
    {1, 69, 35},  // pitch EG release time
    {1, 70, 36},  // velocity limit low
    {1, 71, 37},  // velocity limit high
    {2, 11, 50},  // EQ bass gain
    {2, 12, 51},  // EQ treble gain
    {3, 11, 52},  // EQ bass frequency
    {3, 12, 53},  // EQ treble frequency
};

// Every copy lands on a data byte of its block and reads a data byte of the
// layer (indices 9..53 of its 56-byte message).
constexpr bool CopiesStayInData() {
  for (const PlainCopy& c : kPlainCopies)
    if (c.block < 0 || c.block >= kMultiBlocks || c.index < 9 || c.index >= kBlkLen[c.block] - 2 || c.layer < 9 ||
        c.layer > 53)
      return false;
  return true;
}
static_assert(CopiesStayInData());

// Layer message indices read by the conversion.
constexpr int kLayerLevel = 16;
constexpr int kLayerLevelSwitch = 24;  // the level is taken only when this is not 0
constexpr int kLayerCutoff = 26;
constexpr int kLayerResonance = 27;
// Performance common values in Com1.
constexpr int kCommonHighPass = 39;
constexpr int kCommonCutoff = 40;
constexpr int kCommonResonance = 41;

// Multi-part indices written with values of their own.
constexpr int kVolume = 20, kDryLevel = 26, kVariationSend = 29, kLfoFirst = 30, kLfoLast = 32;
constexpr int kCutoff = 33, kResonance = 34;
constexpr int kHighPass = 9;  // in block 4
constexpr Byte kConvertedChannel = 0x10;
constexpr Byte kLfoCentre = 0x40;

// The plain sum of a common and a layer offset around 63, kept to 0..127.
Byte OffsetSum(Byte common, Byte layer) {
  return static_cast<Byte>(std::clamp(int{common} + int{layer} - 63, 0, 127));
}

}  // namespace

Byte LayerVolume(Byte level) {
  int volume = level / 2;
  if (level % 2 == 1 && volume % 2 == 1) ++volume;
  return static_cast<Byte>(volume);
}

void CnvLyrToMult(DataModel& model) {
  const auto& layer = model.SxBuf;
  const auto& com1 = model.Performance.Com1;
  for (const PlainCopy& c : kPlainCopies) model.DefMultiSyx.Block(c.block)[c.index] = layer[c.layer];

  Byte* blk0 = model.DefMultiSyx.Blk0.data();
  blk0[kReceiveChannelByte] = kConvertedChannel;
  if (layer[kLayerLevelSwitch] != 0) blk0[kVolume] = LayerVolume(layer[kLayerLevel]);
  blk0[kDryLevel] = 0;
  blk0[kVariationSend] = 0;
  for (int i = kLfoFirst; i <= kLfoLast; ++i) blk0[i] = kLfoCentre;
  blk0[kCutoff] = OffsetSum(com1[kCommonCutoff], layer[kLayerCutoff]);
  blk0[kResonance] = OffsetSum(com1[kCommonResonance], layer[kLayerResonance]);
  model.DefMultiSyx.Blk4[kHighPass] = static_cast<Byte>(std::min(127, com1[kCommonHighPass] / 2 + 68));
}

}  // namespace qv
