#pragma once
// The trace of executed commands ("%.8x : %s(%d)" lines). Off unless a sink is installed, which
// "--trace FILE" does; lines arrive as Shift-JIS and the sink converts them for the file.

#include <cstdint>
#include <string>
#include <string_view>

namespace orva {

class TraceSink {
 public:
  virtual ~TraceSink() = default;
  virtual void WriteLine(std::string_view sjis_line) = 0;
};

// The installed sink, or nullptr when tracing is off. Not owned.
TraceSink* CurrentTraceSink();
void InstallTraceSink(TraceSink* sink);

// "%.8x : %s(%d)": the play time in 8 lowercase hex digits, the name and the number.
std::string FormatTraceLine(uint32_t play_time, std::string_view name, int32_t line);

}  // namespace orva
