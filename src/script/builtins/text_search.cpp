#include "script/builtins/text_search.h"

#include "core/sjis.h"
#include "script/builtins/builtin_args.h"

namespace orva {

size_t FindAtCharBoundary(std::string_view s, std::string_view pattern, size_t from) {
  if (pattern.empty()) return std::string_view::npos;
  for (size_t at = s.find(pattern, from); at != std::string_view::npos; at = s.find(pattern, at + 1)) {
    if (!sjis::IsTrailByteAt(s, at)) return at;
  }
  return std::string_view::npos;
}

std::string ReplaceText(const std::string& s, const std::string& old_pattern, const std::string& new_pattern,
                        bool all, bool ignore_case) {
  const std::string search = ignore_case ? sjis::AnsiUpperCase(s) : s;
  const std::string pattern = ignore_case ? sjis::AnsiUpperCase(old_pattern) : old_pattern;
  std::string out;
  size_t from = 0;
  while (from < s.size()) {
    const size_t at = FindAtCharBoundary(search, pattern, from);
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

std::vector<std::string> SplitLines(std::string_view text) {
  std::vector<std::string> lines;
  size_t p = 0;
  while (p < text.size()) {
    const size_t start = p;
    while (p < text.size() && text[p] != '\r' && text[p] != '\n') ++p;
    lines.emplace_back(text.substr(start, p - start));
    if (p < text.size() && text[p] == '\r') ++p;
    if (p < text.size() && text[p] == '\n') ++p;
  }
  return lines;
}

}  // namespace orva
