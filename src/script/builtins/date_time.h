#pragma once
// Date-times as reals: whole days since 30 December 1899, the time of day as the fraction.

#include <cstdint>

namespace orva {

struct DateParts {
  int32_t year = 0;
  int32_t month = 0;
  int32_t day = 0;
  int32_t day_of_week = 0;  // 1 = Sunday .. 7 = Saturday
};

struct TimeParts {
  int32_t hour = 0;
  int32_t minute = 0;
  int32_t second = 0;
  int32_t millisecond = 0;
};

// Raise an error for a date or time that does not exist.
long double EncodeDate(int32_t year, int32_t month, int32_t day);
long double EncodeTime(int32_t hour, int32_t minute, int32_t second, int32_t millisecond);

// A date-time too large to count in milliseconds raises an error. Dates before the year 1 decode
// to zeros, as the classic routines do.
DateParts DecodeDate(long double date_time);
TimeParts DecodeTime(long double date_time);

}  // namespace orva
