#include "instrument/slider_conversions.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>

#include "instrument/tables.h"

namespace qv {

namespace {

Byte DataByte(long long value) { return static_cast<Byte>(std::clamp<long long>(value, 0, 127)); }

}  // namespace

Bytes ByteFromPosition(SliderKind kind, int position) {
  switch (kind) {
    case SliderKind::Plain:
      return {DataByte(position)};
    case SliderKind::Offset:
      return {DataByte(static_cast<long long>(position) + 64)};
    case SliderKind::Gain:
      return {DataByte(static_cast<long long>(std::floor(position * kGainFactor + 64)))};
    case SliderKind::Detune: {
      const long long u = std::clamp<long long>(static_cast<long long>(position) + 128, 0, 255);
      return {static_cast<Byte>(u / 16), static_cast<Byte>(u % 16)};
    }
  }
  return {};
}

int PositionFromByte(SliderKind kind, Byte first, Byte second) {
  switch (kind) {
    case SliderKind::Plain:
      return first;
    case SliderKind::Offset:
      return first - 64;
    case SliderKind::Gain:
      return static_cast<int>(std::floor((first - 63) / kGainFactor));
    case SliderKind::Detune:
      return first * 16 + second - 128;
  }
  return 0;
}

std::string ReadoutText(ReadoutFormat format, int position, const std::string& decimalPoint) {
  switch (format) {
    case ReadoutFormat::Number:
      return std::to_string(position);
    case ReadoutFormat::Db:
      return (position < 0 ? "-" : " ") + std::to_string(std::abs(static_cast<long long>(position))) + "db";
    case ReadoutFormat::Frequency:
      return EqFreqText(position);
    case ReadoutFormat::Pan:
      return position == 0 ? "Rand" : std::to_string(position);
    case ReadoutFormat::Tenths: {
      const long long magnitude = std::abs(static_cast<long long>(position));
      std::string text = (position < 0 ? "-" : "") + std::to_string(magnitude / 10);
      if (magnitude % 10 != 0) text += decimalPoint + std::to_string(magnitude % 10);
      return text;
    }
  }
  return {};
}

}  // namespace qv
