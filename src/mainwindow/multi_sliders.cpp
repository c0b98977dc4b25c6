#include "mainwindow/multi_sliders.h"

#include <cstring>

namespace qv {

namespace {

using K = SliderKind;
using F = ReadoutFormat;

// Order = index of the label in the Labelx1 array. The ranges are those the
// XG parameters accept: note shift 28..58 hex (-24..+24 semitones) and the
// velocity limits 1..127.
constexpr std::array<MultiSliderDef, kMultiSliderCount> kSliders = {{
    // name              label               page group         min   max  init kind       blk byte a1    a3    read-out      format
    {"SldEqBGain",      "Bass Gain",          1, "EQ",         -12,   12,   0, K::Gain,    2, 11, 0x08, 0x72, "TxtEqBGain", F::Db},
    {"SldEqBFreq",      "Bass Freq",          1, "EQ",           4,   40,  12, K::Plain,   3, 11, 0x08, 0x76, "TxtEqBFreq", F::Frequency},
    {"SldEqTGain",      "Treble Gain",        1, "EQ",         -12,   12,   0, K::Gain,    2, 12, 0x08, 0x73, "Text10",     F::Db},
    {"SldEqTFreq",      "Treble Freq",        1, "EQ",          28,   58,  54, K::Plain,   3, 12, 0x08, 0x77, "Text9",      F::Frequency},
    {"SldEqHPF",        "HPF Cutoff Freq",    1, "EQ",         -64,   63,   0, K::Offset,  4,  9, 0x0A, 0x20, "Text8",      F::Number},
    {"SldEqFiltrFreq",  "Filter Freq",        1, "Filter",     -64,   63,   0, K::Offset,  0, 33, 0x08, 0x18, "Text7",      F::Number},
    {"SldEqFltrRes",    "Filter Res",         1, "Filter",     -64,   63,   0, K::Offset,  0, 34, 0x08, 0x19, "Text6",      F::Number},
    {"SldEgAttk",       "EG Attack",          1, "Env",        -64,   63,   0, K::Offset,  0, 35, 0x08, 0x1A, "Text5",      F::Number},
    {"SldEgDcay",       "EG Decay",           1, "Env",        -64,   63,   0, K::Offset,  0, 36, 0x08, 0x1B, "Text4",      F::Number},
    {"SldEgRles",       "EG Release",         1, "Env",        -64,   63,   0, K::Offset,  0, 37, 0x08, 0x1C, "Text3",      F::Number},
    {"SldLvVol",        "Volume",             1, "Level",        0,  127,   0, K::Plain,   0, 20, 0x08, 0x0B, "Text2",      F::Number},
    {"SldLvPan",        "Pan",                1, "Level",        0,  127,   0, K::Plain,   0, 23, 0x08, 0x0E, "Text1",      F::Pan},
    {"SldEffDry",       "Dry Level",          2, "Effects",      0,  127,   0, K::Plain,   0, 26, 0x08, 0x11, "Text25",     F::Number},
    {"SldEffChorus",    "Chorus Send",        2, "Effects",      0,  127,   0, K::Plain,   0, 27, 0x08, 0x12, "Text24",     F::Number},
    {"SldEffRvrb",      "Reverb Send",        2, "Effects",      0,  127,  30, K::Plain,   0, 28, 0x08, 0x13, "Text14",     F::Number},
    {"SldEffVar",       "Variation Send",     2, "Effects",      0,  127,   0, K::Plain,   0, 29, 0x08, 0x14, "Text15",     F::Number},
    {"SldLfoRate",      "Rate",               2, "LFO",        -64,   63,   0, K::Offset,  0, 30, 0x08, 0x15, "Text16",     F::Number},
    {"SldLfoDepth",     "Depth",              2, "LFO",        -64,   63,   0, K::Offset,  0, 31, 0x08, 0x16, "Text17",     F::Number},
    {"SldLfoDelay",     "Delay",              2, "LFO",        -64,   63,   0, K::Offset,  0, 32, 0x08, 0x17, "Text18",     F::Number},
    {"SldPegInit",      "PEG Init Lev",       2, "PEnv",       -64,   63,   0, K::Offset,  1, 66, 0x08, 0x69, "Text20",     F::Number},
    {"SldPegAtck",      "PEG Attack",         2, "PEnv",       -64,   63,   0, K::Offset,  1, 67, 0x08, 0x6A, "Text19",     F::Number},
    {"SldPegRlsLev",    "PEG Release Lev",    2, "PEnv",       -64,   63,   0, K::Offset,  1, 68, 0x08, 0x6B, "Text21",     F::Number},
    {"SldPegRlsTime",   "PEG Release Time",   2, "PEnv",       -64,   63,   0, K::Offset,  1, 69, 0x08, 0x6C, "Text22",     F::Number},
    {"SldPortTime",     "Time",               2, "Portamento",   0,  127,   0, K::Plain,   1, 65, 0x08, 0x68, "Text23",     F::Number},
    {"SldVelSnsDpth",   "Sense Depth",        3, "Velocity",     0,  127,  64, K::Plain,   0, 21, 0x08, 0x0C, "Text11",     F::Number},
    {"SldVelSnsOfst",   "Sense Offset",       3, "Velocity",     0,  127,  64, K::Plain,   0, 22, 0x08, 0x0D, "Text12",     F::Number},
    {"SldVelLmtLo",     "Limit Low",          3, "Velocity",     1,  127,   1, K::Plain,   1, 70, 0x08, 0x6D, "Text13",     F::Number},
    {"SldVelLmtHi",     "Limit High",         3, "Velocity",     1,  127, 127, K::Plain,   1, 71, 0x08, 0x6E, "Text26",     F::Number},
    {"SldNtShft",       "Shift",              3, "Note",        40,   88,  64, K::Plain,   0, 17, 0x08, 0x08, "Text27",     F::Number},
    {"SldNtLmLo",       "Limit Low",          3, "Note",         0,  127,   0, K::Plain,   0, 24, 0x08, 0x0F, "Text28",     F::Number},
    {"SldNtLmHi",       "Limit High",         3, "Note",         0,  127, 127, K::Plain,   0, 25, 0x08, 0x10, "Text29",     F::Number},
    {"SldNtDtn",        "Detune",             3, "Detune",    -128,  127,   0, K::Detune,  0, 18, 0x08, 0x09, "Text33",     F::Tenths},
}};

}  // namespace

const std::array<MultiSliderDef, kMultiSliderCount>& MultiSliders() { return kSliders; }

int MultiSliderRow(const char* name) {
  if (name == nullptr) return -1;
  for (int row = 0; row < kMultiSliderCount; ++row)
    if (std::strcmp(kSliders[static_cast<std::size_t>(row)].name, name) == 0) return row;
  return -1;
}

}  // namespace qv
