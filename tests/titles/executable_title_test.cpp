// A title shipped as an executable with its archive appended: the player reads the title from the
// archive and looks for the install set beside it, as the original does when started without
// arguments.

#include <gtest/gtest.h>

#include <fstream>

#include "core/byte_writer.h"
#include "resources/archive_builder.h"
#include "scenario/install_set.h"
#include "scenario/page_record.h"
#include "scenario/project_file.h"
#include "shell/shell_support.h"
#include "command_records_support.h"

namespace orva {
namespace {

void Write(const std::string& path, const std::string& bytes) { std::ofstream(path, std::ios::binary) << bytes; }

std::string Executable() {
  ProjectFile project;
  project.title = "packed";
  project.start_page = "start.osb";
  PageRecord start;
  start.commands.push_back(test::VarNew("from_archive", 1, "42"));
  const std::string archive = BuildArchive(102, {MakeBuiltEntry("orva.opb", project.Write(), false),
                                                 MakeBuiltEntry("start.osb", WritePageRecord(start), false)});
  const std::string program = "MZ the player's own program bytes";
  ByteWriter tail;
  tail.I32(static_cast<int32_t>(program.size()));
  tail.Chars("oa");
  return program + archive + tail.Data();
}

TEST(ExecutableTitle, PlaysFromTheAppendedArchiveOnceTheInstallSetIsThere) {
  test::TemporaryFolder folder;
  const std::string exe = folder.Path() + "/GAME.EXE";
  Write(exe, Executable());
  const std::string player = std::string(ORVA_BINARY_DIR) + "/src/shell/orvaplayer";

  const test::ProgramRun without = test::RunProgram(player, {"--headless", exe});
  EXPECT_EQ(without.status, 1);
  EXPECT_EQ(without.err, "情報: インストールし直してください\n");

  TOrvaInstallSet install;
  install.title = "packed";
  install.installed = true;
  Write(folder.Path() + "/install.dat", install.Write());
  const test::ProgramRun run = test::RunProgram(player, {"--headless", "--frames", "3", "--dump-vars", "-", exe});
  EXPECT_EQ(run.status, 0) << run.err;
  EXPECT_NE(run.out.find("{\"name\": \"from_archive\", \"type\": \"int\", \"dims\": [], \"values\": [42]"),
            std::string::npos)
      << run.out;
}

}  // namespace
}  // namespace orva
