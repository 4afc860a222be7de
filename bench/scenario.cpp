// The cost of running commands: a While loop of three Calc commands with Continue set, run by the
// call manager, beside evaluating the same three expressions directly the same number of times.
// The ratio is what command dispatch, paging and the trace check add.

#include <cstdio>

#include "bench_util.h"
#include "core/byte_reader.h"
#include "scenario/call_host.h"
#include "scenario/call_manager.h"
#include "scenario/command_table.h"
#include "scenario/event_queue.h"
#include "scenario/expression_listing.h"
#include "scenario/page_record.h"
#include "script/build_parser.h"
#include "script/orva_parser.h"
#include "script/param.h"
#include "script/param_collection.h"

namespace {

using namespace orva;

const char* const kExpressions[] = {"i = i + 1", "s = s + i * 3 - i % 7", "f = f * 1.0000001 + 0.5"};

class BenchHost : public CallManagerHost {
 public:
  std::string page;
  std::string ReadPageFile(const std::string&) override { return page; }
  bool EnsureAvailable(const std::string&) override { return true; }
  void RefuseOldPage(const std::string&) override {}
  TTimerList& Events() override { return events; }
  const FrameTiming& Timing() const override { return timing; }
  void RequestSave(int32_t, const std::string&, const std::string&, int32_t) override {}
  void RequestLoad(int32_t) override {}
  void RequestClose() override {}
  TTimerList events;
  FrameTiming timing;
};

StoredField Expr(const std::string& text) {
  StoredField f;
  f.expressions.push_back({-1, ExpressionTextToRecord(text)});
  return f;
}

StoredField Number(int32_t n) {
  StoredField f;
  f.number = n;
  return f;
}

CommandRecord Command(uint8_t type, std::vector<StoredField> fields) {
  CommandRecord c;
  c.type_byte = type;
  c.continue_flag = 1;
  c.fields = std::move(fields);
  return c;
}

std::string LoopPage(int iterations) {
  PageRecord page;
  page.commands.push_back(Command(command_id::kWhile, {Expr("i < " + std::to_string(iterations)), Number(5)}));
  for (const char* e : kExpressions) page.commands.push_back(Command(command_id::kCalc, {Expr(e)}));
  page.commands.push_back(Command(command_id::kWhileLoop, {Expr(""), Number(0)}));
  return WritePageRecord(page);
}

void ResetVariables(TParamCollection& store) {
  store.FindVar("i")->Value()->SetInt(0);
  store.FindVar("s")->Value()->SetInt(0);
  store.FindVar("f")->Value()->SetFloat(0);
}

}  // namespace

int main(int argc, char** argv) {
  const bool quick = bench::QuickRun(argc, argv);
  const int iterations = quick ? 20000 : 1000000;
  const int repetitions = quick ? 5 : 7;

  TParamCollection store;
  store.AddNamedVar("i", 1);
  store.AddNamedVar("s", 1);
  store.AddNamedVar("f", 2);
  BenchHost host;
  host.page = LoopPage(iterations);
  TCallMan calls(store, host);

  TOrvaParser direct[3];
  for (int k = 0; k < 3; ++k) CompileExpression(kExpressions[k], direct[k]);
  // The While's condition is a fourth expression the commands evaluate; timing it apart shows how
  // much of the difference is dispatch.
  TOrvaParser condition;
  CompileExpression("i < " + std::to_string(iterations), condition);

  int32_t commands_result = 0;
  int32_t direct_result = 0;
  const auto [ours, peer] = bench::SideBySide(
      repetitions,
      [&] {
        ResetVariables(store);
        calls.Start("loop.osb");
        calls.Run();
        commands_result = store.FindVar("s")->Value()->GetInt();
      },
      [&] {
        ResetVariables(store);
        for (int n = 0; n < iterations; ++n)
          for (auto& e : direct) e.Execute(store);
        direct_result = store.FindVar("s")->Value()->GetInt();
      });
  if (commands_result != direct_result) {
    std::fprintf(stderr, "bench_scenario: the two loops disagree (%d, %d)\n", commands_result, direct_result);
    return 1;
  }
  const double with_condition = bench::Seconds([&] {
    ResetVariables(store);
    for (int n = 0; n < iterations; ++n) {
      condition.Execute(store);
      for (auto& e : direct) e.Execute(store);
    }
  });
  std::printf("%d iterations: commands %.1f ms, direct evaluation %.1f ms, direct with the condition %.1f ms\n",
              iterations, ours * 1e3, peer * 1e3, with_condition * 1e3);
  bench::PrintRatio("scenario.commands_vs_direct_evaluation", ours, peer, 1.3);
  return 0;
}
