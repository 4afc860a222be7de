// The record-table functions. None raises an error: every failure is its FALSE, -1, default or
// empty result.

#include "script/builtins/builtin_args.h"
#include "script/builtins/builtin_context.h"
#include "script/param.h"

namespace orva {
namespace {

TDBTable* ActiveTable(BuiltinContext& context) { return context.tables.Active(); }

// The active table when it has a current record.
TDBTable* ActiveWithCurrent(BuiltinContext& context) {
  TDBTable* t = context.tables.Active();
  return t != nullptr && t->Current() >= 0 && t->Current() < t->RecordCount() ? t : nullptr;
}

// The named table (argument i), or the active one when the call has no such argument.
TDBTable* NamedOrActive(BuiltinContext& context, FunctionCall& c, size_t i) {
  return HasArg(c, i) ? context.tables.FindTable(ArgStr(c, i)) : context.tables.Active();
}

// keys, values [, ignoreCase [, partial]] starting at argument first; absent keys select all.
RecordQuery QueryAt(FunctionCall& c, size_t first) {
  RecordQuery q;
  if (HasArg(c, first + 1)) {
    q.keys = &Underneath(ArgWhole(c, first));
    q.values = &Underneath(ArgWhole(c, first + 1));
  }
  q.ignore_case = HasArg(c, first + 2) && ArgBool(c, first + 2);
  q.partial = HasArg(c, first + 3) && ArgBool(c, first + 3);
  return q;
}

void DBCreateTable(BuiltinContext& context, FunctionCall& c) {
  // A table is kept with the status data or with the game: any other mark would leave it out of
  // both save blocks, and its records would be lost with the next save.
  const uint8_t status = ArgInt(c, 1) != 0 ? 1 : 0;
  c.dest.SetBool(context.tables.Create(ArgStr(c, 0), status));
}

void DBSetActive(BuiltinContext& context, FunctionCall& c) { c.dest.SetBool(context.tables.SetActive(ArgStr(c, 0))); }

void DBAddField(BuiltinContext& context, FunctionCall& c) {
  TDBTable* t = ActiveTable(context);
  const int32_t type = ArgInt(c, 1);
  const bool added = t != nullptr && type >= PT_INT && type <= PT_STR &&
                     t->AddField(ArgStr(c, 0), static_cast<uint8_t>(type), HasArg(c, 2) ? ArgInt(c, 2) : 0) >= 0;
  c.dest.SetBool(added);
}

void DBSetRecNo(BuiltinContext& context, FunctionCall& c) {
  TDBTable* t = ActiveTable(context);
  c.dest.SetBool(t != nullptr && t->SetCurrent(ArgInt(c, 0)));
}

void DBInsert(BuiltinContext& context, FunctionCall& c) {
  TDBTable* t = ActiveTable(context);
  if (t == nullptr || !t->Append()) return c.dest.SetBool(false);
  const int32_t r = t->Current();
  const int32_t n = std::min(static_cast<int32_t>(c.args.size()), t->Fields().Count());
  for (int32_t f = 0; f < n; ++f) {
    const TCustomParam& v = Arg(c, static_cast<size_t>(f));
    switch (v.VarType()) {
      case PT_FLOAT: t->SetFloat(r, f, v.GetFloat()); break;
      case PT_BOOL: t->SetBool(r, f, v.GetBool()); break;
      case PT_STR: t->SetStr(r, f, v.GetStr()); break;
      default: t->SetInt(r, f, v.GetInt()); break;
    }
  }
  c.dest.SetBool(true);
}

void DBDelete(BuiltinContext& context, FunctionCall& c) {
  TDBTable* t = ActiveWithCurrent(context);
  c.dest.SetBool(t != nullptr && t->DeleteCurrent());
}

// The current record's field named by argument 0, or nothing.
struct CurrentField {
  TDBTable* table = nullptr;
  int32_t record = -1;
  int32_t field = -1;
};

CurrentField FieldOfCurrent(BuiltinContext& context, FunctionCall& c) {
  TDBTable* t = ActiveWithCurrent(context);
  if (t == nullptr) return {};
  return {t, t->Current(), t->Fields().Find(ArgStr(c, 0))};
}

void DBGetInt(BuiltinContext& context, FunctionCall& c) {
  const CurrentField at = FieldOfCurrent(context, c);
  c.dest.SetInt(at.table != nullptr ? at.table->GetInt(at.record, at.field).value_or(0) : 0);
}
void DBGetFloat(BuiltinContext& context, FunctionCall& c) {
  const CurrentField at = FieldOfCurrent(context, c);
  c.dest.SetFloat(at.table != nullptr ? at.table->GetFloat(at.record, at.field).value_or(0.0L) : 0.0L);
}
void DBGetBool(BuiltinContext& context, FunctionCall& c) {
  const CurrentField at = FieldOfCurrent(context, c);
  c.dest.SetBool(at.table != nullptr && at.table->GetBool(at.record, at.field).value_or(false));
}
void DBGetStr(BuiltinContext& context, FunctionCall& c) {
  const CurrentField at = FieldOfCurrent(context, c);
  c.dest.SetStr(at.table != nullptr ? at.table->GetStr(at.record, at.field).value_or(std::string()) : std::string());
}
void DBSetInt(BuiltinContext& context, FunctionCall& c) {
  const CurrentField at = FieldOfCurrent(context, c);
  c.dest.SetBool(at.table != nullptr && at.table->SetInt(at.record, at.field, ArgInt(c, 1)));
}
void DBSetFloat(BuiltinContext& context, FunctionCall& c) {
  const CurrentField at = FieldOfCurrent(context, c);
  c.dest.SetBool(at.table != nullptr && at.table->SetFloat(at.record, at.field, ArgFloat(c, 1)));
}
void DBSetBool(BuiltinContext& context, FunctionCall& c) {
  const CurrentField at = FieldOfCurrent(context, c);
  c.dest.SetBool(at.table != nullptr && at.table->SetBool(at.record, at.field, ArgBool(c, 1)));
}
void DBSetStr(BuiltinContext& context, FunctionCall& c) {
  const CurrentField at = FieldOfCurrent(context, c);
  c.dest.SetBool(at.table != nullptr && at.table->SetStr(at.record, at.field, ArgStr(c, 1)));
}

void DBRecordCount(BuiltinContext& context, FunctionCall& c) {
  TDBTable* t = NamedOrActive(context, c, 0);
  c.dest.SetInt(t != nullptr ? t->RecordCount() : -1);
}

void DBFindFirst(BuiltinContext& context, FunctionCall& c) {
  TDBTable* t = ActiveTable(context);
  c.dest.SetBool(t != nullptr && t->First());
}
void DBFindLast(BuiltinContext& context, FunctionCall& c) {
  TDBTable* t = ActiveTable(context);
  c.dest.SetBool(t != nullptr && t->Last());
}
void DBFindNext(BuiltinContext& context, FunctionCall& c) {
  TDBTable* t = ActiveTable(context);
  c.dest.SetBool(t != nullptr && t->Next());
}
void DBFindPrior(BuiltinContext& context, FunctionCall& c) {
  TDBTable* t = ActiveTable(context);
  c.dest.SetBool(t != nullptr && t->Prior());
}

void DBLocate(BuiltinContext& context, FunctionCall& c) {
  TDBTable* t = ActiveTable(context);
  if (t == nullptr) return c.dest.SetBool(false);
  const RecordQuery q = QueryAt(c, 0);
  const std::vector<int32_t> found = t->Select(q.keys, q.values, q.ignore_case, q.partial);
  if (found.empty()) return c.dest.SetBool(false);
  t->SetCurrent(found.front());
  c.dest.SetBool(true);
}

void DBLoadTsvFile(BuiltinContext& context, FunctionCall& c) {
  c.dest.SetBool(false);
  TDBTable* t = ActiveTable(context);
  if (t == nullptr) return;
  if (const auto text = LoadAvailableFile(context, ArgStr(c, 0))) t->LoadTsvText(*text);
}

// Direct access: table, keys, values, ignoreCase, partial, field, default or value.
std::optional<TDBManager::FieldRef> DirectField(BuiltinContext& context, FunctionCall& c) {
  return context.tables.Direct(ArgStr(c, 0), QueryAt(c, 1), ArgStr(c, 5));
}

void DBDirectGetInt(BuiltinContext& context, FunctionCall& c) {
  const auto at = DirectField(context, c);
  c.dest.SetInt(at ? at->table->GetInt(at->record, at->field).value_or(ArgInt(c, 6)) : ArgInt(c, 6));
}
void DBDirectGetFloat(BuiltinContext& context, FunctionCall& c) {
  const auto at = DirectField(context, c);
  c.dest.SetFloat(at ? at->table->GetFloat(at->record, at->field).value_or(ArgFloat(c, 6)) : ArgFloat(c, 6));
}
void DBDirectGetBool(BuiltinContext& context, FunctionCall& c) {
  const auto at = DirectField(context, c);
  c.dest.SetBool(at ? at->table->GetBool(at->record, at->field).value_or(ArgBool(c, 6)) : ArgBool(c, 6));
}
void DBDirectGetStr(BuiltinContext& context, FunctionCall& c) {
  const auto at = DirectField(context, c);
  c.dest.SetStr(at ? at->table->GetStr(at->record, at->field).value_or(ArgStr(c, 6)) : ArgStr(c, 6));
}
void DBDirectSetInt(BuiltinContext& context, FunctionCall& c) {
  const auto at = DirectField(context, c);
  c.dest.SetBool(at && at->table->SetInt(at->record, at->field, ArgInt(c, 6)));
}
void DBDirectSetFloat(BuiltinContext& context, FunctionCall& c) {
  const auto at = DirectField(context, c);
  c.dest.SetBool(at && at->table->SetFloat(at->record, at->field, ArgFloat(c, 6)));
}
void DBDirectSetBool(BuiltinContext& context, FunctionCall& c) {
  const auto at = DirectField(context, c);
  c.dest.SetBool(at && at->table->SetBool(at->record, at->field, ArgBool(c, 6)));
}
void DBDirectSetStr(BuiltinContext& context, FunctionCall& c) {
  const auto at = DirectField(context, c);
  c.dest.SetBool(at && at->table->SetStr(at->record, at->field, ArgStr(c, 6)));
}

void DBCopyTable(BuiltinContext& context, FunctionCall& c) {
  TDBTable* t = ActiveTable(context);
  if (t == nullptr) return c.dest.SetBool(false);
  const RecordQuery q = QueryAt(c, 1);
  c.dest.SetBool(context.tables.CopySelected(ArgStr(c, 0), t->Select(q.keys, q.values, q.ignore_case, q.partial)));
}

void DBDeleteTable(BuiltinContext& context, FunctionCall& c) {
  if (HasArg(c, 0)) {
    context.tables.Delete(ArgStr(c, 0));
  } else if (TDBTable* t = ActiveTable(context)) {
    context.tables.Delete(std::string(t->Name()));
  }
  c.dest.SetBool(false);
}

void DBInsertTable(BuiltinContext& context, FunctionCall& c) {
  TDBTable* source = context.tables.FindTable(ArgStr(c, 0));
  if (ActiveTable(context) == nullptr || source == nullptr) return c.dest.SetBool(false);
  const RecordQuery q = QueryAt(c, 1);
  c.dest.SetBool(
      context.tables.InsertSelected(ArgStr(c, 0), source->Select(q.keys, q.values, q.ignore_case, q.partial)));
}

void DBCopy(BuiltinContext& context, FunctionCall& c) {
  TDBTable* t = ActiveWithCurrent(context);
  TDBTable* dest = context.tables.FindTable(ArgStr(c, 0));
  if (t == nullptr || dest == nullptr || !(dest->Fields() == t->Fields())) return c.dest.SetBool(false);
  const std::string record(t->Record(t->Current()));
  c.dest.SetBool(dest->AppendRecord(record));
}

void DBClearTable(BuiltinContext& context, FunctionCall& c) {
  context.tables.ClearAll();
  c.dest.SetBool(false);
}

void DBSort(BuiltinContext& context, FunctionCall& c) {
  TDBTable* t = ActiveTable(context);
  if (t == nullptr) return c.dest.SetBool(false);
  t->Sort(Underneath(ArgWhole(c, 0)), Underneath(ArgWhole(c, 1)));
  c.dest.SetBool(true);
}

void DBGetActive(BuiltinContext& context, FunctionCall& c) {
  TDBTable* t = ActiveTable(context);
  c.dest.SetStr(t != nullptr ? t->Name() : std::string());
}

void DBGetRecNo(BuiltinContext& context, FunctionCall& c) {
  TDBTable* t = NamedOrActive(context, c, 0);
  c.dest.SetInt(t != nullptr ? t->Current() : -1);
}

void DBClearRecord(BuiltinContext& context, FunctionCall& c) {
  TDBTable* t = NamedOrActive(context, c, 0);
  if (t != nullptr) t->ClearRecords();
  c.dest.SetBool(t != nullptr);
}

constexpr BuiltinRow kRows[] = {
    {87, DBCreateTable},     {88, DBSetActive},       {89, DBAddField},        {90, DBSetRecNo},
    {91, DBInsert},          {92, DBDelete},          {93, DBGetInt},          {94, DBSetInt},
    {95, DBGetFloat},        {96, DBSetFloat},        {97, DBGetBool},         {98, DBSetBool},
    {99, DBGetStr},          {100, DBSetStr},         {101, DBRecordCount},    {102, DBFindFirst},
    {103, DBFindLast},       {104, DBFindNext},       {105, DBFindPrior},      {106, DBLocate},
    {107, DBLoadTsvFile},    {108, DBDirectGetInt},   {109, DBDirectSetInt},   {110, DBDirectGetFloat},
    {111, DBDirectSetFloat}, {112, DBDirectGetBool},  {113, DBDirectSetBool},  {114, DBDirectGetStr},
    {115, DBDirectSetStr},   {116, DBCopyTable},      {117, DBDeleteTable},    {118, DBInsertTable},
    {119, DBCopy},           {120, DBClearTable},     {121, DBSort},           {122, DBGetActive},
    {123, DBGetRecNo},       {124, DBClearRecord},
};

}  // namespace

std::span<const BuiltinRow> RecordTableFunctionRows() { return kRows; }

}  // namespace orva
