// The single-instance guard, in process and through the player program.

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>

#include "platform/instance_lock.h"
#include "shell/shell_support.h"
#include "shell/title_folder.h"

namespace orva {
namespace {

using platform::InstanceLock;

const std::string kPlayer = std::string(ORVA_BINARY_DIR) + "/src/shell/orvaplayer";

int LineCount(const std::string& text) { return static_cast<int>(std::count(text.begin(), text.end(), '\n')); }

TEST(InstanceLock, ASecondHolderIsRefusedUntilTheFirstLetsGo) {
  test::TemporaryFolder dir;
  auto first = InstanceLock::TryAcquire("-X-TITLE-", dir.Path());
  ASSERT_EQ(first.outcome, InstanceLock::Outcome::kAcquired);
  EXPECT_EQ(InstanceLock::TryAcquire("-X-TITLE-", dir.Path()).outcome, InstanceLock::Outcome::kHeldElsewhere);
  EXPECT_EQ(InstanceLock::TryAcquire("-X-OTHER-", dir.Path()).outcome, InstanceLock::Outcome::kAcquired);
  first.lock.reset();
  EXPECT_EQ(InstanceLock::TryAcquire("-X-TITLE-", dir.Path()).outcome, InstanceLock::Outcome::kAcquired);
}

TEST(InstanceLock, LongNamesAreShortenedWithADigest) {
  const std::string a(300, 'A');
  std::string b = a;
  b.back() = 'B';
  const std::string file_a = InstanceLock::LockFileName(a);
  EXPECT_EQ(file_a.size(), 200u + 1 + 16 + 5);
  EXPECT_EQ(file_a.substr(0, 201), std::string(200, 'A') + "-");
  EXPECT_NE(file_a, InstanceLock::LockFileName(b));
  EXPECT_EQ(InstanceLock::LockFileName(std::string(240, 'C')), std::string(240, 'C') + ".lock");
  test::TemporaryFolder dir;
  EXPECT_EQ(InstanceLock::TryAcquire(a, dir.Path()).outcome, InstanceLock::Outcome::kAcquired);
  EXPECT_TRUE(std::filesystem::exists(dir.Path() + "/" + file_a));
}

TEST(PlayerProgram, ASecondPlayerForTheSameFolderEndsAtOnceWithStatusOne) {
  test::TemporaryFolder runtime;
  // The lock of the folder /x/Title, held here as a running player would hold it.
  std::filesystem::create_directories(runtime.Path() + "/orvaplayer");
  auto held_xdg = InstanceLock::TryAcquire(InstanceName("/x/Title"), runtime.Path() + "/orvaplayer");
  ASSERT_EQ(held_xdg.outcome, InstanceLock::Outcome::kAcquired);

  const std::vector<std::string> env{"XDG_RUNTIME_DIR=" + runtime.Path()};
  const auto refused = test::RunProgram(kPlayer, {"--headless", "/x/Title/"}, env);
  EXPECT_EQ(refused.status, 1);
  EXPECT_EQ(LineCount(refused.err), 1) << refused.err;
  EXPECT_NE(refused.err.find("already running"), std::string::npos) << refused.err;

  // Another folder is not refused: it runs on and reports that it holds no title.
  test::TemporaryFolder empty_title;
  const auto other = test::RunProgram(kPlayer, {"--headless", empty_title.Path()}, env);
  EXPECT_EQ(other.status, 1);
  EXPECT_EQ(other.err.find("already running"), std::string::npos) << other.err;
  EXPECT_NE(other.err.find("no title"), std::string::npos) << other.err;
}

TEST(PlayerProgram, HelpVersionAndUsageErrors) {
  const auto help = test::RunProgram(kPlayer, {"--help"});
  EXPECT_EQ(help.status, 0);
  EXPECT_NE(help.out.find("Usage: orvaplayer"), std::string::npos);
  const auto version = test::RunProgram(kPlayer, {"--version"});
  EXPECT_EQ(version.status, 0);
  EXPECT_EQ(version.out.rfind("orvaplayer ", 0), 0u);
  const auto usage = test::RunProgram(kPlayer, {"--frame-ms", "0"});
  EXPECT_EQ(usage.status, 2);
  EXPECT_EQ(LineCount(usage.err), 1);
}

}  // namespace
}  // namespace orva
