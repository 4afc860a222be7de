#pragma once
// Text helpers the built-in functions share: searching at character boundaries, replacing, and
// splitting into lines.

#include <string>
#include <string_view>
#include <vector>

namespace orva {

// The 0-based byte offset of the first occurrence of pattern in s that starts on a character
// boundary, from byte from on; npos when none or pattern is empty.
size_t FindAtCharBoundary(std::string_view s, std::string_view pattern, size_t from = 0);

// The first (or every) occurrence of old_pattern replaced by new_pattern; with ignore_case the
// search compares upper-cased texts. An empty old_pattern replaces nothing.
std::string ReplaceText(const std::string& s, const std::string& old_pattern, const std::string& new_pattern,
                        bool all, bool ignore_case);

// The lines of a text: carriage return and line feed, or either alone, end a line; a final line
// break adds no empty line.
std::vector<std::string> SplitLines(std::string_view text);

}  // namespace orva
