// orva-page: lists a scenario page as text and assembles a page from such a listing.

#include <iostream>
#include <string>
#include <vector>

#include "core/error.h"
#include "resources/atomic_file.h"
#include "resources/local_files.h"
#include "scenario/page_listing.h"

namespace {

const char kUsage[] =
    "Usage: orva-page dis PAGE.osb\n"
    "       orva-page asm SOURCE OUT.osb\n"
    "\n"
    "dis lists a scenario page as text: its header, property sets and one block per command with\n"
    "its fields, expressions shown as text. asm builds the page back from such a listing; a page\n"
    "listed by dis is rebuilt byte for byte.\n";

int Usage(const std::string& problem) {
  std::cerr << "orva-page: " << problem << " (see orva-page --help)\n";
  return 2;
}

}  // namespace

int main(int argc, char** argv) {
  const std::vector<std::string> args(argv + 1, argv + argc);
  if (args.size() == 1 && args[0] == "--help") {
    std::cout << kUsage;
    return 0;
  }
  if (args.size() == 1 && args[0] == "--version") {
    std::cout << "orva-page " << ORVA_VERSION << "\n";
    return 0;
  }
  try {
    if (args.size() == 2 && args[0] == "dis") {
      std::cout << orva::ListPage(orva::ReadPageRecord(orva::ReadLocalFile(args[1])));
      return 0;
    }
    if (args.size() == 3 && args[0] == "asm") {
      const orva::PageRecord page = orva::AssemblePage(orva::ReadLocalFile(args[1]));
      orva::WriteFileAtomically(args[2], orva::WritePageRecord(page));
      return 0;
    }
  } catch (const orva::EOrvaError& e) {
    std::cerr << "orva-page: " << e.what() << "\n";
    return 1;
  }
  if (args.empty()) return Usage("a command is needed");
  return Usage("unknown command or wrong number of arguments");
}
