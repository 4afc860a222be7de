#include "script/japanese_text.h"

#include <algorithm>
#include <array>
#include <unordered_map>
#include <vector>

#include "core/encoding.h"
#include "core/error.h"
#include "core/sjis.h"

namespace orva {
namespace {

[[noreturn]] void ThrowIndexError() { throw EOrvaError("文字の位置が不正です"); }

// Characters are found by walking forward from the start: texts may be hundreds of megabytes, so
// no table of their offsets is built.

// The byte offset reached from byte from after count characters, at most the text's size.
size_t Advance(std::string_view s, size_t from, int64_t count) {
  size_t i = from;
  for (int64_t k = 0; k < count && i < s.size(); ++k) i += sjis::CharLengthAt(s, i);
  return std::min(i, s.size());
}

// Byte offset of 1-based character position p (clamped to 1 .. count + 1).
size_t OffsetOf(std::string_view s, int64_t p) { return Advance(s, 0, std::max<int64_t>(p, 1) - 1); }

bool IsDoubleByteSpace(std::string_view s, size_t at) {
  return at + 1 < s.size() && static_cast<uint8_t>(s[at]) == 0x81 && static_cast<uint8_t>(s[at + 1]) == 0x40;
}

struct WidthTables {
  std::array<std::string, 256> han_to_zen;                // by single byte
  std::unordered_map<uint16_t, std::string> voiced;        // half-width base * 256 + mark
  std::unordered_map<uint16_t, std::string> zen_to_han;    // by double-byte code
};

uint16_t CodeOf(const std::string& sjis) {
  return static_cast<uint16_t>(static_cast<uint8_t>(sjis[0]) << 8 | static_cast<uint8_t>(sjis[1]));
}

// Splits UTF-8 text into its characters.
std::vector<std::string> Characters(std::string_view utf8) {
  std::vector<std::string> out;
  for (size_t i = 0; i < utf8.size();) {
    const uint8_t b = static_cast<uint8_t>(utf8[i]);
    const size_t len = b < 0x80 ? 1 : b < 0xE0 ? 2 : b < 0xF0 ? 3 : 4;
    out.emplace_back(utf8.substr(i, len));
    i += len;
  }
  return out;
}

const WidthTables& Tables() {
  static const WidthTables tables = [] {
    WidthTables t;
    auto add_pair = [&](uint8_t han, const std::string& zen_utf8, bool reverse) {
      const std::string zen = Utf8ToCp932(zen_utf8);
      t.han_to_zen[han] = zen;
      if (reverse) t.zen_to_han[CodeOf(zen)] = std::string(1, static_cast<char>(han));
    };
    add_pair(' ', "　", true);
    for (int c = 0x21; c <= 0x7E; ++c) {
      std::string utf8;
      switch (c) {
        case '"': utf8 = "”"; break;
        case '\'': utf8 = "’"; break;
        case '\\': utf8 = "￥"; break;
        case '`': utf8 = "‘"; break;
        default: {
          const uint32_t cp = 0xFF01 + static_cast<uint32_t>(c - 0x21);
          utf8 = {static_cast<char>(0xE0 | (cp >> 12)), static_cast<char>(0x80 | ((cp >> 6) & 0x3F)),
                  static_cast<char>(0x80 | (cp & 0x3F))};
        }
      }
      add_pair(static_cast<uint8_t>(c), utf8, true);
    }
    t.zen_to_han[CodeOf(Utf8ToCp932("“"))] = "\"";

    const std::vector<std::string> kana = Characters(
        "。「」、・ヲァィゥェォャュョッーアイウエオカキクケコサシスセソタチツテトナニヌネノハヒフヘホマミムメモヤユヨラリルレロワン゛゜");
    for (size_t k = 0; k < kana.size(); ++k) add_pair(static_cast<uint8_t>(0xA1 + k), kana[k], true);

    auto add_voiced = [&](uint8_t first, uint8_t mark, std::string_view utf8) {
      const std::vector<std::string> forms = Characters(utf8);
      for (size_t k = 0; k < forms.size(); ++k) {
        const std::string zen = Utf8ToCp932(forms[k]);
        const uint8_t base = static_cast<uint8_t>(first + k);
        t.voiced[static_cast<uint16_t>(base << 8 | mark)] = zen;
        t.zen_to_han[CodeOf(zen)] = std::string{static_cast<char>(base), static_cast<char>(mark)};
      }
    };
    add_voiced(0xB6, 0xDE, "ガギグゲゴザジズゼゾダヂヅデド");
    add_voiced(0xCA, 0xDE, "バビブベボ");
    add_voiced(0xCA, 0xDF, "パピプペポ");
    return t;
  }();
  return tables;
}

}  // namespace

int32_t CharCount(std::string_view s) {
  int32_t count = 0;
  for (size_t i = 0; i < s.size(); i += sjis::CharLengthAt(s, i)) ++count;
  return count;
}

uint32_t CharAt(std::string_view s, int32_t n) {
  if (n < 1) ThrowIndexError();
  const size_t at = OffsetOf(s, n);
  if (at >= s.size()) ThrowIndexError();
  if (sjis::CharLengthAt(s, at) == 1) return static_cast<uint8_t>(s[at]);
  return static_cast<uint32_t>(static_cast<uint8_t>(s[at]) << 8 | static_cast<uint8_t>(s[at + 1]));
}

int32_t BytePos(std::string_view s, int32_t n) {
  if (n < 1) return 0;
  // Position count + 1 is the end of the text; later ones do not exist.
  if (n > 1 && OffsetOf(s, n - 1) >= s.size()) return 0;
  return static_cast<int32_t>(OffsetOf(s, n)) + 1;
}

bool IsTrailByte(std::string_view s, int32_t i) {
  if (i < 1 || i > static_cast<int32_t>(s.size())) ThrowIndexError();
  return sjis::IsTrailByteAt(s, static_cast<size_t>(i - 1));
}

std::string CharCopy(std::string_view s, int32_t start, int32_t count) {
  if (count <= 0) return {};
  const int64_t first = std::max<int64_t>(1, start);
  const int64_t end = int64_t{start} + count;  // exclusive
  if (end <= first) return {};
  const size_t from = OffsetOf(s, first);
  if (from >= s.size()) return {};
  const size_t to = Advance(s, from, end - first);
  return std::string(s.substr(from, to - from));
}

std::string CharDelete(std::string_view s, int32_t start, int32_t count) {
  if (start < 1) start = 1;
  const size_t from = OffsetOf(s, start);
  if (from >= s.size() || count <= 0) return std::string(s);
  const size_t to = Advance(s, from, count);
  std::string out(s);
  out.erase(from, to - from);
  return out;
}

std::string CharInsert(std::string_view t, std::string_view s, int32_t pos) {
  const size_t at = OffsetOf(s, pos);
  std::string out(s);
  out.insert(at, t);
  return out;
}

std::string CharTrim(std::string_view s) {
  auto is_space = [&](size_t at) { return s[at] == ' ' || IsDoubleByteSpace(s, at); };
  size_t from = 0;
  while (from < s.size() && is_space(from)) from += sjis::CharLengthAt(s, from);
  size_t to = from;  // the end of the last character that is not a space
  for (size_t i = from; i < s.size();) {
    const size_t next = std::min(i + sjis::CharLengthAt(s, i), s.size());
    if (!is_space(i)) to = next;
    i = next;
  }
  return std::string(s.substr(from, to - from));
}

std::string SplitFirst(std::string& s, std::string_view delimiters) {
  if (!delimiters.empty()) {
    for (size_t i = 0; i < s.size(); i += sjis::CharLengthAt(s, i)) {
      if (delimiters.find(s[i]) == std::string_view::npos) continue;
      std::string before = s.substr(0, i);
      s.erase(0, i + 1);
      return before;
    }
  }
  std::string all = std::move(s);
  s.clear();
  return all;
}

std::string HanToZen(std::string_view s) {
  const WidthTables& t = Tables();
  std::string out;
  for (size_t i = 0; i < s.size();) {
    if (sjis::CharLengthAt(s, i) == 2) {
      out.append(s.substr(i, 2));
      i += 2;
      continue;
    }
    const uint8_t b = static_cast<uint8_t>(s[i]);
    if (i + 1 < s.size()) {
      const uint8_t mark = static_cast<uint8_t>(s[i + 1]);
      if (mark == 0xDE || mark == 0xDF) {
        const auto voiced = t.voiced.find(static_cast<uint16_t>(b << 8 | mark));
        if (voiced != t.voiced.end()) {
          out += voiced->second;
          i += 2;
          continue;
        }
      }
    }
    out += t.han_to_zen[b];  // empty for bytes without a full-width form: dropped
    ++i;
  }
  return out;
}

std::string ZenToHan(std::string_view s) {
  const WidthTables& t = Tables();
  std::string out;
  for (size_t i = 0; i < s.size();) {
    if (sjis::CharLengthAt(s, i) == 1) {
      out.push_back(s[i]);
      ++i;
      continue;
    }
    const uint16_t code = static_cast<uint16_t>(static_cast<uint8_t>(s[i]) << 8 | static_cast<uint8_t>(s[i + 1]));
    const auto half = t.zen_to_han.find(code);
    if (half != t.zen_to_han.end()) {
      out += half->second;
    } else {
      out.append(s.substr(i, 2));
    }
    i += 2;
  }
  return out;
}

}  // namespace orva
