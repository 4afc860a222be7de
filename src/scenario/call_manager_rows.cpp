#include "scenario/call_manager_rows.h"

#include "scenario/call_host.h"
#include "scenario/call_manager.h"
#include "scenario/page.h"
#include "script/builtins/system_variable_rows.h"

namespace orva {
namespace {

SystemVariableRows::Row IntRow(std::function<int32_t()> value) {
  SystemVariableRows::Row row;
  row.read = [value](int32_t, SystemValue& out) { out.int_value = value(); };
  return row;
}

SystemVariableRows::Row StrRow(std::function<std::string()> value) {
  SystemVariableRows::Row row;
  row.read = [value](int32_t, SystemValue& out) { out.str_value = value(); };
  return row;
}

}  // namespace

void RegisterCallManagerRows(SystemVariableRows& rows, TCallMan& calls, CallManagerHost& host,
                             std::function<uint32_t()> system_ticks) {
  SystemVariableRows::Row result;
  result.underlying = [&calls] { return calls.ResultHolder(); };
  result.type = [&calls]() -> uint8_t {
    if (TCustomParam* holder = calls.ResultHolder()) return holder->VarType();
    return calls.CurrentPage() != nullptr ? calls.CurrentPage()->ResultType() : uint8_t{1};
  };
  rows.SetRow(SV_RESULT, result);

  rows.SetRow(SV_PARAMCOUNT, IntRow([&calls] { return calls.ParamCount(); }));
  SystemVariableRows::Row params;
  params.count = [&calls] { return calls.ParamCount(); };
  params.read = [&calls](int32_t index, SystemValue& out) { out.str_value = index < 0 ? "" : calls.ParamStr(index); };
  rows.SetRow(SV_PARAMSTR, params);
  rows.SetRow(SV_SENDER, StrRow([&calls] { return calls.SenderName(); }));
  rows.SetRow(SV_TICKCOUNT, IntRow([&host] { return static_cast<int32_t>(host.Timing().play_time); }));
  rows.SetRow(SV_PCTICKCOUNT, IntRow([system_ticks] { return static_cast<int32_t>(system_ticks()); }));
  rows.SetRow(SV_UPDATECOUNT, IntRow([&host] { return static_cast<int32_t>(host.Timing().frame_count); }));
}

}  // namespace orva
