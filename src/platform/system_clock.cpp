#include "platform/system_clock.h"

#include <chrono>
#include <ctime>

namespace orva::platform {
namespace {

long long SteadyMilliseconds() {
  using namespace std::chrono;
  return duration_cast<milliseconds>(steady_clock::now().time_since_epoch()).count();
}

}  // namespace

SystemClock::SystemClock() : start_ms_(SteadyMilliseconds()) {}

uint32_t SystemClock::TickCount() const {
  return static_cast<uint32_t>(SteadyMilliseconds() - start_ms_);
}

LocalDateTime SystemClock::Now() const {
  using namespace std::chrono;
  const auto now = system_clock::now();
  const std::time_t seconds = system_clock::to_time_t(now);
  std::tm local{};
  localtime_r(&seconds, &local);
  LocalDateTime t;
  t.year = local.tm_year + 1900;
  t.month = local.tm_mon + 1;
  t.day = local.tm_mday;
  t.hour = local.tm_hour;
  t.minute = local.tm_min;
  t.second = local.tm_sec;
  t.millisecond = static_cast<int>(duration_cast<milliseconds>(now.time_since_epoch()).count() % 1000);
  t.day_of_week = local.tm_wday + 1;
  return t;
}

}  // namespace orva::platform
