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

namespace trace_detail {
inline TraceSink* installed_sink = nullptr;
}

// The installed sink, or nullptr when tracing is off. Not owned. Asked before every command, so
// it is a plain read.
inline TraceSink* CurrentTraceSink() { return trace_detail::installed_sink; }
inline void InstallTraceSink(TraceSink* sink) { trace_detail::installed_sink = sink; }

// "%.8x : %s(%d)": the play time in 8 lowercase hex digits, the name and the number.
std::string FormatTraceLine(uint32_t play_time, std::string_view name, int32_t line);

}  // namespace orva
