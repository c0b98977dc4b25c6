#pragma once
// Bytes written as upper-case hexadecimal separated by blanks, "F0 43 10 ...",
// and read back: for expected messages and readable failures.

#include <string>

#include "instrument/bytes.h"

namespace qv::test {

std::string HexString(const Bytes& bytes);
Bytes ParseHex(const std::string& text);

}  // namespace qv::test
