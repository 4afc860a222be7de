#include "shell/title_folder.h"

#include "core/encoding.h"
#include "core/sjis.h"

namespace orva {
namespace {

bool EndsWithIgnoringCase(const std::string& text, const std::string& suffix) {
  if (text.size() < suffix.size()) return false;
  return sjis::SameTextIgnoringCase(std::string_view(text).substr(text.size() - suffix.size()), suffix);
}

}  // namespace

TitleLocation LocateTitle(const std::optional<std::string>& argument, const std::string& current_folder) {
  if (!argument) return {current_folder, {}};
  const std::string& arg = *argument;
  if (EndsWithIgnoringCase(arg, ".exe") || EndsWithIgnoringCase(arg, ".scr")) {
    const size_t slash = arg.rfind('/');
    if (slash == std::string::npos) return {current_folder, arg};
    return {arg.substr(0, slash + 1), arg};
  }
  return {arg, {}};
}

bool IsConfigArgument(const std::string& argument) { return sjis::SameTextIgnoringCase(argument, "/config"); }

std::string InstanceName(const std::string& sjis_folder) {
  std::string name = sjis::AnsiUpperCase(sjis_folder);
  const bool ends_with_delimiter =
      !name.empty() && sjis::IsPathDelimiterAt(name, name.size() - 1, /*slash_too=*/true);
  if (!ends_with_delimiter) name += '\\';
  // Decide every delimiter against the unmodified bytes before replacing any of them.
  const std::string original = name;
  for (size_t i = 0; i < original.size(); ++i) {
    if (sjis::IsPathDelimiterAt(original, i, /*slash_too=*/true)) name[i] = '-';
  }
  return name;
}

std::string FolderBytesForInstanceName(const std::string& folder) {
  if (auto converted = TryUtf8ToCp932(folder)) return *converted;
  return folder;
}

}  // namespace orva
