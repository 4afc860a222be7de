#pragma once
// TOrvaInstallSet: the "install.dat" file the installer leaves beside an installed title. The player
// needs DiskIndex, Title, Installed and the name list; every other field is kept so that writing
// the file back changes nothing it does not mean to.

#include <cstdint>
#include <string>
#include <vector>

namespace orva {

class TOrvaInstallSet {
 public:
  // Reads every version; raises EOrvaError when the data ends early or a count does not fit.
  static TOrvaInstallSet Read(std::string_view bytes);
  // Always the newest layout, "is107", with every field present.
  std::string Write() const;

  // Adds a name to the name list unless it holds one equal to it ignoring case.
  void AddName(const std::string& name);

  int32_t version = 107;
  int32_t disk_index = 0;
  std::string title;
  bool installed = false;
  std::vector<std::string> names;

  // The fields kept as they were read, in file order.
  std::string strings_a[3];
  uint8_t byte_a = 0;
  std::string string_b;
  uint8_t byte_b = 0;
  std::string string_c;
  int32_t int_c = 0;
  uint8_t bytes_c[2] = {0, 0};
  std::string strings_c[2];
  std::vector<int64_t> entry_values;  // four per entry
  int64_t tail_values[4] = {0, 0, 0, 0};
  uint8_t byte_d = 0;
  uint8_t byte_101 = 0;
  uint8_t byte_104 = 0;
  uint8_t byte_105 = 0;
  std::vector<std::string> list_106;
  std::string string_107;
};

}  // namespace orva
