// Date-times as day numbers, the clock rows and the font list rows.

#include <gtest/gtest.h>

#include <limits>

#include "core/error.h"
#include "platform/clock.h"
#include "script/builtins/date_time.h"
#include "script/builtins/player_rows.h"
#include "script/builtins/system_variable_rows.h"
#include "script/param_collection.h"

namespace orva {
namespace {

TEST(DateTime, DayNumbersCountFromTheEndOf1899) {
  struct Case {
    int32_t year, month, day;
    long double number;
    int32_t week;
  };
  const Case cases[] = {
      {1899, 12, 30, 0, 7},       {1900, 1, 1, 2, 2},         {1900, 3, 1, 61, 5},
      {2001, 1, 1, 36892, 2},     {2000, 2, 29, 36585, 3},    {1, 1, 1, -693593, 2},
      {9999, 12, 31, 2958465, 6}, {1899, 12, 29, -1, 6},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(EncodeDate(c.year, c.month, c.day), c.number) << c.year << "-" << c.month << "-" << c.day;
    const DateParts parts = DecodeDate(c.number);
    EXPECT_EQ(parts.year, c.year);
    EXPECT_EQ(parts.month, c.month);
    EXPECT_EQ(parts.day, c.day);
    EXPECT_EQ(parts.day_of_week, c.week);
  }
  for (const auto& [y, m, d] : {std::tuple{1900, 2, 29}, {2001, 2, 29}, {0, 1, 1}, {10000, 1, 1}, {2001, 13, 1},
                                {2001, 4, 31}, {2001, 1, 0}}) {
    EXPECT_THROW(EncodeDate(y, m, d), EOrvaError) << y << "-" << m << "-" << d;
  }
  EXPECT_EQ(DecodeDate(-700000).year, 0) << "dates before the year 1 decode to zeros";
}

TEST(DateTime, TimesRoundToTheMillisecond) {
  EXPECT_EQ(EncodeTime(12, 0, 0, 0), 0.5L);
  EXPECT_THROW(EncodeTime(24, 0, 0, 0), EOrvaError);
  EXPECT_THROW(EncodeTime(0, 60, 0, 0), EOrvaError);
  EXPECT_THROW(EncodeTime(0, 0, -1, 0), EOrvaError);

  const TimeParts t = DecodeTime(36892.0L + EncodeTime(18, 30, 15, 250));
  EXPECT_EQ(t.hour, 18);
  EXPECT_EQ(t.minute, 30);
  EXPECT_EQ(t.second, 15);
  EXPECT_EQ(t.millisecond, 250);
  // A moment before midnight within half a millisecond is midnight of the next day.
  EXPECT_EQ(DecodeDate(0.9999999999L).day, 31);
  EXPECT_EQ(DecodeTime(0.9999999999L).hour, 0);
  // Before 1899 the time of day still counts forward from midnight.
  EXPECT_EQ(DecodeTime(-1.25L).hour, 6);
  EXPECT_EQ(DecodeDate(-1.25L).day, 29);
  EXPECT_THROW(DecodeDate(std::numeric_limits<long double>::quiet_NaN()), EOrvaError);
  EXPECT_THROW(DecodeTime(1e300L), EOrvaError);
}

class CountingClock final : public platform::Clock {
 public:
  uint32_t TickCount() const override { return 0; }
  platform::LocalDateTime Now() const override {
    ++calls;
    platform::LocalDateTime t;
    t.year = 2024;
    t.month = 2;
    t.day = 29;
    t.hour = 13;
    t.minute = 45;
    t.second = static_cast<int>(calls);
    t.day_of_week = 5;
    return t;
  }
  mutable int calls = 0;
};

TEST(ClockRows, LocalTimeIsTakenOncePerClockStep) {
  CountingClock clock;
  uint32_t step = 0;
  SystemVariableRows rows;
  RegisterClockRows(rows, clock, [&] { return step; });
  TParamCollection store;
  store.SetSystemHost(&rows);
  auto read = [&](const char* name) { return store.FindVar(name)->Value()->GetInt(); };
  EXPECT_EQ(read("@Year"), 2024);
  EXPECT_EQ(read("@Month"), 2);
  EXPECT_EQ(read("@Day"), 29);
  EXPECT_EQ(read("@Week"), 5);
  EXPECT_EQ(read("@Hour"), 13);
  EXPECT_EQ(read("@Min"), 45);
  EXPECT_EQ(read("@Sec"), 1);
  EXPECT_EQ(clock.calls, 1);
  step = 16;
  EXPECT_EQ(read("@Sec"), 2);
  EXPECT_EQ(read("@sec"), 2);
  EXPECT_EQ(clock.calls, 2);
  store.FindVar("@Year")->Value()->SetInt(1999);
  EXPECT_EQ(read("@Year"), 2024) << "the clock rows ignore writes";
  store.SetSystemHost(nullptr);
}

TEST(FontRows, NamesAreFilteredSortedAndJoined) {
  const std::vector<InstalledFont> fonts = {
      {"b font", false}, {"@vertical", true}, {"A fixed", true}, {"c fixed", true}, {"b font", false}, {"", true}};
  EXPECT_EQ(FontListText(fonts, false), "A fixed\r\nb font\r\nc fixed");
  EXPECT_EQ(FontListText(fonts, true), "A fixed\r\nc fixed");
  EXPECT_EQ(FontListText({}, false), "");
  EXPECT_EQ(FontListText({{" spaced", false}, {"z tail ", false}}, false), "spaced\r\nz tail")
      << "the list is trimmed at its ends";

  SystemVariableRows rows;
  int listed = 0;
  RegisterFontRows(rows, [&] {
    ++listed;
    return fonts;
  });
  TParamCollection store;
  store.SetSystemHost(&rows);
  EXPECT_EQ(store.FindVar("@FixedFonts")->Value()->GetStr(), "A fixed\r\nc fixed");
  EXPECT_EQ(store.FindVar("@Fonts")->Value()->GetStr(), "A fixed\r\nb font\r\nc fixed");
  EXPECT_EQ(listed, 1) << "the fonts are listed once";
  store.SetSystemHost(nullptr);
}

}  // namespace
}  // namespace orva
