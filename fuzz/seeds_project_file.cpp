// Seeds for fuzz_project_file: project files of every version and install sets.
#include <fstream>
#include <string>

#include "scenario/install_set.h"
#include "scenario/project_file.h"

int main(int argc, char** argv) {
  if (argc != 2) return 2;
  const std::string folder = argv[1];
  for (int version : {103, 104, 106, 109, 110}) {
    orva::ProjectFile p;
    p.version = version;
    p.title = "Demo";
    p.start_page = "start.osb";
    p.exit_page = "exit.osb";
    p.status_variables.push_back({1, "i", int32_t{5}});
    p.status_variables.push_back({2, "r", 1.5L});
    p.status_variables.push_back({3, "f", uint8_t{1}});
    p.status_variables.push_back({4, "s", std::string("x")});
    p.folder_disks.Add("DATA", 2);
    std::ofstream(folder + "/project-" + std::to_string(version), std::ios::binary) << p.Write();
  }
  orva::TOrvaInstallSet s;
  s.title = "Demo";
  s.names = {"a.bmp"};
  s.entry_values = {1, 2, 3, 4};
  std::ofstream(folder + "/install-107", std::ios::binary) << s.Write();
  return 0;
}
