// orva-archive: list, read, extract and create the player's archives.

#include <cstdio>
#include <exception>
#include <iostream>
#include <string>
#include <vector>

#include "archive_commands.h"
#include "tool_main.h"
#include "resources/folder_archive.h"
#include "core/error.h"

namespace {

constexpr const char* kUsage =
    "usage: orva-archive list [--json] PATH | cat PATH NAME | extract PATH OUTDIR | create OUT INPUTDIR";

constexpr const char* kHelp =
    "orva-archive - list, read, extract and create OrvaPlayer archives\n"
    "\n"
    "  orva-archive list [--json] PATH   entries in directory order: size, stored (0|1), CRC, name\n"
    "  orva-archive cat PATH NAME        one entry's contents (inflated) to standard output\n"
    "  orva-archive extract PATH OUTDIR  every entry into OUTDIR (\"\\\" in names becomes \"/\")\n"
    "  orva-archive create OUT INPUTDIR  a version-102 archive of every regular file under INPUTDIR\n"
    "\n"
    "PATH is an archive file (split volumes name.001... and a .ext companion directory are honoured)\n"
    "or a program (.exe/.scr) with an appended archive. Names are shown and taken as UTF-8.\n"
    "Exit status: 0 success, 1 error, 2 usage error.\n";

void Run(const std::vector<std::string>& args) {
  using orva::tool::UsageError;
  const std::string& command = args[0];
  if (command == "list") {
    if (args.size() == 3 && args[1] == "--json") {
      orva::archive_tool::List(args[2], true, std::cout);
    } else if (args.size() == 2 && args[1] != "--json") {
      orva::archive_tool::List(args[1], false, std::cout);
    } else {
      throw UsageError("list takes [--json] PATH");
    }
  } else if (command == "cat") {
    if (args.size() != 3) throw UsageError("cat takes PATH NAME");
    orva::archive_tool::Cat(args[1], args[2], std::cout);
  } else if (command == "extract") {
    if (args.size() != 3) throw UsageError("extract takes PATH OUTDIR");
    orva::archive_tool::Extract(args[1], args[2]);
  } else if (command == "create") {
    if (args.size() != 3) throw UsageError("create takes OUT INPUTDIR");
    orva::WriteFolderArchive(args[1], args[2]);
  } else {
    throw UsageError("unknown command \"" + command + "\"");
  }
}

}  // namespace

int main(int argc, char** argv) { return orva::tool::ToolMain({"orva-archive", kUsage, kHelp}, argc, argv, Run); }
