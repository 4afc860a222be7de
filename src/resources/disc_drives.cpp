#include "resources/disc_drives.h"

#include <fstream>
#include <sstream>

namespace orva {
namespace {

// The mounts table escapes space, tab, newline and backslash as three octal digits.
std::string UnescapeMountField(std::string_view field) {
  std::string out;
  for (size_t i = 0; i < field.size(); ++i) {
    if (field[i] == '\\' && i + 3 < field.size()) {
      const std::string_view digits = field.substr(i + 1, 3);
      bool octal = digits.size() == 3;
      for (char c : digits) octal = octal && c >= '0' && c <= '7';
      if (octal) {
        out += static_cast<char>((digits[0] - '0') * 64 + (digits[1] - '0') * 8 + (digits[2] - '0'));
        i += 3;
        continue;
      }
    }
    out += field[i];
  }
  return out;
}

}  // namespace

std::vector<std::string> OpticalMountRoots(std::string_view mounts_table) {
  std::vector<std::string> roots;
  std::istringstream lines{std::string(mounts_table)};
  std::string line;
  while (std::getline(lines, line)) {
    std::istringstream fields(line);
    std::string device, mount_point, type;
    if (!(fields >> device >> mount_point >> type)) continue;
    if (type != "iso9660" && type != "udf") continue;
    std::string root = UnescapeMountField(mount_point);
    if (root.empty() || root.back() != '/') root += '/';
    roots.push_back(std::move(root));
  }
  return roots;
}

std::vector<std::string> SystemOpticalMountRoots() {
  std::ifstream file("/proc/mounts");
  if (!file) return {};
  std::stringstream text;
  text << file.rdbuf();
  return OpticalMountRoots(text.str());
}

std::string FormatDiskPrompt(std::string_view format, int number) {
  std::string out;
  for (size_t i = 0; i < format.size(); ++i) {
    if (format[i] == '%' && i + 1 < format.size()) {
      if (format[i + 1] == 'd') {
        out += std::to_string(number);
        ++i;
        continue;
      }
      if (format[i + 1] == '%') {
        out += '%';
        ++i;
        continue;
      }
    }
    out += format[i];
  }
  return out;
}

}  // namespace orva
