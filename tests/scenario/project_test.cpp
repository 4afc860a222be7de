// The project's start-up and its availability rule, on title folders made in the test.

#include "scenario/project.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>

#include "core/encoding.h"
#include "core/stop_flag.h"
#include "platform/headless/stderr_message_boxes.h"
#include "resources/archive_builder.h"
#include "resources/file_manager.h"
#include "scenario/call_manager.h"
#include "scenario/event_queue.h"
#include "scenario/install_set.h"
#include "scenario/page.h"
#include "scenario/scenario_support.h"
#include "script/builtins/system_variable_rows.h"
#include "script/param.h"
#include "script/param_collection.h"

namespace orva {
namespace {

namespace fs = std::filesystem;
using namespace command_id;

class ProjectTest : public ::testing::Test {
 public:
  void SetUp() override {
    SetStopRequested(false);
    folder = fs::temp_directory_path() / ("orva-project-" + std::to_string(::testing::UnitTest::GetInstance()->random_seed()) +
                                          "-" + ::testing::UnitTest::GetInstance()->current_test_info()->name());
    fs::create_directories(folder);
    FileManagerSetup setup;
    setup.message_boxes = &boxes;
    setup.cd_roots = std::vector<std::string>{};
    files = std::make_unique<TVrFileManager>(setup);
    files->SetBaseFolder(folder.string());
    store.SetSystemHost(&rows);
  }
  void TearDown() override {
    project.reset();
    store.SetSystemHost(nullptr);
    fs::remove_all(folder);
    SetStopRequested(false);
  }
  void Write(const std::string& name, const std::string& bytes) {
    std::ofstream(folder / name, std::ios::binary) << bytes;
  }
  ProjectFile Standard() {
    ProjectFile p;
    p.title = Utf8ToCp932("テスト");
    p.start_page = "start.osb";
    p.status_variables.push_back({1, "score", int32_t{7}});
    p.status_variables.push_back({4, "name", std::string("first")});
    p.folder_disks.Add("DATA", 2);
    p.disk_prompt = Utf8ToCp932("ディスク%dを入れてから[OK]をクリックしてください");
    p.quit_prompt = Utf8ToCp932("終了します");
    return p;
  }
  void Create() {
    project = std::make_unique<TProject>(ProjectServices{store, *files, boxes, timing, events, rows,
                                                         [] { return 0u; }, nullptr, nullptr});
    files->SetDiscHost(project.get());
    project->Create(false, folder.string());
  }

