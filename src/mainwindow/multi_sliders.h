#pragma once
// The 32 sliders of the multi edit panel, one layout row each: the
// parameter it edits and how it is laid out and shown. The parameter's own
// row (range, stored byte, address) is ParamOf(param).

#include <array>

#include "instrument/multi_params.h"
#include "instrument/slider_conversions.h"

namespace qv {

struct MultiSliderDef {
  PartParam param;      // the parameter the slider edits
  const char* name;     // object name of the slider, "SldEqBGain"
  const char* label;    // caption of its Labelx1 element
  int page;             // 1..3
  const char* group;    // caption of the group box it stands in
  int initial;          // position before the panel is first filled
  const char* readout;  // object name of the read-out box
  ReadoutFormat format;
};

// In the order the panel lays them out; row r's label is Labelx1(r).
const std::array<MultiSliderDef, kMultiParamCount>& MultiSliders();

// Row of the slider with that object name, -1 when there is none.
int MultiSliderRow(const char* name);

}  // namespace qv
