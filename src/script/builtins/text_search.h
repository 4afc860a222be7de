#pragma once
// Text helpers the built-in functions share: searching (at character boundaries or anywhere),
// replacing, and splitting into lines or pieces. Every search is linear in the lengths of the
// texts however they repeat: a title may hand us hundreds of megabytes of one byte.

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "core/byte_search.h"

namespace orva {

// The occurrences of a pattern in s that start on a character boundary, left to right. Both
// texts must outlive the matcher.
class BoundaryMatcher {
 public:
  BoundaryMatcher(std::string_view s, std::string_view pattern) : s_(s), pattern_(pattern) {}
  // The first such occurrence at or after from; from must not go back between calls. npos when
  // none or the pattern is empty.
  size_t Next(size_t from);
  // The 1-based character position of a boundary offset that Next returned.
  int32_t CharacterPosition(size_t offset);

 private:
  bool AtBoundary(size_t offset);
  size_t NextByPrefixTable(size_t from);

  std::string_view s_;
  std::string_view pattern_;
  // A forward walk over the characters of s: a character start and how many came before it.
  size_t walk_ = 0;
  int32_t walked_characters_ = 0;
  // After a candidate on a second byte, the rest of s is scanned once with the pattern's prefix
  // table instead of searching again from every rejected candidate.
  std::vector<int32_t> prefix_;
  size_t scan_ = 0;
  size_t matched_ = 0;
};

// The first (or every) occurrence of old_pattern replaced by new_pattern; with ignore_case the
// search compares upper-cased texts. An empty old_pattern replaces nothing.
std::string ReplaceText(const std::string& s, const std::string& old_pattern, const std::string& new_pattern,
                        bool all, bool ignore_case);

// The lines of a text one at a time: carriage return and line feed, or either alone, end a line;
// a final line break adds no empty line. The text must outlive the reader.
class LineReader {
 public:
  explicit LineReader(std::string_view text) : text_(text) {}
  bool Next(std::string_view& line);

 private:
  std::string_view text_;
  size_t position_ = 0;
};

// All the lines of a text, as LineReader finds them.
std::vector<std::string> SplitLines(std::string_view text);
size_t LineCount(std::string_view text);

// Pieces of s cut at every byte that is one of separators and not the second byte of a
// character; empty pieces between two separators count, a trailing separator adds no empty
// piece, an empty s has none.
std::vector<std::string> SplitAtBytes(std::string_view s, std::string_view separators);
size_t PieceCount(std::string_view s, std::string_view separators);

}  // namespace orva