  fs::path folder;
  std::ostringstream messages;
  platform::StreamMessageBoxes boxes{messages};
  std::unique_ptr<TVrFileManager> files;
  TParamCollection store;
  SystemVariableRows rows;
  FrameTiming timing;
  TTimerList events;
  std::unique_ptr<TProject> project;
};

TEST_F(ProjectTest, StartsTheStartPageWithItsStatusVariablesAndKeepsRestoredValues) {
  Write("orva.opb", Standard().Write());
  Write("start.osb", test::BuildPage({{kCalc, {"e:score = score + 1"}}}));
  store.AddNamedVar("name", 4)->Value()->SetStr("restored");
  Create();
  ASSERT_FALSE(StopRequested()) << messages.str();
  EXPECT_EQ(project->Title(), Utf8ToCp932("テスト"));
  EXPECT_EQ(store.FindVar("name")->Value()->GetStr(), "restored");
  EXPECT_TRUE(store.FindVar("score")->Status());
  project->RunFrame();
  EXPECT_EQ(store.FindVar("score")->Value()->GetInt(), 8);
  EXPECT_EQ(store.FindVar("@Title")->Value()->GetStr(), Utf8ToCp932("テスト"));
}

TEST_F(ProjectTest, ProblemsWithTheProjectStopTheRunWithTheirMessages) {
  struct Case {
    std::function<void(ProjectTest&)> prepare;
    std::string message;
    bool failure_reason;
  };
  const Case cases[] = {
      {[](ProjectTest&) {}, "", true},  // no orva.opb: no message box, a reason for stderr
      {[](ProjectTest& t) { t.Write("orva.opb", ""); }, "警告: プロジェクトがありません\n", false},
      {[](ProjectTest& t) {
         ProjectFile p = t.Standard();
         p.version = 111;
         t.Write("orva.opb", p.Write());
       },
       "", true},
      {[](ProjectTest& t) { t.Write("orva.opb", t.Standard().Write()); }, "警告: スタートページがありません\n", false},
  };
  for (const auto& c : cases) {
    fs::remove_all(folder);
    fs::create_directories(folder);
    messages.str("");
    SetStopRequested(false);
    SetUp();  // a fresh file manager: its cache would remember the last case's project file
    c.prepare(*this);
    Create();
    EXPECT_TRUE(StopRequested());
    EXPECT_EQ(messages.str(), c.message);
    EXPECT_EQ(!project->StartFailure().empty(), c.failure_reason) << project->StartFailure();
    project.reset();
  }
}

TEST_F(ProjectTest, MissingStreamedMediaAreSkippedWhileOtherFilesAskForTheirDisc) {
  ProjectFile p = Standard();
  p.streamed_extensions = ".wav.ogg";
  Write("orva.opb", p.Write());
  Write("start.osb", test::BuildPage({}));
  Create();
  ASSERT_FALSE(StopRequested());
  EXPECT_FALSE(project->EnsureAvailable("data\\music.ogg"));
  EXPECT_EQ(messages.str(), "");
  EXPECT_FALSE(project->EnsureAvailable("other\\picture.png"));  // no disc holds that folder
  EXPECT_EQ(messages.str(), "");
  EXPECT_TRUE(project->EnsureAvailable("start.osb"));
  EXPECT_FALSE(project->EnsureAvailable(""));
  // A missing picture on disc 2 asks for it; a run without a person gives up and ends.
  EXPECT_FALSE(project->EnsureAvailable("data\\picture.png"));
  EXPECT_NE(messages.str().find("ディスク2を入れてから[OK]をクリックしてください"), std::string::npos) << messages.str();
  EXPECT_TRUE(StopRequested());
}

TEST_F(ProjectTest, TheStreamedExtensionRuleReadsTheExtensionShiftJisAware) {
  ProjectFile p = Standard();
  p.streamed_extensions = ".wav.OGG";
  Write("orva.opb", p.Write());
  Write("start.osb", test::BuildPage({}));
  Create();
  ASSERT_FALSE(StopRequested());
  const struct {
    std::string name;
    bool prompts;
  } rows[] = {
      {"data\\music.ogg", false},
      {"DATA\\SUB\\Music.Ogg", false},
      {"data\\readme", false},           // no extension: "." is in every list
      {"data\\a.\x95\x5C", true},        // the extension is one double-byte character
      {"data\\a.png", true},
      {"data\\x.ogg\\y.png", true},
  };
  for (const auto& row : rows) {
    SCOPED_TRACE(row.name);
    messages.str("");
    EXPECT_FALSE(project->EnsureAvailable(row.name));
    EXPECT_EQ(!messages.str().empty(), row.prompts) << messages.str();
    SetStopRequested(false);
  }
}

// Started on the title's executable: the data is where the install set says, or on a disc of
// the same title; otherwise the run ends after its messages.
TEST_F(ProjectTest, TheInstalledDataSearchFindsTheDataOrEndsWithItsMessages) {
  const std::string no_disc = "情報: ディスクを入れてください\n情報: 終了します\n";
  const struct {
    const char* what;
    bool install_here;
    bool installed;
    bool game_here;
    const char* disc_title;  // the title of a disc's install set; nullptr: no disc
    bool runs;
    const char* marker;      // a file that the search must have made available
    std::string messages;
  } cases[] = {
      {"no install set", false, false, false, nullptr, false, nullptr, "情報: インストールし直してください\n"},
      {"installed, no data here", true, true, false, nullptr, true, nullptr, ""},
      {"installed with its data", true, true, true, nullptr, true, "here.txt", ""},
      {"not installed, no disc", true, false, false, nullptr, false, nullptr, no_disc},
      {"data here but not installed", true, false, true, nullptr, false, nullptr, no_disc},
      {"a disc of another title", true, false, false, "other", false, nullptr, no_disc},
      {"the title's disc", true, false, false, "packed", true, "disc.txt", ""},
  };
  for (const auto& row : cases) {
    SCOPED_TRACE(row.what);
    project.reset();
    fs::remove_all(folder);
    fs::create_directories(folder / "disc");
    SetStopRequested(false);
    messages.str("");
    FileManagerSetup setup;
    setup.message_boxes = &boxes;
    setup.cd_roots = std::vector<std::string>{};
    if (row.disc_title != nullptr) {
      setup.cd_roots->push_back((folder / "disc").string());
      TOrvaInstallSet disc;
      disc.title = row.disc_title;
      Write("disc/install.dat", disc.Write());
      Write("disc/game.dat", BuildArchive(102, {MakeBuiltEntry("disc.txt", "d", false)}));
    }
    files = std::make_unique<TVrFileManager>(setup);
    files->AddArchive("");  // the window's own empty source
    Write("orva.opb", Standard().Write());
    Write("start.osb", test::BuildPage({}));
    if (row.install_here) {
      TOrvaInstallSet install;
      install.title = "packed";
      install.installed = row.installed;
      Write("install.dat", install.Write());
    }
    if (row.game_here) Write("game.dat", BuildArchive(102, {MakeBuiltEntry("here.txt", "h", false)}));
    project = std::make_unique<TProject>(ProjectServices{store, *files, boxes, timing, events, rows,
                                                         [] { return 0u; }, nullptr, nullptr});
    files->SetDiscHost(project.get());
    project->Create(true, folder.string());
    EXPECT_EQ(!StopRequested(), row.runs);
    EXPECT_EQ(messages.str(), row.messages);
    if (row.marker != nullptr) {
      EXPECT_TRUE(files->Exists(row.marker));
    }
  }
}

TEST_F(ProjectTest, TheOriginalDiscTableReplacesTheProjectsAndTheExitPageRunsAtTheEnd) {
  ProjectFile p = Standard();
  p.exit_page = "exit.osb";
  Write("orva.opb", p.Write());
  ProjectFile original = Standard();
  original.folder_disks.Clear();
  original.folder_disks.Add("MOVIES", 3);
  Write("original_orva.opb", original.Write());
  Write("start.osb", test::BuildPage({}));
  Write("exit.osb", test::BuildPage({{kCalc, {"e:score = 99"}}}));
  Create();
  ASSERT_FALSE(StopRequested());
  EXPECT_EQ(project->File().folder_disks.DiskOf("movies\\a.png"), 3);
  EXPECT_EQ(project->File().folder_disks.DiskOf("data\\a.png"), 0);
  project.reset();
  EXPECT_EQ(store.FindVar("score")->Value()->GetInt(), 99);
  EXPECT_TRUE(StopRequested());
}

}  // namespace
}  // namespace orva
