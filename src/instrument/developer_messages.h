#pragma once
// The hand-made messages of the developer controls: a parameter change, a
// control change and a parameter request, built from typed decimal numbers.
// Every builder gives nothing when a text is not a number or a byte would
// lie outside 0..255.

#include <optional>
#include <string>

#include "instrument/bytes.h"

namespace qv {

// The whole number at or below the decimal number in `text` ("2.7" -> 2,
// "-0.5" -> -1). Blanks around the number are allowed; a sign, a decimal
// point and an exponent are accepted. Nothing for an empty text, any other
// character, or a value beyond the range of int.
std::optional<int> ParseFlooredNumber(const std::string& text);

// F0 43 30 4C a1 a2 a3 F7: asks the instrument for one XG parameter.
std::optional<Bytes> BuildRqstParm(const std::string& a1, const std::string& a2, const std::string& a3);

// F0 43 10 model a1 a2 a3 data F7.
std::optional<Bytes> BuildParmChange(const std::string& model, const std::string& a1, const std::string& a2,
                                     const std::string& a3, const std::string& data);

// B0 + channel, controller, value: every one of the three bytes must lie in
// 0..255, the status byte included; the data bytes are not limited to 0..127.
std::optional<Bytes> BuildCtrlChange(const std::string& channel, const std::string& controller,
                                     const std::string& value);

}  // namespace qv
