// orva-page: lists a scenario page as text and assembles a page from such a listing.

#include <iostream>
#include <string>
#include <vector>

#include "resources/atomic_file.h"
#include "resources/local_files.h"
#include "scenario/page_listing.h"
#include "tool_main.h"

namespace {

const char kUsage[] = "usage: orva-page dis PAGE.osb | asm SOURCE OUT.osb";

const char kHelp[] =
    "Usage: orva-page dis PAGE.osb\n"
    "       orva-page asm SOURCE OUT.osb\n"
    "\n"
    "dis lists a scenario page as text: its header, property sets and one block per command with\n"
    "its fields, expressions shown as text. asm builds the page back from such a listing; a page\n"
    "listed by dis is rebuilt byte for byte.\n";

void Run(const std::vector<std::string>& args) {
  if (args[0] == "dis" && args.size() == 2) {
    std::cout << orva::ListPage(orva::ReadPageRecord(orva::ReadLocalFile(args[1])));
  } else if (args[0] == "asm" && args.size() == 3) {
    const orva::PageRecord page = orva::AssemblePage(orva::ReadLocalFile(args[1]));
    orva::WriteFileAtomically(args[2], orva::WritePageRecord(page));
  } else {
    throw orva::tool::UsageError("unknown command or wrong number of arguments");
  }
}

}  // namespace

int main(int argc, char** argv) { return orva::tool::ToolMain({"orva-page", kUsage, kHelp}, argc, argv, Run); }
