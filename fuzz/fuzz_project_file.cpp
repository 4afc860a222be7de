// The project file and the install set.
#include <cstddef>
#include <cstdint>
#include <cstdlib>

#include "core/error.h"
#include "scenario/install_set.h"
#include "scenario/project_file.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string_view bytes(reinterpret_cast<const char*>(data), size);
  try {
    const orva::ProjectFile project = orva::ProjectFile::Read(bytes);
    if (project.version <= orva::ProjectFile::kNewestVersion) {
      const std::string written = project.Write();
      if (orva::ProjectFile::Read(written).Write() != written) std::abort();
    }
  } catch (const orva::EOrvaError&) {
  }
  try {
    orva::TOrvaInstallSet set = orva::TOrvaInstallSet::Read(bytes);
    set.AddName("name");
    const std::string written = set.Write();
    if (orva::TOrvaInstallSet::Read(written).Write() != written) std::abort();
  } catch (const orva::EOrvaError&) {
  }
  return 0;
}
