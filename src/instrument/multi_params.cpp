#include "instrument/multi_params.h"

namespace qv {

namespace {

using K = SliderKind;
using P = PartParam;

// The ranges are those the XG parameters accept: note shift 28..58 hex
// (-24..+24 semitones) and the velocity limits 1..127.
constexpr std::array<MultiParam, kMultiParamCount> kParams = {{
    // parameter             kind       min   max  blk byte a1    a3
    {P::kEqBassGain,         K::Gain,     -12,   12,  2, 11, 0x08, 0x72},
    {P::kEqBassFreq,         K::Plain,      4,   40,  3, 11, 0x08, 0x76},
    {P::kEqTrebleGain,       K::Gain,     -12,   12,  2, 12, 0x08, 0x73},
    {P::kEqTrebleFreq,       K::Plain,     28,   58,  3, 12, 0x08, 0x77},
    {P::kHpfCutoff,          K::Offset,   -64,   63,  4,  9, 0x0A, 0x20},
    {P::kFilterCutoff,       K::Offset,   -64,   63,  0, 33, 0x08, 0x18},
    {P::kFilterResonance,    K::Offset,   -64,   63,  0, 34, 0x08, 0x19},
    {P::kEgAttack,           K::Offset,   -64,   63,  0, 35, 0x08, 0x1A},
    {P::kEgDecay,            K::Offset,   -64,   63,  0, 36, 0x08, 0x1B},
    {P::kEgRelease,          K::Offset,   -64,   63,  0, 37, 0x08, 0x1C},
    {P::kVolume,             K::Plain,      0,  127,  0, 20, 0x08, 0x0B},
    {P::kPan,                K::Plain,      0,  127,  0, 23, 0x08, 0x0E},
    {P::kDryLevel,           K::Plain,      0,  127,  0, 26, 0x08, 0x11},
    {P::kChorusSend,         K::Plain,      0,  127,  0, 27, 0x08, 0x12},
    {P::kReverbSend,         K::Plain,      0,  127,  0, 28, 0x08, 0x13},
    {P::kVariationSend,      K::Plain,      0,  127,  0, 29, 0x08, 0x14},
    {P::kLfoRate,            K::Offset,   -64,   63,  0, 30, 0x08, 0x15},
    {P::kLfoDepth,           K::Offset,   -64,   63,  0, 31, 0x08, 0x16},
    {P::kLfoDelay,           K::Offset,   -64,   63,  0, 32, 0x08, 0x17},
    {P::kPegInitLevel,       K::Offset,   -64,   63,  1, 66, 0x08, 0x69},
    {P::kPegAttack,          K::Offset,   -64,   63,  1, 67, 0x08, 0x6A},
    {P::kPegReleaseLevel,    K::Offset,   -64,   63,  1, 68, 0x08, 0x6B},
    {P::kPegReleaseTime,     K::Offset,   -64,   63,  1, 69, 0x08, 0x6C},
    {P::kPortamentoTime,     K::Plain,      0,  127,  1, 65, 0x08, 0x68},
    {P::kVelSenseDepth,      K::Plain,      0,  127,  0, 21, 0x08, 0x0C},
    {P::kVelSenseOffset,     K::Plain,      0,  127,  0, 22, 0x08, 0x0D},
    {P::kVelLimitLow,        K::Plain,      1,  127,  1, 70, 0x08, 0x6D},
    {P::kVelLimitHigh,       K::Plain,      1,  127,  1, 71, 0x08, 0x6E},
    {P::kNoteShift,          K::Plain,     40,   88,  0, 17, 0x08, 0x08},
    {P::kNoteLimitLow,       K::Plain,      0,  127,  0, 24, 0x08, 0x0F},
    {P::kNoteLimitHigh,      K::Plain,      0,  127,  0, 25, 0x08, 0x10},
    {P::kDetune,             K::Detune,  -128,  127,  0, 18, 0x08, 0x09},
}};
static_assert(NamedInOrder(kParams, &MultiParam::id),
              "every multi part parameter needs exactly one row, in the order of PartParam");

constexpr std::array<SwitchParam, kEditSwitches> kSwitches = {{
    // switch           blk byte  a3  states
    {kSwPortamento,      1, 64, 0x67, 2},  // on/off
    {kSwKeyAssign,       0, 15, 0x06, 3},  // same note number key on assign: single, multi, inst
    {kSwMonoPoly,        0, 14, 0x05, 2},  // mono, poly
    {kSwPartMode,        0, 16, 0x07, 4},  // norm, drum, drum1, drum2
}};
static_assert(NamedInOrder(kSwitches, &SwitchParam::id),
              "every switch needs exactly one row, in the order of EditSwitch");

constexpr std::array<EffectTypeParam, kEffectTypeCount> kTypes = {{
    // effect            table       MSB at a3   bypass type
    {Effect::kReverb,    &RvrbTypes,  9,  0x40,  0x00, 0x00},  // NO EFFECT
    {Effect::kChorus,    &ChrsTypes, 11,  0x42,  0x00, 0x00},  // NO EFFECT
    {Effect::kVariation, &VarTypes,  13,  0x44,  0x40, 0x00},  // THRU
}};
static_assert(NamedInOrder(kTypes, &EffectTypeParam::id),
              "every effect needs exactly one row, in the order of Effect");

constexpr std::array<EffectSendParam, kEffectSendCount> kSends = {{
    // send                             byte  a3
    {EffectSend::kChorusToReverb,       29, 0x54},
    {EffectSend::kVariationToReverb,    30, 0x55},
    {EffectSend::kVariationToChorus,    31, 0x56},
}};
static_assert(NamedInOrder(kSends, &EffectSendParam::id),
              "every effect send needs exactly one row, in the order of EffectSend");

}  // namespace

const MultiParam& ParamOf(PartParam param) { return kParams.at(IndexOf(param)); }
const SwitchParam& ParamOf(EditSwitch which) { return kSwitches.at(IndexOf(which)); }
const EffectTypeParam& ParamOf(Effect effect) { return kTypes.at(IndexOf(effect)); }
const EffectSendParam& ParamOf(EffectSend send) { return kSends.at(IndexOf(send)); }

}  // namespace qv
