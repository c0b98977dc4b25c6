#pragma once
// The parameters the multi edit panel and the effects panel edit, each named
// by an enum and described by one row: where its value is stored and the
// address it is sent to. The panels keep their own rows of layout
// (captions, pages, read-outs), each naming the parameter it lays out; a
// compile-time check makes sure that every parameter has exactly one row in
// each table.

#include <array>
#include <cstddef>
#include <type_traits>
#include <vector>

#include "instrument/bytes.h"
#include "instrument/slider_conversions.h"
#include "instrument/tables.h"

namespace qv {

// ---- Tables keyed by name --------------------------------------------------------

// The index of a parameter name in its tables.
template <typename Name>
  requires std::is_enum_v<Name>
constexpr std::size_t IndexOf(Name name) {
  return static_cast<std::size_t>(name);
}

// Whether `rows` name each of the names 0..count-1 exactly once.
template <typename Row, std::size_t N, typename Name>
constexpr bool NamesEachOnce(const std::array<Row, N>& rows, Name Row::*name, std::size_t count) {
  if (N != count) return false;
  for (std::size_t wanted = 0; wanted < count; ++wanted) {
    int found = 0;
    for (const Row& row : rows) found += IndexOf(row.*name) == wanted ? 1 : 0;
    if (found != 1) return false;
  }
  return true;
}

// Whether row i of `rows` names name i, so that a name indexes its row.
template <typename Row, std::size_t N, typename Name>
constexpr bool NamedInOrder(const std::array<Row, N>& rows, Name Row::*name) {
  for (std::size_t i = 0; i < N; ++i)
    if (IndexOf(rows[i].*name) != i) return false;
  return true;
}

// ---- The multi part parameters -------------------------------------------------

// The parameters the multi edit panel's sliders edit.
enum class PartParam : int {
  kEqBassGain, kEqBassFreq, kEqTrebleGain, kEqTrebleFreq, kHpfCutoff,
  kFilterCutoff, kFilterResonance,
  kEgAttack, kEgDecay, kEgRelease,
  kVolume, kPan,
  kDryLevel, kChorusSend, kReverbSend, kVariationSend,
  kLfoRate, kLfoDepth, kLfoDelay,
  kPegInitLevel, kPegAttack, kPegReleaseLevel, kPegReleaseTime,
  kPortamentoTime,
  kVelSenseDepth, kVelSenseOffset, kVelLimitLow, kVelLimitHigh,
  kNoteShift, kNoteLimitLow, kNoteLimitHigh,
  kDetune,
  kCount  // not a parameter: the number of them
};
inline constexpr int kMultiParamCount = static_cast<int>(PartParam::kCount);

// The parameter edited for the first multi part (M5) only.
inline constexpr PartParam kFirstPartOnly = PartParam::kVariationSend;

// One parameter of a multi part: its slider range in the user's units, the
// stored byte and the XG address a1 pp a3 (pp = the part).
struct MultiParam {
  PartParam id;
  SliderKind kind;
  int minimum, maximum;
  int block;  // multi-part block 0..4 of the stored byte
  int byte;   // byte number in the stored message, F0 = 0 (detune: the first of two)
  Byte a1, a3;
};

const MultiParam& ParamOf(PartParam param);  // throws std::out_of_range for no parameter

// The switches of a multi part, in the order the multi edit panel fills
// them.
enum EditSwitch : int { kSwPortamento = 0, kSwKeyAssign = 1, kSwMonoPoly = 2, kSwPartMode = 3 };
inline constexpr int kEditSwitches = 4;

// A switch: its stored byte and the XG address 08 pp a3, and how many
// states it has (values 0..states-1).
struct SwitchParam {
  EditSwitch id;
  int block;
  int byte;
  Byte a3;
  int states;
};
const SwitchParam& ParamOf(EditSwitch which);  // throws std::out_of_range for no switch

// A part's voice: bank MSB, bank LSB and program, stored in bytes 10..12 of
// its first block and sent to 08 pp 01..03.
inline constexpr int kVoiceBlock = 0;
inline constexpr int kVoiceMsbByte = 10, kVoiceLsbByte = 11, kVoicePrgByte = 12;

// ---- The effect block -------------------------------------------------------------

// The effect block (Com2) and its parameters, sent to 60 00 a3.
inline constexpr int kEffectBytes = 35;  // Com2, EffOrig and EffSave: bytes 0..34
inline constexpr Byte kEffectA1 = 0x60;
inline constexpr Byte kEffectA2 = 0x00;

// The effects whose type the effects panel chooses.
enum class Effect : int { kReverb, kChorus, kVariation, kCount };
inline constexpr int kEffectTypeCount = static_cast<int>(Effect::kCount);

// An effect's type: a row of its table, stored as MSB and LSB.
struct EffectTypeParam {
  Effect id;
  const std::vector<EffType>& (*table)();
  int msbByte;   // Com2 index of the type MSB; the LSB follows
  Byte address;  // a3
  // The type a bypass sends: "NO EFFECT", or "THRU" for the variation.
  Byte bypassMsb, bypassLsb;
};
const EffectTypeParam& ParamOf(Effect effect);  // throws std::out_of_range for no effect

// The effect sends, each a level 0..127.
enum class EffectSend : int { kChorusToReverb, kVariationToReverb, kVariationToChorus, kCount };
inline constexpr int kEffectSendCount = static_cast<int>(EffectSend::kCount);

struct EffectSendParam {
  EffectSend id;
  int byte;      // Com2 index
  Byte address;  // a3
};
const EffectSendParam& ParamOf(EffectSend send);  // throws std::out_of_range for no send

}  // namespace qv
