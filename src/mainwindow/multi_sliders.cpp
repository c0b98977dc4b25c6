#include "mainwindow/multi_sliders.h"

#include <cstring>

namespace qv {

namespace {

using F = ReadoutFormat;
using P = PartParam;

// Order = index of the label in the Labelx1 array.
constexpr std::array<MultiSliderDef, kMultiParamCount> kSliders = {{
    // parameter            name                label               page group         init read-out      format
    {P::kEqBassGain,        "SldEqBGain",       "Bass Gain",          1, "EQ",             0, "TxtEqBGain", F::Db},
    {P::kEqBassFreq,        "SldEqBFreq",       "Bass Freq",          1, "EQ",            12, "TxtEqBFreq", F::Frequency},
    {P::kEqTrebleGain,      "SldEqTGain",       "Treble Gain",        1, "EQ",             0, "Text10",     F::Db},
    {P::kEqTrebleFreq,      "SldEqTFreq",       "Treble Freq",        1, "EQ",            54, "Text9",      F::Frequency},
    {P::kHpfCutoff,         "SldEqHPF",         "HPF Cutoff Freq",    1, "EQ",             0, "Text8",      F::Number},
    {P::kFilterCutoff,      "SldEqFiltrFreq",   "Filter Freq",        1, "Filter",         0, "Text7",      F::Number},
    {P::kFilterResonance,   "SldEqFltrRes",     "Filter Res",         1, "Filter",         0, "Text6",      F::Number},
    {P::kEgAttack,          "SldEgAttk",        "EG Attack",          1, "Env",            0, "Text5",      F::Number},
    {P::kEgDecay,           "SldEgDcay",        "EG Decay",           1, "Env",            0, "Text4",      F::Number},
    {P::kEgRelease,         "SldEgRles",        "EG Release",         1, "Env",            0, "Text3",      F::Number},
    {P::kVolume,            "SldLvVol",         "Volume",             1, "Level",          0, "Text2",      F::Number},
    {P::kPan,               "SldLvPan",         "Pan",                1, "Level",          0, "Text1",      F::Pan},
    {P::kDryLevel,          "SldEffDry",        "Dry Level",          2, "Effects",        0, "Text25",     F::Number},
    {P::kChorusSend,        "SldEffChorus",     "Chorus Send",        2, "Effects",        0, "Text24",     F::Number},
    {P::kReverbSend,        "SldEffRvrb",       "Reverb Send",        2, "Effects",       30, "Text14",     F::Number},
    {P::kVariationSend,     "SldEffVar",        "Variation Send",     2, "Effects",        0, "Text15",     F::Number},
    {P::kLfoRate,           "SldLfoRate",       "Rate",               2, "LFO",            0, "Text16",     F::Number},
    {P::kLfoDepth,          "SldLfoDepth",      "Depth",              2, "LFO",            0, "Text17",     F::Number},
    {P::kLfoDelay,          "SldLfoDelay",      "Delay",              2, "LFO",            0, "Text18",     F::Number},
    {P::kPegInitLevel,      "SldPegInit",       "PEG Init Lev",       2, "PEnv",           0, "Text20",     F::Number},
    {P::kPegAttack,         "SldPegAtck",       "PEG Attack",         2, "PEnv",           0, "Text19",     F::Number},
    {P::kPegReleaseLevel,   "SldPegRlsLev",     "PEG Release Lev",    2, "PEnv",           0, "Text21",     F::Number},
    {P::kPegReleaseTime,    "SldPegRlsTime",    "PEG Release Time",   2, "PEnv",           0, "Text22",     F::Number},
    {P::kPortamentoTime,    "SldPortTime",      "Time",               2, "Portamento",     0, "Text23",     F::Number},
    {P::kVelSenseDepth,     "SldVelSnsDpth",    "Sense Depth",        3, "Velocity",      64, "Text11",     F::Number},
    {P::kVelSenseOffset,    "SldVelSnsOfst",    "Sense Offset",       3, "Velocity",      64, "Text12",     F::Number},
    {P::kVelLimitLow,       "SldVelLmtLo",      "Limit Low",          3, "Velocity",       1, "Text13",     F::Number},
    {P::kVelLimitHigh,      "SldVelLmtHi",      "Limit High",         3, "Velocity",     127, "Text26",     F::Number},
    {P::kNoteShift,         "SldNtShft",        "Shift",              3, "Note",          64, "Text27",     F::Number},
    {P::kNoteLimitLow,      "SldNtLmLo",        "Limit Low",          3, "Note",           0, "Text28",     F::Number},
    {P::kNoteLimitHigh,     "SldNtLmHi",        "Limit High",         3, "Note",         127, "Text29",     F::Number},
    {P::kDetune,            "SldNtDtn",         "Detune",             3, "Detune",         0, "Text33",     F::Tenths},
}};
static_assert(NamesEachOnce(kSliders, &MultiSliderDef::param, kMultiParamCount),
              "every multi part parameter needs exactly one slider");

}  // namespace

const std::array<MultiSliderDef, kMultiParamCount>& MultiSliders() { return kSliders; }

int MultiSliderRow(const char* name) {
  if (name == nullptr) return -1;
  for (int row = 0; row < kMultiParamCount; ++row)
    if (std::strcmp(kSliders[static_cast<std::size_t>(row)].name, name) == 0) return row;
  return -1;
}

}  // namespace qv
