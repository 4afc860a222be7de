#pragma once
// The system variables the player answers without a scene, a screen, a history or media: the
// local date and time and the installed Japanese fonts.

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

namespace orva {

namespace platform {
class Clock;
}
class SystemVariableRows;

// @Year .. @Sec: the clock's local time, taken again only when clock_step (the player's
// millisecond clock) has changed.
void RegisterClockRows(SystemVariableRows& rows, const platform::Clock& clock, std::function<uint32_t()> clock_step);

struct InstalledFont {
  std::string name;  // Shift-JIS
  bool fixed_pitch = false;
};

// @Fonts and @FixedFonts from a list of fonts, asked for once when first read.
void RegisterFontRows(SystemVariableRows& rows, std::function<std::vector<InstalledFont>()> list_fonts);

// The text the font rows show: names not beginning with "@", each once, sorted ignoring case,
// joined by line breaks.
std::string FontListText(const std::vector<InstalledFont>& fonts, bool fixed_only);

}  // namespace orva
