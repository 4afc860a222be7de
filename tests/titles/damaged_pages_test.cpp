// A title whose pages are damaged, unknown or of other versions still runs: a page that cannot be
// read makes its Call do nothing, a newer page is empty, an older one stops the run with the
// "rebuild" message.

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "core/byte_writer.h"
#include "scenario/command_table.h"
#include "scenario/page_record.h"
#include "scenario/project_file.h"
#include "shell/shell_support.h"
#include "command_records_support.h"

namespace orva {
namespace {

using namespace command_id;
using test::Command;
using test::Expr;
using test::Number;
using test::Text;

void Write(const std::string& path, const std::string& bytes) { std::ofstream(path, std::ios::binary) << bytes; }

CommandRecord CallOf(const std::string& page) {
  return Command(kCall, {Text(page), Number(0), Text(""), Expr("TRUE"), Number(0)});
}

TEST(DamagedPages, TheRunGoesOnPastPagesThatCannotBeReadAndStopsAtAnOldOne) {
  test::TemporaryFolder title;
  ProjectFile project;
  project.title = "damaged";
  project.start_page = "start.osb";
  Write(title.Path() + "/orva.opb", project.Write());

  PageRecord start;
  start.commands.push_back(test::VarNew("marks", 4, "\"\""));
  start.commands.push_back(CallOf("bad.osb"));
  start.commands.push_back(Command(kCalc, {Expr("marks = marks ++ \"a\"")}));
  start.commands.push_back(CallOf("cut.osb"));
  start.commands.push_back(Command(kCalc, {Expr("marks = marks ++ \"b\"")}));
  start.commands.push_back(CallOf("new.osb"));
  start.commands.push_back(Command(kCalc, {Expr("marks = marks ++ \"c\"")}));
  start.commands.push_back(Command(kJump, {Text("old.osb"), Number(0), Expr("TRUE")}));
  start.commands.push_back(Command(kCalc, {Expr("marks = marks ++ \"d\"")}));
  Write(title.Path() + "/start.osb", WritePageRecord(start));

  PageRecord called;
  called.commands.push_back(Command(kCalc, {Expr("marks = marks ++ \"x\"")}));
  std::string bad = WritePageRecord(called);
  bad[4 + 1 + 4 + 4 + 4] = 61;  // the first command's type byte: no such command
  Write(title.Path() + "/bad.osb", bad);
  const std::string whole = WritePageRecord(called);
  Write(title.Path() + "/cut.osb", whole.substr(0, whole.size() - 3));
  ByteWriter newer;
  newer.I32(111);
  newer.Chars("whatever a newer editor stores");
  Write(title.Path() + "/new.osb", newer.Data());
  ByteWriter older;
  older.I32(102);
  Write(title.Path() + "/old.osb", older.Data());

  const std::string vars = title.Path() + "/vars.json";
  const test::ProgramRun run = test::RunProgram(std::string(ORVA_BINARY_DIR) + "/src/shell/orvaplayer",
                                                {"--headless", "--frames", "5", "--dump-vars", vars, title.Path()});
  EXPECT_EQ(run.status, 0) << run.err;
  EXPECT_EQ(run.err, "警告: old.osb\r\nリビルドしてください\n");
  std::ifstream in(vars);
  const std::string json((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  EXPECT_NE(json.find("\"values\": [\"abc\"]"), std::string::npos) << json;
}

}  // namespace
}  // namespace orva
