#include "script/builtins/date_time.h"

#include <cmath>

#include "core/error.h"

namespace orva {
namespace {

constexpr int64_t kMsPerDay = 86400000;
// Days from 1 January of the year 1 (day 1) to 30 December 1899.
constexpr int64_t kDateDelta = 693594;

bool IsLeapYear(int64_t y) { return y % 4 == 0 && (y % 100 != 0 || y % 400 == 0); }

int DaysInMonth(int64_t year, int month) {
  static constexpr int kDays[12] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
  return month == 2 && IsLeapYear(year) ? 29 : kDays[month - 1];
}

// The date-time as days since the year 1 (day 1 = 1 January 1) and milliseconds of the day;
// before 1899 the time of day counts from the date towards midnight, as the classic routine does.
struct Stamp {
  int64_t date;
  int64_t time;
};

Stamp ToStamp(long double t) {
  const long double ms = std::nearbyint(t * static_cast<long double>(kMsPerDay));
  if (!(std::fabs(ms) < 9.2e18L)) throw EOrvaError("日付の値が不正です");
  const auto whole = static_cast<int64_t>(ms);
  const int64_t magnitude = whole < 0 ? -whole : whole;
  const int64_t days = magnitude / kMsPerDay;
  return {(whole < 0 ? -days : days) + kDateDelta, magnitude % kMsPerDay};
}

}  // namespace

long double EncodeDate(int32_t year, int32_t month, int32_t day) {
  if (year < 1 || year > 9999 || month < 1 || month > 12 || day < 1 || day > DaysInMonth(year, month))
    throw EOrvaError("日付の値が不正です");
  int64_t days = day;
  for (int m = 1; m < month; ++m) days += DaysInMonth(year, m);
  const int64_t y = year - 1;
  days += y * 365 + y / 4 - y / 100 + y / 400;
  return static_cast<long double>(days - kDateDelta);
}

long double EncodeTime(int32_t hour, int32_t minute, int32_t second, int32_t millisecond) {
  if (hour < 0 || hour >= 24 || minute < 0 || minute >= 60 || second < 0 || second >= 60 || millisecond < 0 ||
      millisecond >= 1000)
    throw EOrvaError("時刻の値が不正です");
  const int64_t ms = ((int64_t{hour} * 60 + minute) * 60 + second) * 1000 + millisecond;
  return static_cast<long double>(ms) / kMsPerDay;
}

DateParts DecodeDate(long double date_time) {
  const Stamp stamp = ToStamp(date_time);
  DateParts parts;
  if (stamp.date <= 0) return parts;
  parts.day_of_week = static_cast<int32_t>(stamp.date % 7 + 1);
  int64_t t = stamp.date - 1;
  int64_t year = 1 + (t / 146097) * 400;
  t %= 146097;
  int64_t i = t / 36524;
  int64_t d = t % 36524;
  if (i == 4) {
    --i;
    d += 36524;
  }
  year += i * 100;
  year += (d / 1461) * 4;
  d %= 1461;
  i = d / 365;
  d %= 365;
  if (i == 4) {
    --i;
    d += 365;
  }
  year += i;
  int month = 1;
  while (d >= DaysInMonth(year, month)) {
    d -= DaysInMonth(year, month);
    ++month;
  }
  // The year is a 16-bit word in the classic routine.
  parts.year = static_cast<int32_t>(static_cast<uint16_t>(year));
  parts.month = month;
  parts.day = static_cast<int32_t>(d + 1);
  return parts;
}

TimeParts DecodeTime(long double date_time) {
  const Stamp stamp = ToStamp(date_time);
  TimeParts parts;
  int64_t ms = stamp.time;
  parts.hour = static_cast<int32_t>(ms / 3600000);
  ms %= 3600000;
  parts.minute = static_cast<int32_t>(ms / 60000);
  ms %= 60000;
  parts.second = static_cast<int32_t>(ms / 1000);
  parts.millisecond = static_cast<int32_t>(ms % 1000);
  return parts;
}

}  // namespace orva
