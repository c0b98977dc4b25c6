#include "files/records.h"

namespace qv {

void PutName(NameField& field, std::string_view latin1) {
  for (std::size_t i = 0; i < kNameBytes; ++i) field[i] = i < latin1.size() ? latin1[i] : ' ';
}

std::string GetName(const NameField& field) { return std::string(field.begin(), field.end()); }

std::string Utf8ToLatin1(std::string_view utf8) {
  std::string out;
  out.reserve(utf8.size());
  std::size_t i = 0;
  while (i < utf8.size()) {
    const auto lead = static_cast<unsigned char>(utf8[i]);
    if (lead < 0x80) {
      out += static_cast<char>(lead);
      ++i;
      continue;
    }
    // Length and first bits of a multi-byte sequence; anything else is not UTF-8.
    std::size_t length = 0;
    char32_t code = 0;
    if ((lead & 0xE0) == 0xC0) {
      length = 2;
      code = lead & 0x1F;
    } else if ((lead & 0xF0) == 0xE0) {
      length = 3;
      code = lead & 0x0F;
    } else if ((lead & 0xF8) == 0xF0) {
      length = 4;
      code = lead & 0x07;
    }
    std::size_t taken = 1;
    bool valid = length != 0;
    while (valid && taken < length) {
      if (i + taken >= utf8.size()) {
        valid = false;
        break;
      }
      const auto next = static_cast<unsigned char>(utf8[i + taken]);
      if ((next & 0xC0) != 0x80) {
        valid = false;
        break;
      }
      code = (code << 6) | (next & 0x3F);
      ++taken;
    }
    // Overlong forms of characters below 0x80 are not valid either.
    if (valid && length == 2 && code < 0x80) valid = false;
    out += valid && code <= 0xFF ? static_cast<char>(code) : '?';
    i += valid ? length : taken;
  }
  return out;
}

}  // namespace qv
