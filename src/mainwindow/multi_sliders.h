#pragma once
// The 32 sliders of the multi edit panel, one row each: how each is laid
// out and shown. Row r edits the parameter of row r of MultiParams(); the
// panel builds, loads and shows every slider from the two tables.

#include <array>

#include "instrument/multi_params.h"
#include "instrument/slider_conversions.h"

namespace qv {

struct MultiSliderDef {
  const char* name;    // object name of the slider, "SldEqBGain"
  const char* label;   // caption of its Labelx1 element
  int page;            // 1..3
  const char* group;   // caption of the group box it stands in
  int initial;         // position before the panel is first filled
  const char* readout; // object name of the read-out box
  ReadoutFormat format;
};

const std::array<MultiSliderDef, kMultiParamCount>& MultiSliders();

// Row of the slider with that object name, -1 when there is none.
int MultiSliderRow(const char* name);

}  // namespace qv
