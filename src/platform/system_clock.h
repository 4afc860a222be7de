#pragma once
// The machine's clocks: a steady millisecond counter and the local time.

#include "platform/clock.h"

namespace orva::platform {

class SystemClock final : public Clock {
 public:
  SystemClock();
  uint32_t TickCount() const override;
  LocalDateTime Now() const override;

 private:
  long long start_ms_;
};

}  // namespace orva::platform
