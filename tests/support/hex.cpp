#include "hex.h"

#include <cstdio>
#include <sstream>

namespace qv::test {

std::string HexString(const Bytes& bytes) {
  std::string out;
  char buf[4];
  for (std::size_t i = 0; i < bytes.size(); ++i) {
    std::snprintf(buf, sizeof buf, "%02X", bytes[i]);
    if (i) out += ' ';
    out += buf;
  }
  return out;
}

Bytes ParseHex(const std::string& text) {
  Bytes out;
  std::istringstream in(text);
  std::string word;
  while (in >> word) out.push_back(static_cast<Byte>(std::stoul(word, nullptr, 16)));
  return out;
}

}  // namespace qv::test
