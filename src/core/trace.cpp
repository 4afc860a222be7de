#include "core/trace.h"

#include <cstdio>

namespace orva {
std::string FormatTraceLine(uint32_t play_time, std::string_view name, int32_t line) {
  char head[16];
  std::snprintf(head, sizeof(head), "%.8x : ", play_time);
  std::string text = head;
  text += name;
  text += '(';
  text += std::to_string(line);
  text += ')';
  return text;
}

}  // namespace orva
