#pragma once
// Names and captions are held as Latin-1 bytes, one byte per character. A
// character typed that Latin-1 does not have becomes "?".

#include <QString>
#include <string>

#include "editor/editor_state.h"

namespace qv {

inline QString FromLatin1(const std::string& text) {
  return QString::fromLatin1(text.data(), static_cast<qsizetype>(text.size()));
}

// A name or caption as a button or list shows it, control bytes as blanks.
inline QString ShownLatin1(const std::string& text) { return FromLatin1(ShownName(text)); }

inline std::string ToLatin1(const QString& text) {
  std::string out;
  out.reserve(static_cast<std::size_t>(text.size()));
  // By code point: a character beyond 16 bits is one "?", not two.
  for (const char32_t c : text.toUcs4()) out.push_back(c <= 0xFF ? static_cast<char>(c) : '?');
  return out;
}

}  // namespace qv
