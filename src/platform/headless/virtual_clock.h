#pragma once
// The headless clock: time moves only when the frame loop advances it, so runs are reproducible.
// The local time starts at a fixed moment (2001-01-01 00:00:00 unless set) plus the virtual time.

#include <cstdint>

#include "platform/clock.h"

namespace orva::platform {

class VirtualClock final : public Clock {
 public:
  VirtualClock();
  explicit VirtualClock(const LocalDateTime& start);

  void Advance(uint32_t milliseconds) { elapsed_ms_ += milliseconds; }
  uint64_t Elapsed() const { return elapsed_ms_; }

  uint32_t TickCount() const override { return static_cast<uint32_t>(elapsed_ms_); }
  LocalDateTime Now() const override;

 private:
  int64_t start_ms_since_epoch_;
  uint64_t elapsed_ms_ = 0;
};

}  // namespace orva::platform
