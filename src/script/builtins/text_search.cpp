#include "script/builtins/text_search.h"


#include "core/sjis.h"
#include "script/builtins/builtin_args.h"

namespace orva {

bool BoundaryMatcher::AtBoundary(size_t offset) {
  while (walk_ < offset) {
    walk_ += sjis::CharLengthAt(s_, walk_);
    ++walked_characters_;
  }
  return walk_ == offset;
}

int32_t BoundaryMatcher::CharacterPosition(size_t offset) {
  AtBoundary(offset);
  return walked_characters_ + 1;
}

size_t BoundaryMatcher::NextByPrefixTable(size_t from) {
  const size_t m = pattern_.size();
  if (prefix_.empty()) {
    prefix_.assign(m, 0);
    for (size_t i = 1, k = 0; i < m; ++i) {
      while (k > 0 && pattern_[i] != pattern_[k]) k = static_cast<size_t>(prefix_[k - 1]);
      if (pattern_[i] == pattern_[k]) ++k;
      prefix_[i] = static_cast<int32_t>(k);
    }
  }
  while (scan_ < s_.size()) {
    const char c = s_[scan_++];
    while (matched_ > 0 && c != pattern_[matched_]) matched_ = static_cast<size_t>(prefix_[matched_ - 1]);
    if (c == pattern_[matched_]) ++matched_;
    if (matched_ < m) continue;
    matched_ = static_cast<size_t>(prefix_[m - 1]);
    const size_t start = scan_ - m;
    if (start >= from && AtBoundary(start)) return start;
  }
  return std::string_view::npos;
}

size_t BoundaryMatcher::Next(size_t from) {
  if (pattern_.empty()) return std::string_view::npos;
  if (!prefix_.empty()) return NextByPrefixTable(from);
  const size_t at = FindBytes(s_, pattern_, from);
  if (at == std::string_view::npos || AtBoundary(at)) return at;
  scan_ = at + 1;
  matched_ = 0;
  return NextByPrefixTable(from);
}

std::string ReplaceText(const std::string& s, const std::string& old_pattern, const std::string& new_pattern,
                        bool all, bool ignore_case) {
  // Upper-casing changes single-byte letters only, so the character boundaries stay where they were.
  const std::string search = ignore_case ? sjis::AnsiUpperCase(s) : s;
  const std::string pattern = ignore_case ? sjis::AnsiUpperCase(old_pattern) : old_pattern;
  BoundaryMatcher matcher(search, pattern);
  std::string out;
  size_t from = 0;
  while (from < s.size()) {
    const size_t at = matcher.Next(from);
    if (at == std::string::npos) break;
    out.append(s, from, at - from);
    out += new_pattern;
    CheckTextSize(static_cast<int64_t>(out.size()));
    from = at + pattern.size();
    if (!all) break;
  }
  out.append(s, std::min(from, s.size()), std::string::npos);
  CheckTextSize(static_cast<int64_t>(out.size()));
  return out;
}

bool LineReader::Next(std::string_view& line) {
  if (position_ >= text_.size()) return false;
  const size_t start = position_;
  size_t p = start;
  while (p < text_.size() && text_[p] != '\r' && text_[p] != '\n') ++p;
  line = text_.substr(start, p - start);
  if (p < text_.size() && text_[p] == '\r') ++p;
  if (p < text_.size() && text_[p] == '\n') ++p;
  position_ = p;
  return true;
}

std::vector<std::string> SplitLines(std::string_view text) {
  std::vector<std::string> lines;
  LineReader reader(text);
  for (std::string_view line; reader.Next(line);) lines.emplace_back(line);
  return lines;
}

size_t LineCount(std::string_view text) {
  size_t count = 0;
  LineReader reader(text);
  for (std::string_view line; reader.Next(line);) ++count;
  return count;
}

namespace {

// Calls piece(offset, length) for every piece. Each piece is one run of s: it ends before a
// separator and the next one starts right after it (with the second byte of a character whose
// first byte cut, when there is one).
template <typename Piece>
void VisitPieces(std::string_view s, std::string_view separators, Piece piece) {
  size_t start = 0;
  // Character by character: a separator byte counts only where a character starts.
  for (size_t k = 0; k < s.size();) {
    const size_t length = sjis::CharLengthAt(s, k);
    if (separators.find(s[k]) != std::string_view::npos) {
      piece(start, k - start);
      start = k + 1;
    }
    k += length;
  }
  if (start < s.size()) piece(start, s.size() - start);
}

}  // namespace

std::vector<std::string> SplitAtBytes(std::string_view s, std::string_view separators) {
  std::vector<std::string> pieces;
  VisitPieces(s, separators, [&](size_t offset, size_t length) { pieces.emplace_back(s.substr(offset, length)); });
  return pieces;
}

size_t PieceCount(std::string_view s, std::string_view separators) {
  size_t count = 0;
  VisitPieces(s, separators, [&](size_t, size_t) { ++count; });
  return count;
}

}  // namespace orva
