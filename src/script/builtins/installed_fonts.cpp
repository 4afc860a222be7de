#include "script/builtins/installed_fonts.h"

#include <fontconfig/fontconfig.h>

#include <memory>
#include <string>

#include "core/encoding.h"

namespace orva {
namespace {

struct PatternDeleter {
  void operator()(FcPattern* p) const { FcPatternDestroy(p); }
};
struct ObjectSetDeleter {
  void operator()(FcObjectSet* s) const { FcObjectSetDestroy(s); }
};
struct FontSetDeleter {
  void operator()(FcFontSet* s) const { FcFontSetDestroy(s); }
};

// The family name in Japanese when the font carries one, else its first family name.
std::string FamilyName(FcPattern* font) {
  FcChar8* first = nullptr;
  FcPatternGetString(font, FC_FAMILY, 0, &first);
  for (int i = 0;; ++i) {
    FcChar8* family = nullptr;
    FcChar8* lang = nullptr;
    if (FcPatternGetString(font, FC_FAMILY, i, &family) != FcResultMatch) break;
    if (FcPatternGetString(font, FC_FAMILYLANG, i, &lang) == FcResultMatch &&
        std::string(reinterpret_cast<const char*>(lang)) == "ja")
      return reinterpret_cast<const char*>(family);
  }
  return first != nullptr ? reinterpret_cast<const char*>(first) : std::string();
}

}  // namespace

std::vector<InstalledFont> ListInstalledJapaneseFonts() {
  std::vector<InstalledFont> fonts;
  if (!FcInit()) return fonts;
  std::unique_ptr<FcPattern, PatternDeleter> pattern(FcPatternCreate());
  if (!pattern) return fonts;
  FcPatternAddBool(pattern.get(), FC_OUTLINE, FcTrue);
  FcPatternAddString(pattern.get(), FC_LANG, reinterpret_cast<const FcChar8*>("ja"));
  std::unique_ptr<FcObjectSet, ObjectSetDeleter> objects(
      FcObjectSetBuild(FC_FAMILY, FC_FAMILYLANG, FC_SPACING, nullptr));
  if (!objects) return fonts;
  std::unique_ptr<FcFontSet, FontSetDeleter> set(FcFontList(nullptr, pattern.get(), objects.get()));
  if (!set) return fonts;
  for (int i = 0; i < set->nfont; ++i) {
    FcPattern* font = set->fonts[i];
    const auto name = TryUtf8ToCp932(FamilyName(font));
    if (!name || name->empty()) continue;
    int spacing = FC_PROPORTIONAL;
    FcPatternGetInteger(font, FC_SPACING, 0, &spacing);
    // Japanese fixed-pitch faces are "dual width": full-width characters twice the half-width.
    fonts.push_back({*name, spacing >= FC_DUAL});
  }
  return fonts;
}

}  // namespace orva
