#include "script/builtins/player_rows.h"

#include <algorithm>
#include <memory>
#include <optional>
#include <string_view>

#include "core/sjis.h"
#include "platform/clock.h"
#include "script/builtins/system_variable_rows.h"

namespace orva {

void RegisterClockRows(SystemVariableRows& rows, const platform::Clock& clock, std::function<uint32_t()> clock_step) {
  struct Cache {
    std::optional<uint32_t> step;
    platform::LocalDateTime now;
  };
  auto cache = std::make_shared<Cache>();
  auto now = [cache, &clock, clock_step]() -> const platform::LocalDateTime& {
    const uint32_t step = clock_step();
    if (cache->step != step) {
      cache->now = clock.Now();
      cache->step = step;
    }
    return cache->now;
  };
  const std::pair<int, int platform::LocalDateTime::*> parts[] = {
      {SV_YEAR, &platform::LocalDateTime::year},         {SV_MONTH, &platform::LocalDateTime::month},
      {SV_DAY, &platform::LocalDateTime::day},           {SV_WEEK, &platform::LocalDateTime::day_of_week},
      {SV_HOUR, &platform::LocalDateTime::hour},         {SV_MIN, &platform::LocalDateTime::minute},
      {SV_SEC, &platform::LocalDateTime::second},
  };
  for (const auto& part : parts) {
    int platform::LocalDateTime::*member = part.second;
    SystemVariableRows::Row row;
    row.read = [now, member](int32_t, SystemValue& out) { out.int_value = now().*member; };
    rows.SetRow(part.first, row);
  }
}

namespace {

// Every byte up to the space counts as a blank for trimming.
constexpr std::string_view kBlanks(
    "\x01\x02\x03\x04\x05\x06\x07\x08\x09\x0a\x0b\x0c\x0d\x0e\x0f\x10\x11\x12\x13\x14\x15\x16\x17\x18"
    "\x19\x1a\x1b\x1c\x1d\x1e\x1f\x20\x00",
    33);

}  // namespace

std::string FontListText(const std::vector<InstalledFont>& fonts, bool fixed_only) {
  std::vector<std::string> names;
  for (const InstalledFont& font : fonts) {
    if (fixed_only && !font.fixed_pitch) continue;
    if (font.name.empty() || font.name[0] == '@') continue;
    names.push_back(font.name);
  }
  auto key = [](const std::string& s) { return sjis::AnsiUpperCase(s); };
  std::sort(names.begin(), names.end(), [&](const std::string& a, const std::string& b) {
    const std::string ka = key(a);
    const std::string kb = key(b);
    return ka != kb ? ka < kb : a < b;
  });
  names.erase(std::unique(names.begin(), names.end()), names.end());
  std::string text;
  for (const std::string& name : names) {
    if (!text.empty()) text += "\r\n";
    text += name;
  }
  // The whole list is trimmed: a name with blanks at the start or end loses them at the ends.
  const size_t first = text.find_first_not_of(kBlanks);
  if (first == std::string::npos) return {};
  return text.substr(first, text.find_last_not_of(kBlanks) - first + 1);
}

void RegisterFontRows(SystemVariableRows& rows, std::function<std::vector<InstalledFont>()> list_fonts) {
  struct Cache {
    std::function<std::vector<InstalledFont>()> list;
    std::optional<std::vector<InstalledFont>> fonts;
    const std::vector<InstalledFont>& Fonts() {
      if (!fonts) fonts = list ? list() : std::vector<InstalledFont>();
      return *fonts;
    }
  };
  auto cache = std::make_shared<Cache>();
  cache->list = std::move(list_fonts);
  SystemVariableRows::Row all;
  all.read = [cache](int32_t, SystemValue& out) { out.str_value = FontListText(cache->Fonts(), false); };
  rows.SetRow(SV_FONTS, all);
  SystemVariableRows::Row fixed;
  fixed.read = [cache](int32_t, SystemValue& out) { out.str_value = FontListText(cache->Fonts(), true); };
  rows.SetRow(SV_FIXEDFONTS, fixed);
}

}  // namespace orva
