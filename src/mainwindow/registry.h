#pragma once
// Reading one value of the system registry, for the about box's search for
// the system information tool. Where the platform has no registry, no key
// is ever found.

#include <cstdint>
#include <string>

namespace qv {

inline constexpr std::uint32_t kHKeyLocalMachine = 0x80000002;

// Registry value types the program understands.
inline constexpr std::uint32_t kRegString = 1;  // text
inline constexpr std::uint32_t kRegDword = 4;   // 32-bit number, low byte first

// Reads value `valueName` of key `keyName` under `rootKey`. On success,
// returns true with the value's text in `value`; otherwise returns false
// with `value` empty.
bool ReadRegistryValue(std::uint32_t rootKey, const std::string& keyName, const std::string& valueName,
                       std::string& value);

// The text of a value as the query returned it: `raw` is the buffer cut to
// the returned length. A last zero character is dropped; a text value is
// given as it is; a 32-bit number as "&h" followed by the hexadecimal digits
// of each byte, last byte first, each byte without a leading zero. Any other
// type leaves `value` unchanged.
void RegistryValueText(std::uint32_t type, std::string raw, std::string& value);

}  // namespace qv
