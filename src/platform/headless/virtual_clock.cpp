#include "platform/headless/virtual_clock.h"

#include <chrono>

namespace orva::platform {
namespace {

using namespace std::chrono;

int64_t ToEpochMilliseconds(const LocalDateTime& t) {
  const sys_days day = year_month_day{year{t.year}, month{static_cast<unsigned>(t.month)},
                                      std::chrono::day{static_cast<unsigned>(t.day)}};
  return duration_cast<milliseconds>(day.time_since_epoch()).count() +
         ((int64_t{t.hour} * 60 + t.minute) * 60 + t.second) * 1000 + t.millisecond;
}

}  // namespace

VirtualClock::VirtualClock() : VirtualClock(LocalDateTime{2001, 1, 1, 0, 0, 0, 0, 2}) {}

VirtualClock::VirtualClock(const LocalDateTime& start) : start_ms_since_epoch_(ToEpochMilliseconds(start)) {}

LocalDateTime VirtualClock::Now() const {
  const int64_t now = start_ms_since_epoch_ + static_cast<int64_t>(elapsed_ms_);
  const sys_days day = floor<days>(sys_time<milliseconds>(milliseconds(now)));
  const int64_t in_day = now - duration_cast<milliseconds>(day.time_since_epoch()).count();
  const year_month_day ymd{day};
  LocalDateTime t;
  t.year = static_cast<int>(ymd.year());
  t.month = static_cast<int>(static_cast<unsigned>(ymd.month()));
  t.day = static_cast<int>(static_cast<unsigned>(ymd.day()));
  t.hour = static_cast<int>(in_day / 3600000);
  t.minute = static_cast<int>(in_day / 60000 % 60);
  t.second = static_cast<int>(in_day / 1000 % 60);
  t.millisecond = static_cast<int>(in_day % 1000);
  t.day_of_week = static_cast<int>(weekday{day}.c_encoding()) + 1;
  return t;
}

}  // namespace orva::platform
