#pragma once
// StopRequested: the process-wide flag that any part sets to end the run in an orderly way.
// Readers: the entry point, the frame loop and the command loop.

#include <atomic>

namespace orva {

inline std::atomic<bool>& StopRequestedFlag() {
  static std::atomic<bool> flag{false};
  return flag;
}

inline bool StopRequested() { return StopRequestedFlag().load(std::memory_order_relaxed); }
inline void SetStopRequested(bool value) { StopRequestedFlag().store(value, std::memory_order_relaxed); }

}  // namespace orva
