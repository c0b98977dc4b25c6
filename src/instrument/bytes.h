#pragma once
// Bytes as they travel to and from the instrument.

#include <cstddef>
#include <cstdint>
#include <vector>

namespace qv {

using Byte = std::uint8_t;
using Bytes = std::vector<Byte>;

}  // namespace qv
