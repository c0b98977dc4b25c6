#include "mainwindow/multi_sliders.h"

#include <cstring>

namespace qv {

namespace {

using F = ReadoutFormat;

// Order = index of the label in the Labelx1 array = row of MultiParams(),
// which holds each slider's range, stored byte and address.
constexpr std::array<MultiSliderDef, kMultiParamCount> kSliders = {{
    // name             label                 page group          init read-out       format
    {"SldEqBGain",       "Bass Gain",          1, "EQ",             0, "TxtEqBGain", F::Db},
    {"SldEqBFreq",       "Bass Freq",          1, "EQ",            12, "TxtEqBFreq", F::Frequency},
    {"SldEqTGain",       "Treble Gain",        1, "EQ",             0, "Text10",     F::Db},
    {"SldEqTFreq",       "Treble Freq",        1, "EQ",            54, "Text9",      F::Frequency},
    {"SldEqHPF",         "HPF Cutoff Freq",    1, "EQ",             0, "Text8",      F::Number},
    {"SldEqFiltrFreq",   "Filter Freq",        1, "Filter",         0, "Text7",      F::Number},
    {"SldEqFltrRes",     "Filter Res",         1, "Filter",         0, "Text6",      F::Number},
    {"SldEgAttk",        "EG Attack",          1, "Env",            0, "Text5",      F::Number},
    {"SldEgDcay",        "EG Decay",           1, "Env",            0, "Text4",      F::Number},
    {"SldEgRles",        "EG Release",         1, "Env",            0, "Text3",      F::Number},
    {"SldLvVol",         "Volume",             1, "Level",          0, "Text2",      F::Number},
    {"SldLvPan",         "Pan",                1, "Level",          0, "Text1",      F::Pan},
    {"SldEffDry",        "Dry Level",          2, "Effects",        0, "Text25",     F::Number},
    {"SldEffChorus",     "Chorus Send",        2, "Effects",        0, "Text24",     F::Number},
    {"SldEffRvrb",       "Reverb Send",        2, "Effects",       30, "Text14",     F::Number},
    {"SldEffVar",        "Variation Send",     2, "Effects",        0, "Text15",     F::Number},
    {"SldLfoRate",       "Rate",               2, "LFO",            0, "Text16",     F::Number},
    {"SldLfoDepth",      "Depth",              2, "LFO",            0, "Text17",     F::Number},
    {"SldLfoDelay",      "Delay",              2, "LFO",            0, "Text18",     F::Number},
    {"SldPegInit",       "PEG Init Lev",       2, "PEnv",           0, "Text20",     F::Number},
    {"SldPegAtck",       "PEG Attack",         2, "PEnv",           0, "Text19",     F::Number},
    {"SldPegRlsLev",     "PEG Release Lev",    2, "PEnv",           0, "Text21",     F::Number},
    {"SldPegRlsTime",    "PEG Release Time",   2, "PEnv",           0, "Text22",     F::Number},
    {"SldPortTime",      "Time",               2, "Portamento",     0, "Text23",     F::Number},
    {"SldVelSnsDpth",    "Sense Depth",        3, "Velocity",      64, "Text11",     F::Number},
    {"SldVelSnsOfst",    "Sense Offset",       3, "Velocity",      64, "Text12",     F::Number},
    {"SldVelLmtLo",      "Limit Low",          3, "Velocity",       1, "Text13",     F::Number},
    {"SldVelLmtHi",      "Limit High",         3, "Velocity",     127, "Text26",     F::Number},
    {"SldNtShft",        "Shift",              3, "Note",          64, "Text27",     F::Number},
    {"SldNtLmLo",        "Limit Low",          3, "Note",           0, "Text28",     F::Number},
    {"SldNtLmHi",        "Limit High",         3, "Note",         127, "Text29",     F::Number},
    {"SldNtDtn",         "Detune",             3, "Detune",         0, "Text33",     F::Tenths},
}};

}  // namespace

const std::array<MultiSliderDef, kMultiParamCount>& MultiSliders() { return kSliders; }

int MultiSliderRow(const char* name) {
  if (name == nullptr) return -1;
  for (int row = 0; row < kMultiParamCount; ++row)
    if (std::strcmp(kSliders[static_cast<std::size_t>(row)].name, name) == 0) return row;
  return -1;
}

}  // namespace qv
