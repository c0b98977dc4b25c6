#include "instrument/multi_params.h"

namespace qv {

namespace {

using K = SliderKind;

// The ranges are those the XG parameters accept: note shift 28..58 hex
// (-24..+24 semitones) and the velocity limits 1..127.
constexpr std::array<MultiParam, kMultiParamCount> kParams = {{
    // kind       min   max  blk byte a1    a3
    {K::Gain,     -12,   12,  2, 11, 0x08, 0x72},  // EQ bass gain
    {K::Plain,      4,   40,  3, 11, 0x08, 0x76},  // EQ bass frequency
    {K::Gain,     -12,   12,  2, 12, 0x08, 0x73},  // EQ treble gain
    {K::Plain,     28,   58,  3, 12, 0x08, 0x77},  // EQ treble frequency
    {K::Offset,   -64,   63,  4,  9, 0x0A, 0x20},  // HPF cutoff
    {K::Offset,   -64,   63,  0, 33, 0x08, 0x18},  // filter cutoff
    {K::Offset,   -64,   63,  0, 34, 0x08, 0x19},  // filter resonance
    {K::Offset,   -64,   63,  0, 35, 0x08, 0x1A},  // EG attack
    {K::Offset,   -64,   63,  0, 36, 0x08, 0x1B},  // EG decay
    {K::Offset,   -64,   63,  0, 37, 0x08, 0x1C},  // EG release
    {K::Plain,      0,  127,  0, 20, 0x08, 0x0B},  // volume
    {K::Plain,      0,  127,  0, 23, 0x08, 0x0E},  // pan
    {K::Plain,      0,  127,  0, 26, 0x08, 0x11},  // dry level
    {K::Plain,      0,  127,  0, 27, 0x08, 0x12},  // chorus send
    {K::Plain,      0,  127,  0, 28, 0x08, 0x13},  // reverb send
    {K::Plain,      0,  127,  0, 29, 0x08, 0x14},  // variation send
    {K::Offset,   -64,   63,  0, 30, 0x08, 0x15},  // LFO rate
    {K::Offset,   -64,   63,  0, 31, 0x08, 0x16},  // LFO depth
    {K::Offset,   -64,   63,  0, 32, 0x08, 0x17},  // LFO delay
    {K::Offset,   -64,   63,  1, 66, 0x08, 0x69},  // PEG initial level
    {K::Offset,   -64,   63,  1, 67, 0x08, 0x6A},  // PEG attack
    {K::Offset,   -64,   63,  1, 68, 0x08, 0x6B},  // PEG release level
    {K::Offset,   -64,   63,  1, 69, 0x08, 0x6C},  // PEG release time
    {K::Plain,      0,  127,  1, 65, 0x08, 0x68},  // portamento time
    {K::Plain,      0,  127,  0, 21, 0x08, 0x0C},  // velocity sense depth
    {K::Plain,      0,  127,  0, 22, 0x08, 0x0D},  // velocity sense offset
    {K::Plain,      1,  127,  1, 70, 0x08, 0x6D},  // velocity limit low
    {K::Plain,      1,  127,  1, 71, 0x08, 0x6E},  // velocity limit high
    {K::Plain,     40,   88,  0, 17, 0x08, 0x08},  // note shift
    {K::Plain,      0,  127,  0, 24, 0x08, 0x0F},  // note limit low
    {K::Plain,      0,  127,  0, 25, 0x08, 0x10},  // note limit high
    {K::Detune,  -128,  127,  0, 18, 0x08, 0x09},  // detune
}};

constexpr std::array<EffectTypeParam, kEffectTypeCount> kTypes = {{
    {&RvrbTypes, 9, 0x40},
    {&ChrsTypes, 11, 0x42},
    {&VarTypes, 13, 0x44},
}};

constexpr std::array<EffectSendParam, kEffectSendCount> kSends = {{
    {29, 0x54},
    {30, 0x55},
    {31, 0x56},
}};

}  // namespace

const std::array<MultiParam, kMultiParamCount>& MultiParams() { return kParams; }
const std::array<EffectTypeParam, kEffectTypeCount>& EffectTypeParams() { return kTypes; }
const std::array<EffectSendParam, kEffectSendCount>& EffectSendParams() { return kSends; }

}  // namespace qv
