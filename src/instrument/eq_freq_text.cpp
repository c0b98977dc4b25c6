// The texts of the XG EQ frequency codes 4..58, as the EQ frequency sliders
// show them: 7 characters, right-aligned.

#include <array>

#include "instrument/tables.h"

namespace qv {

namespace {

constexpr int kFirstEqFreqCode = 4;
constexpr std::array<const char*, 55> kEqFreqTexts = {
    "  32 Hz", "  36 Hz", "  40 Hz", "  45 Hz", "  50 Hz", "  56 Hz", "  63 Hz", "  70 Hz",  //  4..11
    "  80 Hz", "  90 Hz", " 100 Hz", " 110 Hz", " 125 Hz", " 140 Hz", " 160 Hz", " 180 Hz",  // 12..19
    " 200 Hz", " 225 Hz", " 250 Hz", " 280 Hz", " 315 Hz", " 355 Hz", " 400 Hz", " 450 Hz",  // 20..27
    " 500 Hz", " 560 Hz", " 630 Hz", " 700 Hz", " 800 Hz", " 900 Hz", " 1.0KHz", " 1.1KHz",  // 28..35
    " 1.2KHz", " 1.4KHz", " 1.6KHz", " 1.8KHz", " 2.0KHz", " 2.2KHz", " 2.5KHz", " 2.8KHz",  // 36..43
    " 3.2KHz", " 3.6KHz", " 4.0KHz", " 4.5KHz", " 5.0KHz", " 5.6KHz", " 6.3KHz", " 7.0KHz",  // 44..51
    " 8.0KHz", " 9.0KHz", "10.0KHz", "11.0KHz", "12.0KHz", "14.0KHz", "16.0KHz",             // 52..58
};

}  // namespace

std::string EqFreqText(int code) {
  const int row = code - kFirstEqFreqCode;
  if (row < 0 || row >= static_cast<int>(kEqFreqTexts.size())) return "ERR";
  return kEqFreqTexts[static_cast<std::size_t>(row)];
}

}  // namespace qv
