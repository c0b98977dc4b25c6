#pragma once
// How a multi-part slider's position (in the user's units) becomes the XG
// data byte(s) stored and sent, how a stored byte becomes a position again,
// and the text of a slider's read-out.

#include <string>

#include "instrument/bytes.h"

namespace qv {

enum class SliderKind {
  Plain,   // byte = position
  Offset,  // -64..63 around the centre byte 64
  Gain,    // -12..12 dB over the whole byte range
  Detune,  // -128..127 in two bytes of four bits each
};

enum class ReadoutFormat {
  Number,     // the position in decimal
  Db,         // " 3db", "-3db"
  Frequency,  // the EQ frequency text of the position
  Pan,        // "Rand" at 0, else the number
  Tenths,     // the position / 10 with one decimal where there is a fraction
};

// The gain factor is this double, not 16/3: +12 must give 127, not 128.
inline constexpr double kGainFactor = 5.33333;

// The data byte of a position: one byte, or two (high four bits first) for
// Detune. Each byte is kept within 0..127.
Bytes ByteFromPosition(SliderKind kind, int position);

// The position that stored byte(s) give; `second` is used by Detune only.
// The result may lie outside the slider's range when the byte does.
int PositionFromByte(SliderKind kind, Byte first, Byte second = 0);

// The read-out text of a position. `decimalPoint` separates the tenths.
std::string ReadoutText(ReadoutFormat format, int position, const std::string& decimalPoint = ".");

}  // namespace qv
