#pragma once
// The 32 sliders of the multi edit panel, one row each: everything that
// tells one slider from another. The panel builds, loads, moves and releases
// every slider from this table.

#include <array>

#include "instrument/bytes.h"
#include "instrument/slider_conversions.h"

namespace qv {

struct MultiSliderDef {
  const char* name;    // object name of the slider, "SldEqBGain"
  const char* label;   // caption of its Labelx1 element
  int page;            // 1..3
  const char* group;   // caption of the group box it stands in
  int minimum, maximum, initial;
  SliderKind kind;
  int block;           // multi-part block 0..4 of the stored byte
  int byte;            // byte number in the stored message, F0 = 0 (detune: the first of two)
  Byte a1, a3;         // XG address a1 pp a3, pp = the edited part
  const char* readout; // object name of the read-out box
  ReadoutFormat format;
};

inline constexpr int kMultiSliderCount = 32;
inline constexpr int kVariationSendRow = 15;  // SldEffVar: enabled for M5 only

const std::array<MultiSliderDef, kMultiSliderCount>& MultiSliders();

// Row of the slider with that object name, -1 when there is none.
int MultiSliderRow(const char* name);

}  // namespace qv
