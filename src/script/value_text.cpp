#include "script/value_text.h"

#include <charconv>
#include <cmath>
#include <cstdio>
#include <cstdlib>

#include "script/value_type.h"

namespace orva {

std::string_view ValueTypeDisplayName(uint8_t type_code) {
  switch (type_code) {
    case PT_INT: return "整数";
    case PT_FLOAT: return "実数";
    case PT_BOOL: return "フラグ";
    case PT_STR: return "文字列";
    default: return "";
  }
}

namespace {

int HexDigit(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  return -1;
}

bool IsDigit(char c) { return c >= '0' && c <= '9'; }

}  // namespace

std::optional<int32_t> ParseIntText(std::string_view text) {
  size_t i = 0;
  while (i < text.size() && text[i] == ' ') ++i;
  bool negative = false;
  if (i < text.size() && (text[i] == '+' || text[i] == '-')) {
    negative = text[i] == '-';
    ++i;
  }
  int base = 10;
  if (i < text.size() && (text[i] == '$' || text[i] == 'x' || text[i] == 'X')) {
    base = 16;
    ++i;
  } else if (i + 1 < text.size() && text[i] == '0' && (text[i + 1] == 'x' || text[i + 1] == 'X')) {
    base = 16;
    i += 2;
  }
  if (i >= text.size()) return std::nullopt;
  // The magnitude may reach 2^31 for the negative limit; anything larger has failed already.
  constexpr int64_t kLimit = int64_t{1} << 31;
  int64_t magnitude = 0;
  for (; i < text.size(); ++i) {
    const int digit = base == 16 ? HexDigit(text[i]) : (IsDigit(text[i]) ? text[i] - '0' : -1);
    if (digit < 0) return std::nullopt;
    magnitude = magnitude * base + digit;
    if (magnitude > kLimit) return std::nullopt;
  }
  if (!negative && magnitude == kLimit) return std::nullopt;
  return static_cast<int32_t>(negative ? -magnitude : magnitude);
}

std::optional<long double> ParseRealText(std::string_view text) {
  size_t i = 0;
  while (i < text.size() && text[i] == ' ') ++i;
  size_t end = text.size();
  while (end > i && text[end - 1] == ' ') --end;
  const size_t start = i;
  if (i < end && (text[i] == '+' || text[i] == '-')) ++i;
  size_t digits = 0;
  while (i < end && IsDigit(text[i])) ++i, ++digits;
  if (i < end && text[i] == '.') {
    ++i;
    while (i < end && IsDigit(text[i])) ++i, ++digits;
  }
  if (digits == 0) return std::nullopt;
  if (i < end && (text[i] == 'e' || text[i] == 'E')) {
    ++i;
    if (i < end && (text[i] == '+' || text[i] == '-')) ++i;
    size_t exponent_digits = 0;
    while (i < end && IsDigit(text[i])) ++i, ++exponent_digits;
    if (exponent_digits == 0) return std::nullopt;
  }
  if (i != end) return std::nullopt;
  // from_chars takes no leading "+"; the syntax has been checked above.
  std::string_view body = text.substr(start, end - start);
  bool negative = false;
  if (body.front() == '+' || body.front() == '-') {
    negative = body.front() == '-';
    body.remove_prefix(1);
  }
  long double value = 0;
  const auto result = std::from_chars(body.data(), body.data() + body.size(), value);
  if (result.ec == std::errc::result_out_of_range) {
    // Underflow reads as zero; overflow does not fit the format.
    const std::string copy(body);
    if (std::fabs(std::strtold(copy.c_str(), nullptr)) > 1) return std::nullopt;
    value = 0;
  } else if (result.ec != std::errc() || result.ptr != body.data() + body.size()) {
    return std::nullopt;
  }
  return negative ? -value : value;
}

std::string FormatInt(int32_t value) { return std::to_string(value); }

std::string FormatReal(long double value) {
  if (std::isnan(value)) return "NAN";
  if (std::isinf(value)) return value < 0 ? "-INF" : "INF";
  if (value == 0) return "0";
  char buffer[64];
  std::snprintf(buffer, sizeof(buffer), "%.14Le", value);
  // buffer: [-]d.dddddddddddddde(+|-)x...
  std::string_view text(buffer);
  std::string out;
  if (text.front() == '-') {
    out.push_back('-');
    text.remove_prefix(1);
  }
  const size_t e_at = text.find('e');
  std::string digits;
  for (size_t k = 0; k < e_at; ++k)
    if (text[k] != '.') digits.push_back(text[k]);
  const int exponent = std::atoi(std::string(text.substr(e_at + 1)).c_str());
  while (digits.size() > 1 && digits.back() == '0') digits.pop_back();
  // point: the number of digits before the decimal point (value = 0.d1d2... x 10^point).
  const int point = exponent + 1;
  if (point > 15 || point < -3) {
    out.push_back(digits[0]);
    if (digits.size() > 1) {
      out.push_back('.');
      out.append(digits, 1);
    }
    out.push_back('E');
    out.append(std::to_string(exponent));
    return out;
  }
  if (point <= 0) {
    out.append("0.");
    out.append(static_cast<size_t>(-point), '0');
    out.append(digits);
    return out;
  }
  const size_t before = static_cast<size_t>(point);
  if (digits.size() <= before) {
    out.append(digits);
    out.append(before - digits.size(), '0');
  } else {
    out.append(digits, 0, before);
    out.push_back('.');
    out.append(digits, before);
  }
  return out;
}

int32_t TruncateRealToInt(long double value) {
  constexpr long double kTwo63 = 9223372036854775808.0L;
  if (!(value > -kTwo63 - 1 && value < kTwo63)) return 0;
  const int64_t whole = static_cast<int64_t>(value);
  return static_cast<int32_t>(static_cast<uint32_t>(static_cast<uint64_t>(whole)));
}

}  // namespace orva
