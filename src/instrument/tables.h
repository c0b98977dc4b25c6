#pragma once
// The lookup tables of the effect types and the preset performance names,
// and the texts of the XG EQ frequency codes. A list row is always the same
// number as its table row.

#include <cstdint>
#include <string>
#include <vector>

namespace qv {

struct EffType {
  std::int16_t Msb;
  std::int16_t Lsb;
  std::string Name;  // blank-padded to the table's width
};

const std::vector<EffType>& RvrbTypes();  // rows 0..12, names of 12 characters
const std::vector<EffType>& ChrsTypes();  // rows 0..14, 16 characters
const std::vector<EffType>& VarTypes();   // rows 0..63, 24 characters
const std::vector<std::string>& PresetNames1();  // programs 0..127 of preset bank 1, 8 characters
const std::vector<std::string>& PresetNames2();  // preset bank 2

// The 7-character text of an EQ frequency code 4..58; "ERR" for any other.
std::string EqFreqText(int code);

}  // namespace qv
