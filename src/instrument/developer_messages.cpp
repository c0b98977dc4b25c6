#include "instrument/developer_messages.h"

#include <charconv>
#include <climits>
#include <cmath>
#include <string_view>
#include <system_error>

#include "instrument/messages.h"

namespace qv {

namespace {

bool IsDigit(char c) { return c >= '0' && c <= '9'; }
bool IsBlank(char c) { return c == ' ' || c == '\t'; }

// Skips the digits from i; returns how many there were.
std::size_t SkipDigits(std::string_view s, std::size_t& i) {
  const std::size_t start = i;
  while (i < s.size() && IsDigit(s[i])) ++i;
  return i - start;
}

// Whether s is [+-] digits [. digits] [e [+-] digits] with at least one
// mantissa digit: the only forms handed to the converter, which would also
// take "inf", "nan" and hexadecimal forms.
bool IsDecimalNumber(std::string_view s) {
  std::size_t i = 0;
  if (i < s.size() && (s[i] == '+' || s[i] == '-')) ++i;
  std::size_t digits = SkipDigits(s, i);
  if (i < s.size() && s[i] == '.') {
    ++i;
    digits += SkipDigits(s, i);
  }
  if (digits == 0) return false;
  if (i < s.size() && (s[i] == 'e' || s[i] == 'E')) {
    ++i;
    if (i < s.size() && (s[i] == '+' || s[i] == '-')) ++i;
    if (SkipDigits(s, i) == 0) return false;
  }
  return i == s.size();
}

std::optional<Byte> ParseByte(const std::string& text) {
  const std::optional<int> n = ParseFlooredNumber(text);
  if (!n || *n < 0 || *n > 255) return std::nullopt;
  return static_cast<Byte>(*n);
}

}  // namespace

std::optional<int> ParseFlooredNumber(const std::string& text) {
  std::string_view s(text);
  while (!s.empty() && IsBlank(s.front())) s.remove_prefix(1);
  while (!s.empty() && IsBlank(s.back())) s.remove_suffix(1);
  if (!IsDecimalNumber(s)) return std::nullopt;
  if (s.front() == '+') s.remove_prefix(1);  // the converter takes no plus sign

  double value = 0;
  const auto [end, ec] = std::from_chars(s.data(), s.data() + s.size(), value);
  if (ec != std::errc() || end != s.data() + s.size()) return std::nullopt;
  value = std::floor(value);
  if (!(value >= static_cast<double>(INT_MIN) && value <= static_cast<double>(INT_MAX))) return std::nullopt;
  return static_cast<int>(value);
}

std::optional<Bytes> BuildRqstParm(const std::string& a1, const std::string& a2, const std::string& a3) {
  const auto b1 = ParseByte(a1), b2 = ParseByte(a2), b3 = ParseByte(a3);
  if (!b1 || !b2 || !b3) return std::nullopt;
  return XgParmRequest(*b1, *b2, *b3);
}

std::optional<Bytes> BuildParmChange(const std::string& model, const std::string& a1, const std::string& a2,
                                     const std::string& a3, const std::string& data) {
  const auto m = ParseByte(model), b1 = ParseByte(a1), b2 = ParseByte(a2), b3 = ParseByte(a3), d = ParseByte(data);
  if (!m || !b1 || !b2 || !b3 || !d) return std::nullopt;
  return DevParmChange(*m, *b1, *b2, *b3, *d);
}

std::optional<Bytes> BuildCtrlChange(const std::string& channel, const std::string& controller,
                                     const std::string& value) {
  const std::optional<int> c = ParseFlooredNumber(channel);
  const auto n = ParseByte(controller), v = ParseByte(value);
  if (!c || !n || !v) return std::nullopt;
  const long long status = 0xB0LL + *c;
  if (status < 0 || status > 255) return std::nullopt;
  return Bytes{static_cast<Byte>(status), *n, *v};
}

}  // namespace qv
