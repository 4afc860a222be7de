// The call manager through small pages: flow control, calls, scopes, waits and events.

#include "scenario/call_manager.h"

#include <gtest/gtest.h>

#include <random>

#include "scenario/call_manager_rows.h"
#include "script/builtins/system_variable_rows.h"

#include "core/stop_flag.h"
#include "scenario/command_table.h"
#include "scenario/page.h"
#include "scenario/scenario_support.h"
#include "script/param.h"
#include "script/param_collection.h"

namespace orva {
namespace {

using namespace command_id;
using test::Cmd;

class CallManagerTest : public ::testing::Test {
 protected:
  void SetUp() override {
    SetStopRequested(false);
    RegisterCallManagerRows(rows, calls, host, [] { return 1234u; });
    store.SetSystemHost(&rows);
  }
  void TearDown() override {
    SetStopRequested(false);
    store.SetSystemHost(nullptr);
  }

  void AddPage(const std::string& name, const std::vector<Cmd>& commands, uint8_t result_type = 1) {
    host.pages[name] = test::BuildPage(commands, 110, result_type);
  }
  // Global integer variables used by the pages.
  void Globals(std::initializer_list<const char*> names) {
    for (const char* n : names) store.AddNamedVar(n, 1);
  }
  int32_t Int(const char* name) {
    TParamCollectionItem* v = store.FindVar(name);
    EXPECT_NE(v, nullptr) << name;
    return v == nullptr ? -999 : v->Value()->GetInt();
  }
  std::string Str(const char* name) { return store.FindVar(name)->Value()->GetStr(); }
  void Frame(int count = 1) {
    for (int i = 0; i < count; ++i) {
      host.timing.play_time += 16;
      host.timing.frame_elapsed = 16;
      calls.Run();
    }
  }

