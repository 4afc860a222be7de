// Strings by bytes and by characters, and file names.

#include <algorithm>
#include <array>
#include <cstdio>

#include "core/sjis.h"
#include "script/builtins/builtin_args.h"
#include "script/builtins/builtin_context.h"
#include "script/builtins/text_search.h"
#include "script/japanese_text.h"
#include "script/param.h"
#include "script/value_text.h"

namespace orva {
namespace {

// Byte position p (1-based) and count n clipped to the text, as the classic Copy does.
std::string CopyBytes(const std::string& s, int64_t i, int64_t n) {
  if (i < 1) i = 1;
  const auto size = static_cast<int64_t>(s.size());
  if (i > size || n <= 0) return {};
  n = std::min(n, size - i + 1);
  return s.substr(static_cast<size_t>(i - 1), static_cast<size_t>(n));
}

// Zero-padded after the sign to at least digits digits; a precision beyond 32 is ignored, as the
// classic formatter does.
std::string PadDigits(std::string digits, bool negative, int32_t min_digits) {
  if (min_digits > 32) min_digits = 0;
  if (min_digits > static_cast<int32_t>(digits.size()))
    digits.insert(0, static_cast<size_t>(min_digits) - digits.size(), '0');
  return negative ? "-" + digits : digits;
}

void IntToStr(BuiltinContext&, FunctionCall& c) {
  const int32_t n = ArgInt(c, 0);
  if (!HasArg(c, 1)) return c.dest.SetStr(FormatInt(n));
  const int64_t wide = n;
  const std::string digits = std::to_string(wide < 0 ? -wide : wide);
  c.dest.SetStr(PadDigits(digits, wide < 0, ArgInt(c, 1)));
}

void IntToHex(BuiltinContext&, FunctionCall& c) {
  std::array<char, 16> buffer{};
  std::snprintf(buffer.data(), buffer.size(), "%X", static_cast<uint32_t>(ArgInt(c, 0)));
  c.dest.SetStr(PadDigits(buffer.data(), false, ArgInt(c, 1)));
}

void Length(BuiltinContext&, FunctionCall& c) { c.dest.SetInt(static_cast<int32_t>(ArgStr(c, 0).size())); }
void JLength(BuiltinContext&, FunctionCall& c) { c.dest.SetInt(CharCount(ArgStr(c, 0))); }

void Copy(BuiltinContext&, FunctionCall& c) {
  const std::string s = ArgStr(c, 0);
  const int64_t n = HasArg(c, 2) ? ArgInt(c, 2) : static_cast<int64_t>(s.size()) + 1;
  c.dest.SetStr(CopyBytes(s, ArgInt(c, 1), n));
}

void JCopy(BuiltinContext&, FunctionCall& c) {
  const std::string s = ArgStr(c, 0);
  const int32_t i = ArgInt(c, 1);
  if (HasArg(c, 2)) return c.dest.SetStr(CharCopy(s, i, ArgInt(c, 2)));
  c.dest.SetStr(CharCopy(s, std::max(i, 1), CharCount(s) + 1));
}

void Delete(BuiltinContext&, FunctionCall& c) {
  std::string s = ArgStr(c, 0);
  const int64_t i = ArgInt(c, 1);
  const auto size = static_cast<int64_t>(s.size());
  if (i < 1 || i > size) return;
  int64_t n = HasArg(c, 2) ? ArgInt(c, 2) : size;
  if (n <= 0) return;
  n = std::min(n, size - i + 1);
  s.erase(static_cast<size_t>(i - 1), static_cast<size_t>(n));
  WriteBackStr(c, 0, s);
}

void JDelete(BuiltinContext&, FunctionCall& c) {
  const std::string s = ArgStr(c, 0);
  const int32_t n = HasArg(c, 2) ? ArgInt(c, 2) : CharCount(s);
  WriteBackStr(c, 0, CharDelete(s, ArgInt(c, 1), n));
}

void Insert(BuiltinContext&, FunctionCall& c) {
  const std::string t = ArgStr(c, 0);
  std::string s = ArgStr(c, 1);
  CheckTextSize(static_cast<int64_t>(s.size()) + static_cast<int64_t>(t.size()));
  const int64_t i = std::clamp<int64_t>(ArgInt(c, 2), 1, static_cast<int64_t>(s.size()) + 1);
  s.insert(static_cast<size_t>(i - 1), t);
  WriteBackStr(c, 1, s);
}

void JInsert(BuiltinContext&, FunctionCall& c) {
  const std::string t = ArgStr(c, 0);
  const std::string s = ArgStr(c, 1);
  CheckTextSize(static_cast<int64_t>(s.size()) + static_cast<int64_t>(t.size()));
  WriteBackStr(c, 1, CharInsert(t, s, ArgInt(c, 2)));
}

int32_t CompareBytes(const std::string& a, const std::string& b, bool fold_case) {
  const size_t n = std::min(a.size(), b.size());
  for (size_t k = 0; k < n; ++k) {
    int x = static_cast<uint8_t>(a[k]);
    int y = static_cast<uint8_t>(b[k]);
    if (fold_case) {
      if (x >= 'a' && x <= 'z') x -= 32;
      if (y >= 'a' && y <= 'z') y -= 32;
    }
    if (x != y) return x - y;
  }
  return static_cast<int32_t>(static_cast<int64_t>(a.size()) - static_cast<int64_t>(b.size()));
}

void CompareStr(BuiltinContext&, FunctionCall& c) { c.dest.SetInt(CompareBytes(ArgStr(c, 0), ArgStr(c, 1), false)); }
void CompareText(BuiltinContext&, FunctionCall& c) { c.dest.SetInt(CompareBytes(ArgStr(c, 0), ArgStr(c, 1), true)); }

void Pos(BuiltinContext&, FunctionCall& c) {
  const std::string t = ArgStr(c, 0);
  const std::string s = ArgStr(c, 1);
  const size_t at = FindBytes(s, t);
  c.dest.SetInt(at == std::string::npos ? 0 : static_cast<int32_t>(at + 1));
}

void JPos(BuiltinContext&, FunctionCall& c) {
  const std::string t = ArgStr(c, 0);
  const std::string s = ArgStr(c, 1);
  BoundaryMatcher matcher(s, t);
  const size_t at = matcher.Next(0);
  c.dest.SetInt(at == std::string::npos ? 0 : matcher.CharacterPosition(at));
}

void Trim(BuiltinContext&, FunctionCall& c) {
  const std::string s = ArgStr(c, 0);
  size_t first = 0;
  size_t last = s.size();
  while (first < last && static_cast<uint8_t>(s[first]) <= 32) ++first;
  while (last > first && static_cast<uint8_t>(s[last - 1]) <= 32) --last;
  c.dest.SetStr(s.substr(first, last - first));
}

void JTrim(BuiltinContext&, FunctionCall& c) { c.dest.SetStr(CharTrim(ArgStr(c, 0))); }
void LowerCase(BuiltinContext&, FunctionCall& c) { c.dest.SetStr(sjis::AnsiLowerCase(ArgStr(c, 0))); }
void UpperCase(BuiltinContext&, FunctionCall& c) { c.dest.SetStr(sjis::AnsiUpperCase(ArgStr(c, 0))); }
void HanToZenBody(BuiltinContext&, FunctionCall& c) {
  // Full-width forms take two bytes where the half-width ones took one.
  std::string wide = HanToZen(ArgStr(c, 0));
  CheckTextSize(static_cast<int64_t>(wide.size()));
  c.dest.SetStr(wide);
}
void ZenToHanBody(BuiltinContext&, FunctionCall& c) { c.dest.SetStr(ZenToHan(ArgStr(c, 0))); }

void StringOfChar(BuiltinContext&, FunctionCall& c) {
  const std::string s = ArgStr(c, 0);
  const int32_t n = ArgInt(c, 1);
  if (n <= 0 || s.empty()) return c.dest.SetStr("");
  CheckTextSize(static_cast<int64_t>(s.size()) * n);
  std::string out;
  out.reserve(s.size() * static_cast<size_t>(n));
  for (int32_t k = 0; k < n; ++k) out += s;
  c.dest.SetStr(out);
}

void StringReplace(BuiltinContext&, FunctionCall& c) {
  const bool all = HasArg(c, 3) && ArgBool(c, 3);
  const bool ignore_case = HasArg(c, 4) && ArgBool(c, 4);
  c.dest.SetStr(ReplaceText(ArgStr(c, 0), ArgStr(c, 1), ArgStr(c, 2), all, ignore_case));
}

void FixStr(BuiltinContext&, FunctionCall& c) {
  std::string s = ArgStr(c, 0);
  if (s.size() >= 2) {
    const size_t last = s.size() - 1;
    if (sjis::IsLeadByte(static_cast<uint8_t>(s[last])) && !sjis::IsTrailByteAt(s, last)) s.pop_back();
  }
  c.dest.SetStr(s);
}

// Byte i (1-based) exists and is a character of its own: neither a lead nor a trail byte.
bool SingleByteAt(const std::string& s, int32_t i) {
  if (i < 1 || static_cast<size_t>(i) > s.size()) return false;
  const auto at = static_cast<size_t>(i - 1);
  if (sjis::IsTrailByteAt(s, at)) return false;
  return !(sjis::IsLeadByte(static_cast<uint8_t>(s[at])) && at + 1 < s.size());
}

void IsDelimiter(BuiltinContext&, FunctionCall& c) {
  const std::string delimiters = ArgStr(c, 0);
  const std::string s = ArgStr(c, 1);
  const int32_t i = ArgInt(c, 2);
  c.dest.SetBool(SingleByteAt(s, i) && delimiters.find(s[static_cast<size_t>(i - 1)]) != std::string::npos);
}

void IsPathDelimiter(BuiltinContext&, FunctionCall& c) {
  const std::string s = ArgStr(c, 0);
  const int32_t i = ArgInt(c, 1);
  c.dest.SetBool(i >= 1 && static_cast<size_t>(i) <= s.size() && sjis::IsPathDelimiterAt(s, static_cast<size_t>(i - 1)));
}

void AddDelimiter(BuiltinContext&, FunctionCall& c) {
  const std::string a = ArgStr(c, 0);
  const std::string b = ArgStr(c, 1);
  c.dest.SetStr(b.empty() ? std::string() : b + a);
}

// 0-based position of the last byte of s that is one of delimiters and not a trail byte.
size_t LastDelimiter(const std::string& s, std::string_view delimiters) {
  for (size_t k = s.size(); k > 0; --k) {
    const size_t at = k - 1;
    if (delimiters.find(s[at]) != std::string_view::npos && !sjis::IsTrailByteAt(s, at)) return at;
  }
  return std::string::npos;
}

void ExtractFilePath(BuiltinContext&, FunctionCall& c) {
  const std::string s = ArgStr(c, 0);
  const size_t at = LastDelimiter(s, "\\:");
  c.dest.SetStr(at == std::string::npos ? std::string() : s.substr(0, at + 1));
}

void ExtractFileName(BuiltinContext&, FunctionCall& c) {
  const std::string s = ArgStr(c, 0);
  const size_t at = LastDelimiter(s, "\\:");
  c.dest.SetStr(at == std::string::npos ? s : s.substr(at + 1));
}

void ExtractFileExt(BuiltinContext&, FunctionCall& c) {
  const std::string s = ArgStr(c, 0);
  const size_t at = LastDelimiter(s, ".\\:");
  c.dest.SetStr(at != std::string::npos && s[at] == '.' ? s.substr(at) : std::string());
}

void ChangeFileExt(BuiltinContext&, FunctionCall& c) {
  const std::string s = ArgStr(c, 0);
  const size_t at = LastDelimiter(s, ".\\:");
  const std::string stem = at != std::string::npos && s[at] == '.' ? s.substr(0, at) : s;
  c.dest.SetStr(stem + ArgStr(c, 1));
}

void AddBackSlash(BuiltinContext&, FunctionCall& c) {
  const std::string s = ArgStr(c, 0);
  if (!s.empty() && sjis::IsPathDelimiterAt(s, s.size() - 1)) return c.dest.SetStr(s);
  c.dest.SetStr(s + "\\");
}

constexpr BuiltinRow kRows[] = {
    {0, IntToStr},         {1, IntToHex},         {5, Length},          {6, JLength},
    {7, Copy},             {8, JCopy},            {9, Delete},          {10, JDelete},
    {11, Insert},          {12, JInsert},         {13, CompareStr},     {14, CompareText},
    {15, Pos},             {16, JPos},            {17, Trim},           {18, JTrim},
    {64, FixStr},          {73, LowerCase},       {74, UpperCase},      {75, ExtractFilePath},
    {76, ExtractFileName}, {77, ExtractFileExt},  {78, IsPathDelimiter}, {79, AddBackSlash},
    {80, ChangeFileExt},   {81, IsDelimiter},     {82, StringOfChar},   {83, StringReplace},
    {85, HanToZenBody},    {86, ZenToHanBody},    {133, AddDelimiter},
};

}  // namespace

std::span<const BuiltinRow> StringFunctionRows() { return kRows; }

}  // namespace orva
