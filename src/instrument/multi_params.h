#pragma once
// The parameters the multi edit panel and the effects panel edit, one row
// each: where a value is stored and the address it is sent to. The panels
// keep their own rows of layout (captions, pages, read-outs) in the same
// order.

#include <array>
#include <vector>

#include "instrument/bytes.h"
#include "instrument/slider_conversions.h"
#include "instrument/tables.h"

namespace qv {

// One parameter of a multi part: its slider range in the user's units, the
// stored byte and the XG address a1 pp a3 (pp = the part).
struct MultiParam {
  SliderKind kind;
  int minimum, maximum;
  int block;  // multi-part block 0..4 of the stored byte
  int byte;   // byte number in the stored message, F0 = 0 (detune: the first of two)
  Byte a1, a3;
};

// A part's voice: bank MSB, bank LSB and program, stored in bytes 10..12 of
// its first block and sent to 08 pp 01..03.
inline constexpr int kVoiceBlock = 0;
inline constexpr int kVoiceMsbByte = 10, kVoiceLsbByte = 11, kVoicePrgByte = 12;

inline constexpr int kMultiParamCount = 32;
inline constexpr int kVariationSendRow = 15;  // the variation send: edited for M5 only

const std::array<MultiParam, kMultiParamCount>& MultiParams();

// The effect block (Com2) and its parameters, sent to 60 00 a3.
inline constexpr int kEffectBytes = 35;  // Com2, EffOrig and EffSave: bytes 0..34
inline constexpr Byte kEffectA1 = 0x60;
inline constexpr Byte kEffectA2 = 0x00;

// An effect type: a row of its table, stored as MSB and LSB.
struct EffectTypeParam {
  const std::vector<EffType>& (*table)();
  int msbByte;   // Com2 index of the type MSB; the LSB follows
  Byte address;  // a3
};
inline constexpr int kEffectTypeCount = 3;  // reverb, chorus, variation
const std::array<EffectTypeParam, kEffectTypeCount>& EffectTypeParams();

// An effect send level 0..127.
struct EffectSendParam {
  int byte;      // Com2 index
  Byte address;  // a3
};
inline constexpr int kEffectSendCount = 3;  // chorus to reverb, variation to reverb, variation to chorus
const std::array<EffectSendParam, kEffectSendCount>& EffectSendParams();

}  // namespace qv
