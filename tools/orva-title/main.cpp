// orva-title: builds a runnable title folder from its source form, and describes project files.

#include <stdlib.h>

#include <filesystem>
#include <iostream>
#include <string>
#include <vector>

#include "core/error.h"
#include "resources/atomic_file.h"
#include "resources/folder_archive.h"
#include "resources/local_files.h"
#include "scenario/page_listing.h"
#include "scenario/project_source.h"
#include "tool_main.h"

namespace {

namespace fs = std::filesystem;

const char kUsage[] = "usage: orva-title build SRC OUT [--pack] | describe orva.opb";

const char kHelp[] =
    "Usage: orva-title build SRC OUT [--pack]\n"
    "       orva-title describe orva.opb\n"
    "\n"
    "build makes the title folder OUT from the source folder SRC: SRC/project.txt becomes\n"
    "OUT/orva.opb, every NAME.page listing (the form orva-page dis prints) becomes NAME.osb, and\n"
    "every other file is copied as it is, keeping sub-folders. With --pack everything but orva.opb\n"
    "goes into the archive OUT/game.dat instead.\n"
    "describe prints a project file in the form of project.txt.\n";

const char kPageSuffix[] = ".page";

void Build(const fs::path& source, const fs::path& output, bool pack) {
  if (pack) {
    // Build everything in a private folder beside OUT, then archive all but the project file.
    fs::create_directories(output);
    std::string staging = (output / ".pack-XXXXXX").string();
    if (mkdtemp(staging.data()) == nullptr) throw orva::EOrvaError(output.string() + ": cannot make a folder to pack in");
    struct Remove {
      std::string path;
      ~Remove() {
        std::error_code ec;
        fs::remove_all(path, ec);
      }
    } remove{staging};
    Build(source, staging, false);
    fs::rename(fs::path(staging) / "orva.opb", output / "orva.opb");
    orva::WriteFolderArchive((output / "game.dat").string(), staging);
    return;
  }
  if (!fs::is_directory(source)) throw orva::EOrvaError(source.string() + ": not a folder");
  const fs::path project = source / "project.txt";
  if (!fs::is_regular_file(project)) throw orva::EOrvaError(project.string() + ": the project description is missing");
  fs::create_directories(output);
  try {
    orva::WriteFileAtomically((output / "orva.opb").string(),
                              orva::ParseProjectSource(orva::ReadLocalFile(project.string())).Write());
  } catch (const orva::EOrvaError& e) {
    throw orva::EOrvaError(project.string() + ": " + e.what());
  }
  for (auto it = fs::recursive_directory_iterator(source); it != fs::recursive_directory_iterator(); ++it) {
    if (!it->is_regular_file() || it->path() == project) continue;
    const fs::path relative = it->path().lexically_relative(source);
    std::string name = relative.string();
    fs::create_directories((output / relative).parent_path());
    const std::string bytes = orva::ReadLocalFile(it->path().string());
    if (name.size() > sizeof(kPageSuffix) - 1 && name.ends_with(kPageSuffix)) {
      name.resize(name.size() - (sizeof(kPageSuffix) - 1));
      try {
        orva::WriteFileAtomically((output / (name + ".osb")).string(),
                                  orva::WritePageRecord(orva::AssemblePage(bytes)));
      } catch (const orva::EOrvaError& e) {
        throw orva::EOrvaError(it->path().string() + ": " + e.what());
      }
    } else {
      orva::WriteFileAtomically((output / relative).string(), bytes);
    }
  }
}

void Run(const std::vector<std::string>& args) {
  if (args[0] == "build" && (args.size() == 3 || (args.size() == 4 && args[3] == "--pack"))) {
    Build(args[1], args[2], args.size() == 4);
  } else if (args[0] == "describe" && args.size() == 2) {
    std::cout << orva::WriteProjectSource(orva::ProjectFile::Read(orva::ReadLocalFile(args[1])));
  } else {
    throw orva::tool::UsageError("unknown command or wrong number of arguments");
  }
}

}  // namespace

int main(int argc, char** argv) { return orva::tool::ToolMain({"orva-title", kUsage, kHelp}, argc, argv, Run); }
