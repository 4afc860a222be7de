#pragma once
// The outline fonts of this machine that cover Japanese, as the font rows list them.

#include <vector>

#include "script/builtins/player_rows.h"

namespace orva {

// Family names in Shift-JIS (the Japanese name where the font has one); names that have no
// Shift-JIS form are left out.
std::vector<InstalledFont> ListInstalledJapaneseFonts();

}  // namespace orva