  TParamCollection store;
  test::MemoryHost host;
  TCallMan calls{store, host};
  SystemVariableRows rows;
};

TEST_F(CallManagerTest, CommandsThatContinueRunInOneFrameAndTheOthersEndIt) {
  Globals({"n"});
  std::vector<Cmd> page;
  for (int i = 0; i < 10; ++i) page.push_back({kCalc, {"e:n = n + 1"}});
  page.push_back({kCalc, {"e:n = n + 100"}, 0, false});
  page.push_back({kCalc, {"e:n = n + 1000"}});
  AddPage("start.osb", page);
  calls.Start("start.osb");
  Frame();
  EXPECT_EQ(Int("n"), 110);
  Frame();
  EXPECT_EQ(Int("n"), 1110);
  Frame();  // the finished main flow idles
  EXPECT_EQ(Int("n"), 1110);
}

TEST_F(CallManagerTest, BranchesFollowTheIndent) {
  Globals({"a", "b", "r"});
  AddPage("start.osb", {
                           {kIf, {"e:a == 1"}},
                           {kCalc, {"e:r = r + 1"}, 1},
                           {kElseif, {"e:b == 1"}},
                           {kCalc, {"e:r = r + 10"}, 1},
                           {kIf, {"e:a == 0"}, 1},
                           {kCalc, {"e:r = r + 1000"}, 2},
                           {kElse, {}},
                           {kCalc, {"e:r = r + 100"}, 1},
                           {kCalc, {"e:r = r + 10000"}},
                       });
  const struct {
    int a, b, r;
  } cases[] = {{1, 0, 10001}, {0, 1, 11010}, {0, 0, 10100}, {1, 1, 10001}};
  for (const auto& c : cases) {
    store.FindVar("a")->Value()->SetInt(c.a);
    store.FindVar("b")->Value()->SetInt(c.b);
    store.FindVar("r")->Value()->SetInt(0);
    calls.Start("start.osb");
    Frame();
    EXPECT_EQ(Int("r"), c.r) << c.a << c.b;
  }
}

TEST_F(CallManagerTest, LoopsWithBreakAndContinue) {
  Globals({"i", "sum", "after"});
  // i = 0; while i < 10: i++; if i == 3 continue; if i == 6 break; sum += i
  AddPage("start.osb", {
                           {kWhileInit, {"e:i = 0"}},                  // 0
                           {kWhile, {"e:i < 10", "n:8"}},             // 1
                           {kCalc, {"e:i = i + 1"}, 1},               // 2
                           {kContinue, {"e:i == 3", "n:7"}, 1},       // 3
                           {kBreak, {"e:i == 6", "n:8"}, 1},          // 4
                           {kCalc, {"e:sum = sum + i"}, 1},           // 5
                           {kLabel, {"s:next"}, 1},                   // 6
                           {kWhileLoop, {"e:", "n:1"}, 1},            // 7
                           {kCalc, {"e:after = 1"}},                  // 8
                           {kBreak, {"e:TRUE", "n:-1"}},              // 9: leaves the page
                           {kCalc, {"e:after = 2"}},                  // 10
                       });
  calls.Start("start.osb");
  Frame();
  EXPECT_EQ(Int("sum"), 1 + 2 + 4 + 5);
  EXPECT_EQ(Int("i"), 6);
  EXPECT_EQ(Int("after"), 1);
}

TEST_F(CallManagerTest, CallsPassArgumentsReturnResultsAndFreeTheirVariables) {
  Globals({"count", "inner"});
  store.AddNamedVar("got", 4);
  AddPage("start.osb", {
                           {kCall, {"s:sub.osb", "n:0", "s:got", "e:TRUE", "l:\"a\"|1 + 1|nosuchvar"}},
                           {kCalc, {"e:count = 1"}},
                       });
  AddPage("sub.osb",
          {
              {kVarNew, {"s:mine", "n:1", "e:5", "n:1"}},  // freed when the call returns
              {kCalc, {"e:inner = @ParamCount"}},
              {kCalc, {"e:@Result = @ParamStr[1] ++ @ParamStr[0]"}},
              {kExit, {"e:TRUE"}},
              {kCalc, {"e:inner = 99"}},
          },
          4);
  calls.Start("start.osb");
  Frame();
  EXPECT_EQ(Int("inner"), 2);  // the argument that yields nothing is left out
  EXPECT_EQ(Str("got"), "2a");
  EXPECT_EQ(Int("count"), 1);
  EXPECT_EQ(store.FindVar("mine"), nullptr);
  EXPECT_EQ(store.CurrentFrame(), 0);
}

TEST_F(CallManagerTest, JumpsAndUnavailablePages) {
  Globals({"x"});
  AddPage("start.osb", {
                           {kJump, {"s:gone.osb", "n:0", "e:TRUE"}},  // not available: passes on
                           {kJump, {"s:b.osb", "n:1", "e:TRUE"}},
                       });
  AddPage("b.osb", {{kCalc, {"e:x = 1"}}, {kCalc, {"e:x = x + 2"}}});
  calls.Start("start.osb");
  Frame();
  EXPECT_EQ(Int("x"), 2);  // started at index 1 of b.osb
}

TEST_F(CallManagerTest, FailingAndDisabledCommands) {
  Globals({"x"});
  AddPage("start.osb", {
                           {kCalc, {"e:x = nosuch + 1"}},
                           {kCalc, {"e:x = 50"}, 0, true, true},  // disabled: skipped
                           {kCalc, {"e:x = x + 1"}},
                       });
  calls.Start("start.osb");
  Frame();
  EXPECT_EQ(Int("x"), 1);
}

TEST_F(CallManagerTest, WaitCountsTheFramesAfterTheOneItBeganIn) {
  Globals({"done"});
  AddPage("start.osb", {{kWait, {"e:", "e:40", "e:"}}, {kCalc, {"e:done = 1"}}});
  calls.Start("start.osb");
  Frame();  // begins: not counted
  Frame();  // 40 - 16 = 24
  Frame();  // 8
  EXPECT_EQ(Int("done"), 0);
  Frame();  // -8: advances, and the next command runs in this frame
  EXPECT_EQ(Int("done"), 1);
}

TEST_F(CallManagerTest, EventsRunBetweenMainFlowFramesAndNestWhileAHandlerWaits) {
  Globals({"main", "first", "second"});
  AddPage("start.osb", {{kCalc, {"e:main = main + 1"}, 0, false}, {kWhileLoop, {"e:", "n:0"}, 0, false}});
  AddPage("first.osb", {{kCalc, {"e:first = 1"}},
                        {kWait, {"e:", "e:32", "e:"}},
                        {kCalc, {"e:first = 2"}}});
  AddPage("second.osb", {{kLabel, {"s:go"}}, {kCalc, {"e:second = second + 1"}}});
  test::NamedSender button("button");
  calls.Start("start.osb");
  Frame();
  EXPECT_EQ(Int("main"), 1);
  host.events.Add(&button, "first.mos", {}, 37);
  Frame();  // the handler runs until its Wait
  EXPECT_EQ(Int("first"), 1);
  EXPECT_EQ(calls.SenderName(), "button");
  host.events.Add(&button, "second.xxx:go", {}, 37);
  Frame();  // nests while the first waits
  EXPECT_EQ(Int("second"), 1);
  EXPECT_EQ(Int("first"), 1);
  Frame(3);
  EXPECT_EQ(Int("first"), 2);
  EXPECT_EQ(host.events.Count(), 0);
  const int32_t before = Int("main");
  Frame();
  EXPECT_GT(Int("main"), before);  // the main flow goes on
}

TEST_F(CallManagerTest, AnEventWhosePageIsMissingIsDroppedSoLaterOnesRun) {
  Globals({"hit"});
  AddPage("start.osb", {});
  AddPage("ok.osb", {{kCalc, {"e:hit = 1"}}});
  calls.Start("start.osb");
  host.events.Add(nullptr, "missing.osb", {}, 37);
  host.events.Add(nullptr, "ok.osb", {}, 37);
  Frame(2);
  EXPECT_EQ(Int("hit"), 1);
  EXPECT_EQ(host.events.Count(), 0);
}

TEST_F(CallManagerTest, TheEleventhPageEvictsTheLeastRecentlyUsedOne) {
  for (int i = 0; i < 12; ++i) AddPage("p" + std::to_string(i) + ".osb", {});
  calls.Start("p0.osb");
  std::vector<TPage*> loaded;
  for (int i = 1; i <= 10; ++i) loaded.push_back(calls.LoadPage("p" + std::to_string(i) + ".osb"));
  // p0 is the current page and stays; p1 was the least recently used of the others.
  EXPECT_EQ(calls.LoadPage("p0.osb"), calls.CurrentPage());
  EXPECT_EQ(calls.LoadPage("p10.osb"), loaded.back());
  TPage* again = calls.LoadPage("p2.osb");
  EXPECT_EQ(again, loaded[1]);
}

TEST_F(CallManagerTest, RequestsAndTerminate) {
  Globals({"after"});
  AddPage("start.osb", {
                           {kGameSave, {"e:3", "s:resume.osb", "n:7", "e:\"caption\""}},
                           {kGameLoad, {"e:2"}},
                           {kTerminate, {}},
                           {kCalc, {"e:after = 1"}},
                       });
  calls.Start("start.osb");
  Frame();
  EXPECT_EQ(host.log, std::vector<std::string>{"save 3 resume.osb caption 7"});  // GameSave never continues
  Frame();
  Frame();
  EXPECT_TRUE(StopRequested());
  EXPECT_EQ(host.log.back(), "close");
  EXPECT_EQ(Int("after"), 0);
}

TEST_F(CallManagerTest, AWaitWithNoEventsHoldsEventsBackUntilItEnds) {
  Globals({"handled", "waited"});
  AddPage("start.osb", {{kWait, {"e:", "e:48", "e:TRUE"}}, {kCalc, {"e:waited = @TickCount"}, 0, false}});
  AddPage("click.osb", {{kCalc, {"e:handled = @TickCount"}}});
  calls.Start("start.osb");
  Frame();
  host.events.Add(nullptr, "click.osb", {}, 37);
  Frame(2);
  EXPECT_EQ(Int("handled"), 0);
  Frame(2);
  // The Wait ends in the frame of 64 ms; the event enters as soon as it has, before the next
  // command of the main flow.
  EXPECT_EQ(Int("handled"), 64);
  EXPECT_EQ(Int("waited"), 64);
}

TEST_F(CallManagerTest, EventLabelsAreFoundInCommentsAsWellAsLabels) {
  Globals({"hit"});
  AddPage("start.osb", {});
  AddPage("h.osb", {{kCalc, {"e:hit = 1"}},
                    {kComment, {"s:here"}},
                    {kCalc, {"e:hit = hit + 10"}},
                    {kLabel, {"s:here"}},
                    {kCalc, {"e:hit = hit + 100"}}});
  calls.Start("start.osb");
  host.events.Add(nullptr, "h.osb:here", {"p"}, 37);
  Frame();
  EXPECT_EQ(Int("hit"), 110);  // entered after the comment, which is skipped
}

TEST_F(CallManagerTest, PCResetWithoutAllInAHandlerRedirectsTheMainFlowOnceTheHandlerEnds) {
  Globals({"main", "after", "handler"});
  AddPage("start.osb", {{kWait, {"e:", "e:0", "e:"}}, {kCalc, {"e:main = 1"}}});
  AddPage("other.osb", {{kCalc, {"e:after = 1"}}, {kCalc, {"e:after = after + 1"}}});
  AddPage("click.osb", {{kPCReset, {"s:other.osb", "n:1", "n:0"}}, {kCalc, {"e:handler = 1"}}});
  test::NamedSender button("button");
  calls.Start("start.osb");
  Frame();
  host.events.Add(&button, "click.osb", {}, 37);
  Frame(2);
  EXPECT_EQ(Int("handler"), 1);  // the handler runs to its end
  EXPECT_EQ(Int("main"), 0);
  EXPECT_EQ(Int("after"), 1);    // the main flow resumed at command 1 of other.osb
}

TEST_F(CallManagerTest, AResetWhosePageCannotBeLoadedIsPassed) {
  // A status variable outlives the game-variable reset of Reset.
  store.AddNamedVar("x", 1)->SetStatus(true);
  const Cmd resets[] = {
      {kPCReset, {"s:missing.osb", "n:0", "n:1"}},
      {kPCReset, {"s:missing.osb", "n:0", "n:0"}},
      {kReset, {"s:missing.osb", "n:0", "n:0"}},
  };
  int row = 0;
  for (const Cmd& reset : resets) {
    SCOPED_TRACE(testing::Message() << "type " << int(reset.type) << " all " << reset.fields[2]);
    store.FindVar("x")->Value()->SetInt(0);
    const std::string page = "start" + std::to_string(row++) + ".osb";  // pages stay cached by name
    AddPage(page, {reset, {kCalc, {"e:x = x + 1"}}});
    calls.Start(page);
    Frame(3);
    EXPECT_EQ(Int("x"), 1);
  }
}

TEST_F(CallManagerTest, AHandlerThatResetsTheMainFlowToAMissingPageEndsItAndLaterEventsStillRun) {
  Globals({"main", "handler", "later"});
  AddPage("start.osb", {{kWait, {"e:", "e:0", "e:"}}, {kCalc, {"e:main = 1"}}});
  AddPage("click.osb", {{kPCReset, {"s:missing.osb", "n:0", "n:0"}}, {kCalc, {"e:handler = 1"}}});
  AddPage("later.osb", {{kCalc, {"e:later = 1"}}});
  test::NamedSender button("button");
  calls.Start("start.osb");
  Frame();
  host.events.Add(&button, "click.osb", {}, 37);
  Frame(2);
  EXPECT_EQ(Int("handler"), 1);
  EXPECT_EQ(calls.State(), TCallMan::RunState::kMain);
  EXPECT_EQ(calls.Stack().Count(), 0);
  host.events.Add(&button, "later.osb", {}, 37);
  Frame(2);
  EXPECT_EQ(Int("later"), 1);
  EXPECT_EQ(Int("main"), 0);  // the main flow it would have returned to is gone
  EXPECT_EQ(host.events.Count(), 0);
}

TEST_F(CallManagerTest, AReturnWhoseProgressRecordIsDamagedStillReturns) {
  Globals({"back"});
  AddPage("start.osb", {{kWait, {"e:", "e:0", "e:"}}, {kCalc, {"e:back = 2"}}});
  AddPage("sub.osb", {{kCalc, {"e:back = 1"}}});
  calls.Start("start.osb");
  Frame();
  // An event frame over the waiting command whose progress record ends early.
  TStack frame;
  frame.page_name = "start.osb";
  frame.index = 0;
  frame.entered = true;
  frame.state = std::string("orva100\x01\x02", 9);
  calls.Stack().Push(std::move(frame));
  calls.JumpTo(calls.LoadPage("sub.osb"), 0);
  EXPECT_NO_THROW(Frame());
  EXPECT_EQ(Int("back"), 1);
  EXPECT_EQ(calls.CurrentPage()->Name(), "start.osb");
  EXPECT_EQ(calls.Stack().Count(), 0);
}

TEST_F(CallManagerTest, EndlessLoopsEndTheFrameAndGoOnInTheNext) {
  Globals({"n", "h"});
  calls.SetPassesPerFrame(1000);
  // The main flow loops with Continue set; a handler loops without it (handlers run to their end).
  AddPage("start.osb", {{kCalc, {"e:n = n + 1"}}, {kWhileLoop, {"e:", "n:0"}}});
  AddPage("spin.osb", {{kCalc, {"e:h = h + 1"}, 0, false}, {kJump, {"s:spin.osb", "n:0", "e:TRUE"}, 0, false}});
  calls.Start("start.osb");
  Frame();
  EXPECT_EQ(Int("n"), 500);
  Frame();
  EXPECT_EQ(Int("n"), 1000);
  host.events.Add(nullptr, "spin.osb", {}, 37);
  Frame();
  const int32_t first = Int("h");
  EXPECT_GT(first, 0);
  Frame();
  EXPECT_GT(Int("h"), first);
  EXPECT_EQ(Int("n"), 1000);  // the handler holds the main flow while it runs
}

TEST_F(CallManagerTest, RunawayRecursionFailsTheCallAtTheDeepestStack) {
  Globals({"depth", "done"});
  AddPage("start.osb", {{kCall, {"s:rec.osb", "n:0", "s:", "e:TRUE", "l:"}}, {kCalc, {"e:done = 1"}}});
  AddPage("rec.osb", {{kCalc, {"e:depth = depth + 1"}}, {kCall, {"s:rec.osb", "n:0", "s:", "e:TRUE", "l:"}}});
  calls.Start("start.osb");
  Frame();
  EXPECT_EQ(Int("depth"), TCallMan::kDeepestCallStack);
  EXPECT_EQ(Int("done"), 1);  // every call returned
  EXPECT_EQ(store.CurrentFrame(), 0);
}

TEST_F(CallManagerTest, WaitTimesCountIn32Bits) {
  Globals({"done"});
  const struct {
    const char* time;
    int frames_to_done;  // 0: still waiting after ten frames
  } rows[] = {
      {"40", 4},
      {"-5", 2},                // a negative time ends in the first counted frame
      {"-2147483647 - 1", 0},   // wraps to a time of weeks
  };
  for (const auto& row : rows) {
    SCOPED_TRACE(row.time);
    store.FindVar("done")->Value()->SetInt(0);
    const std::string page = std::string("wait ") + row.time + ".osb";  // pages stay cached by name
    AddPage(page, {{kWait, {"e:", std::string("e:") + row.time, "e:"}}, {kCalc, {"e:done = 1"}}});
    calls.Start(page);
    int frames = 0;
    while (Int("done") == 0 && frames < 10) {
      Frame();
      ++frames;
    }
    EXPECT_EQ(Int("done") == 1 ? frames : 0, row.frames_to_done);
  }
}

// Pages of random control flow (targets past either end, stray indents, calls and resets to
// missing pages, events whose pages are missing or wait) never let an error out of the run loop,
// never hang it and never grow the stack past its bound.
TEST_F(CallManagerTest, RandomFlowNeverEscapesTheRunLoop) {
  Globals({"n"});
  std::mt19937 random(6);
  auto pick = [&random](int n) { return static_cast<int>(random() % static_cast<uint32_t>(n)); };
  const char* conditions[] = {"", "TRUE", "FALSE", "n % 2 == 0", "n = n + 1", "n % 7"};
  const char* pages[] = {"p0.osb", "p1.osb", "p2.osb", "p3.osb", "missing.osb"};
  const uint8_t types[] = {kIf,    kElseif, kElse,      kLabel,    kJump,  kCall,     kExit,    kWait,
                           kCalc,  kWhile,  kWhileInit, kWhileLoop, kBreak, kContinue, kPCReset, kReset,
                           kDoEvent, kComment, kVarNew, kVarDel, kGameSave, kGameLoad, kTerminate};
  test::NamedSender button("button");
  for (int round = 0; round < 300; ++round) {
    SCOPED_TRACE(round);
    for (int p = 0; p < 4; ++p) {
      std::vector<Cmd> commands;
      const int count = pick(12);
      for (int c = 0; c < count; ++c) {
        const uint8_t type = types[pick(static_cast<int>(std::size(types)))];
        const std::string condition = std::string("e:") + conditions[pick(6)];
        const std::string page = std::string("s:") + pages[pick(5)];
        const std::string target = "n:" + std::to_string(pick(16) - 3);
        std::vector<std::string> fields;
        switch (type) {
          case kIf: case kElseif: case kExit: case kCalc: case kWhileInit: case kGameLoad:
            fields = {condition};
            break;
          case kLabel: case kComment: case kVarDel: fields = {"s:n"}; break;
          case kJump: fields = {page, target, condition}; break;
          case kCall: fields = {page, target, "s:n", condition, "l:n|"}; break;
          case kWait: fields = {condition, "e:" + std::to_string(pick(3) * 20), condition}; break;
          case kWhile: case kWhileLoop: case kBreak: case kContinue: fields = {condition, target}; break;
          case kPCReset: case kReset: fields = {page, target, "n:" + std::to_string(pick(2))}; break;
          case kVarNew: fields = {"s:n", "n:1", condition, "n:" + std::to_string(pick(4))}; break;
          case kGameSave: fields = {condition, page, "n:0", condition}; break;
          default: break;
        }
        commands.push_back({type, fields, pick(3), pick(4) != 0, pick(8) == 0});
      }
      AddPage("r" + std::to_string(round) + "p" + std::to_string(p) + ".osb", commands);
    }
    // The pages of this round under the names the commands use.
    for (int p = 0; p < 4; ++p) host.pages[pages[p]] = host.pages["r" + std::to_string(round) + "p" + std::to_string(p) + ".osb"];
    TCallMan fresh(store, host);
    fresh.SetPassesPerFrame(1000);
    fresh.Start("p0.osb");
    for (int frame = 0; frame < 12; ++frame) {
      if (pick(2) == 0) {
        const std::string label = pick(2) == 0 ? ":n" : "";
        host.events.Add(pick(2) == 0 ? &button : nullptr, std::string(pages[pick(5)]) + label, {"1"}, 37);
      }
      host.timing.play_time += 16;
      host.timing.frame_elapsed = 16;
      EXPECT_NO_THROW(fresh.Run());
      EXPECT_LE(fresh.Stack().Count(), TCallMan::kDeepestCallStack);
      SetStopRequested(false);
    }
    host.events.Clear();
    if (store.FindVar("n") == nullptr) store.AddNamedVar("n", 1);
  }
}

TEST(EventText, SplitsPageAndLabelShiftJisAware) {
  struct Case {
    std::string text, page, label;
    bool has_label;
  };
  const Case cases[] = {
      {"page.mos", "page.osb", "", false},
      {"page.osb:start", "page.osb", "start", true},
      {"dir\\a.osb", "dir\\a.osb", "", false},
      {"a:b.osb", "a:b.osb", "", false},  // the "." after the ":" means no label
      {"p.osb:\x83\x3A", "p.osb", "\x83\x3A", true},  // a ":" that is a trail byte is not a separator
  };
  for (const auto& c : cases) {
    std::string page, label;
    bool has_label = false;
    SplitEventText(c.text, page, label, has_label);
    EXPECT_EQ(page, c.page) << c.text;
    EXPECT_EQ(label, c.label) << c.text;
    EXPECT_EQ(has_label, c.has_label) << c.text;
  }
}

}  // namespace
}  // namespace orva
