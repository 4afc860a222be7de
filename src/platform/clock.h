#pragma once
// The clock every part reads time from. The desktop backend follows the machine's clocks; the
// headless backend advances a virtual clock by a fixed step per frame turn.

#include <cstdint>

namespace orva::platform {

struct LocalDateTime {
  int year = 0;
  int month = 0;   // 1..12
  int day = 0;     // 1..31
  int hour = 0;
  int minute = 0;
  int second = 0;
  int millisecond = 0;
  int day_of_week = 0;  // 1 = Sunday .. 7 = Saturday
};

class Clock {
 public:
  virtual ~Clock() = default;
  // Milliseconds since an arbitrary start, wrapping at 2^32 like the system tick counter.
  virtual uint32_t TickCount() const = 0;
  // The local date and time now.
  virtual LocalDateTime Now() const = 0;
};

}  // namespace orva::platform
