#pragma once
// Bytes as they travel to and from the instrument.

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace qv {

using Byte = std::uint8_t;
using Bytes = std::vector<Byte>;

// Upper-case hexadecimal bytes separated by blanks, "F0 43 10 ...": for test
// messages and diagnostics.
std::string HexString(const Bytes& bytes);
Bytes ParseHex(const std::string& text);

}  // namespace qv
