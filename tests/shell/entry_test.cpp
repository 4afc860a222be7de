#include "shell/entry.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>

#include "core/exit_files.h"
#include "shell/shell_support.h"

namespace orva {
namespace {

TEST(Entry, FilesListedForExitAreRemovedWhenThePlayerEnds) {
  test::TemporaryFolder folder;
  const std::string kept = folder.Path() + "/kept.txt";
  const std::string listed = folder.Path() + "/listed.txt";
  std::ofstream(kept) << "x";
  std::ofstream(listed) << "x";
  DeleteAtExit(listed);
  DeleteAtExit(folder.Path() + "/never-existed.txt");  // a failure is ignored
  std::ostringstream out, err;
  EXPECT_EQ(RunPlayer({"--version"}, out, err), 0);
  EXPECT_FALSE(std::filesystem::exists(listed));
  EXPECT_TRUE(std::filesystem::exists(kept));
  EXPECT_TRUE(TakeFilesToDeleteAtExit().empty());
}

}  // namespace
}  // namespace orva
