#include "script/param_system.h"

#include <array>
#include <numbers>

#include "core/error.h"
#include "script/param_collection.h"
#include "script/param_types.h"
#include "script/value_text.h"

namespace orva {
namespace {

constexpr std::array<SystemVariableInfo, kSystemVariableRows> kRows = {{
    {"@Result", PT_NONE},        {"@LClick", PT_BOOL},          {"@RClick", PT_BOOL},
    {"@LPush", PT_BOOL},         {"@RPush", PT_BOOL},           {"@MouseX", PT_INT},
    {"@MouseY", PT_INT},         {"@TextDelay", PT_INT},        {"@HistoryCount", PT_INT},
    {"@ParamCount", PT_INT},     {"@ParamStr", PT_STR},         {"@Sender", PT_STR},
    {"@ScrWidth", PT_INT},       {"@ScrHeight", PT_INT},        {"@TickCount", PT_INT},
    {"@PCTickCount", PT_INT},    {"@UpdateCount", PT_INT},      {"@Year", PT_INT},
    {"@Month", PT_INT},          {"@Day", PT_INT},              {"@Week", PT_INT},
    {"@Hour", PT_INT},           {"@Min", PT_INT},              {"@Sec", PT_INT},
    {"@Fonts", PT_STR},          {"@FixedFonts", PT_STR},       {"@FullScr", PT_BOOL},
    {"@Cursor", PT_STR},         {"@SelStr", PT_STR},           {"@SelIndex", PT_INT},
    {"@Pi", PT_FLOAT},           {"@CGDither", PT_BOOL},        {"@1Hour", PT_FLOAT},
    {"@1Min", PT_FLOAT},         {"@1Sec", PT_FLOAT},           {"@KeyPush", PT_BOOL},
    {"@KeyClick", PT_BOOL},      {"@DisplayModeCount", PT_INT}, {"@DisplayModeIndex", PT_INT},
    {"@Title", PT_STR},          {"@SoundON", PT_BOOL},         {"@ActiveCompo", PT_STR},
    {"@KeyRepeat", PT_BOOL},     {"@HistoryMaxCount", PT_INT},  {"@Temp", PT_NONE},
    {"@MidiPort", PT_STR},       {"@MidiPorts", PT_STR},        {"@WheelDown", PT_BOOL},
    {"@WheelUp", PT_BOOL},
}};

// Rows the store answers itself: they read and write only state the store keeps.
bool StoreRow(int row) {
  switch (row) {
    case SV_TEXTDELAY: case SV_CURSOR: case SV_SELSTR: case SV_SELINDEX: case SV_PI:
    case SV_1HOUR: case SV_1MIN: case SV_1SEC:
      return true;
    default:
      return false;
  }
}

// Fills the three other kinds from the one of the value's type.
void Complete(SystemValue& v) {
  switch (v.type) {
    case PT_INT:
      v.float_value = v.int_value;
      v.bool_value = v.int_value != 0;
      v.str_value = FormatInt(v.int_value);
      break;
    case PT_FLOAT:
      v.int_value = TruncateRealToInt(v.float_value);
      v.bool_value = v.float_value != 0;
      v.str_value = FormatReal(v.float_value);
      break;
    case PT_BOOL:
      v.int_value = v.bool_value ? 1 : 0;
      v.float_value = v.bool_value ? 1 : 0;
      v.str_value = v.bool_value ? "TRUE" : "FALSE";
      break;
    case PT_STR:
      v.int_value = ParseIntText(v.str_value).value_or(0);
      v.float_value = ParseRealText(v.str_value).value_or(0.0L);
      v.bool_value = v.str_value == "TRUE";
      break;
    default:
      break;
  }
}

}  // namespace

const SystemVariableInfo& SystemVariableRow(int row) {
  if (row < 0 || row >= kSystemVariableRows) throw EOrvaError("内部エラー");
  return kRows[static_cast<size_t>(row)];
}

TParamSystem::TParamSystem(int row, TParamCollection* store) : row_(row), store_(store) {
  SystemVariableRow(row);
}

ISystemVariableHost* TParamSystem::Host() const { return store_ != nullptr ? store_->SystemHost() : nullptr; }

TCustomParam* TParamSystem::Underlying() const {
  if (row_ == SV_TEMP) {
    if (store_ == nullptr || store_->Settings().temp_target.empty()) return nullptr;
    TParamCollectionItem* item = store_->FindVar(store_->Settings().temp_target);
    // @Temp standing for a system variable that passes on again would never end.
    if (item == nullptr || dynamic_cast<TParamSystem*>(item->Value()) != nullptr) return nullptr;
    return item->Value();
  }
  if (row_ == SV_RESULT) {
    ISystemVariableHost* host = Host();
    return host != nullptr ? host->Underlying(row_) : nullptr;
  }
  return nullptr;
}

bool TParamSystem::PerElement() const {
  return row_ == SV_PARAMSTR || row_ == SV_MIDIPORTS || row_ == SV_KEYPUSH || row_ == SV_KEYCLICK ||
         row_ == SV_KEYREPEAT;
}

int32_t TParamSystem::Count() const {
  if (row_ == SV_RESULT || row_ == SV_TEMP) {
    const TCustomParam* v = Underlying();
    return v != nullptr ? v->Count() : 1;
  }
  if (row_ == SV_KEYPUSH || row_ == SV_KEYCLICK || row_ == SV_KEYREPEAT) return 258;
  if (PerElement()) {
    ISystemVariableHost* host = Host();
    return host != nullptr ? host->Count(row_) : 0;
  }
  return 1;
}

void TParamSystem::SetCount(int32_t n) {
  if (TCustomParam* v = Underlying()) v->SetCount(n);
}

uint8_t TParamSystem::VarType() const {
  if (row_ == SV_RESULT || row_ == SV_TEMP) {
    const TCustomParam* v = Underlying();
    return v != nullptr ? v->VarType() : PT_NONE;
  }
  return kRows[static_cast<size_t>(row_)].type;
}

SystemValue TParamSystem::ReadAs(int32_t index) const {
  SystemValue v;
  v.type = VarType();
  if (PerElement() && index >= 0 && index >= Count()) ThrowBadIndex();
  if (StoreRow(row_)) {
    const PlayerSettings& settings = store_->Settings();
    switch (row_) {
      case SV_TEXTDELAY: v.int_value = settings.text_delay; break;
      case SV_CURSOR: v.str_value = settings.cursor; break;
      case SV_SELSTR: v.str_value = store_->SelStr(); break;
      case SV_SELINDEX: v.int_value = store_->SelIndex(); break;
      case SV_PI: v.float_value = std::numbers::pi_v<long double>; break;
      case SV_1HOUR: v.float_value = 1.0L / 24; break;
      case SV_1MIN: v.float_value = 1.0L / 1440; break;
      case SV_1SEC: v.float_value = 1.0L / 86400; break;
      default: break;
    }
  } else if (ISystemVariableHost* host = Host()) {
    host->Read(row_, PerElement() ? index : -1, v);
  }
  Complete(v);
  return v;
}

void TParamSystem::WriteConverted(int32_t index, SystemValue value) {
  if (PerElement() && index >= 0 && index >= Count()) ThrowBadIndex();
  if (StoreRow(row_)) {
    PlayerSettings& settings = store_->Settings();
    switch (row_) {
      case SV_TEXTDELAY: settings.text_delay = value.int_value; break;
      case SV_CURSOR: settings.cursor = value.str_value; break;
      case SV_SELSTR: store_->SetSelStr(value.str_value); break;
      case SV_SELINDEX: store_->SetSelIndex(value.int_value); break;
      default: break;  // constants
    }
    return;
  }
  if (ISystemVariableHost* host = Host()) host->Write(row_, PerElement() ? index : -1, value);
}

namespace {

SystemValue FromInt(uint8_t type, int32_t v) {
  SystemValue out;
  out.type = type;
  out.int_value = v;
  out.float_value = v;
  out.bool_value = v != 0;
  out.str_value = FormatInt(v);
  return out;
}

SystemValue FromFloat(uint8_t type, long double v) {
  SystemValue out;
  out.type = type;
  out.int_value = TruncateRealToInt(v);
  out.float_value = v;
  out.bool_value = v != 0;
  out.str_value = FormatReal(v);
  return out;
}

SystemValue FromBool(uint8_t type, bool v) {
  SystemValue out;
  out.type = type;
  out.int_value = v ? 1 : 0;
  out.float_value = v ? 1 : 0;
  out.bool_value = v;
  out.str_value = v ? "TRUE" : "FALSE";
  return out;
}

}  // namespace

// A text written to an integer or real row must pass the row's text rule, else it is ignored;
// to a flag row it counts as TRUE when it is a non-zero integer text (an element write compares
// with "TRUE" instead).
void TParamSystem::WriteFromStr(int32_t index, std::string_view v, bool element) {
  SystemValue out;
  out.type = VarType();
  switch (out.type) {
    case PT_INT: {
      const auto parsed = ParseIntText(v);
      if (!parsed) return;
      out.int_value = *parsed;
      break;
    }
    case PT_FLOAT: {
      const auto parsed = ParseRealText(v);
      if (!parsed) return;
      out.float_value = *parsed;
      break;
    }
    case PT_BOOL:
      if (element) {
        out.bool_value = v == "TRUE";
      } else {
        const auto parsed = ParseIntText(v);
        out.bool_value = parsed.has_value() && *parsed != 0;
      }
      break;
    case PT_STR:
      out.str_value = std::string(v);
      break;
    default:
      return;
  }
  Complete(out);
  WriteConverted(index, std::move(out));
}

void TParamSystem::SetBool(bool v) {
  if (TCustomParam* u = Underlying()) return u->SetBool(v);
  WriteConverted(-1, FromBool(VarType(), v));
}
void TParamSystem::SetFloat(long double v) {
  if (TCustomParam* u = Underlying()) return u->SetFloat(v);
  WriteConverted(-1, FromFloat(VarType(), v));
}
void TParamSystem::SetInt(int32_t v) {
  if (TCustomParam* u = Underlying()) return u->SetInt(v);
  WriteConverted(-1, FromInt(VarType(), v));
}
void TParamSystem::SetStr(std::string_view v) {
  if (TCustomParam* u = Underlying()) return u->SetStr(v);
  WriteFromStr(-1, v, false);
}

int32_t TParamSystem::GetIntAt(int32_t i) const {
  if (const TCustomParam* u = Underlying()) return u->GetIntAt(i);
  return ReadAs(i).int_value;
}
void TParamSystem::SetIntAt(int32_t i, int32_t v) {
  if (TCustomParam* u = Underlying()) return u->SetIntAt(i, v);
  WriteConverted(i, FromInt(VarType(), v));
}
long double TParamSystem::GetFloatAt(int32_t i) const {
  if (const TCustomParam* u = Underlying()) return u->GetFloatAt(i);
  return ReadAs(i).float_value;
}
void TParamSystem::SetFloatAt(int32_t i, long double v) {
  if (TCustomParam* u = Underlying()) return u->SetFloatAt(i, v);
  WriteConverted(i, FromFloat(VarType(), v));
}
bool TParamSystem::GetBoolAt(int32_t i) const {
  if (const TCustomParam* u = Underlying()) return u->GetBoolAt(i);
  return ReadAs(i).bool_value;
}
void TParamSystem::SetBoolAt(int32_t i, bool v) {
  if (TCustomParam* u = Underlying()) return u->SetBoolAt(i, v);
  WriteConverted(i, FromBool(VarType(), v));
}
std::string TParamSystem::GetStrAt(int32_t i) const {
  if (const TCustomParam* u = Underlying()) return u->GetStrAt(i);
  return ReadAs(i).str_value;
}
void TParamSystem::SetStrAt(int32_t i, std::string_view v) {
  if (TCustomParam* u = Underlying()) return u->SetStrAt(i, v);
  WriteFromStr(i, v, true);
}

int32_t TParamSystem::DimCount() const {
  if (const TCustomParam* u = Underlying()) return u->DimCount();
  return 1;
}
int32_t TParamSystem::GetDim(int32_t index) const {
  if (const TCustomParam* u = Underlying()) return u->GetDim(index);
  return index == 0 ? Count() : 1;
}
void TParamSystem::SetDims(std::span<const int32_t> dims) {
  if (TCustomParam* u = Underlying()) u->SetDims(dims);
}
void TParamSystem::WriteTo(ByteWriter& writer) const { WriteDims(writer); }
void TParamSystem::ReadFrom(ByteReader& reader, const TParamCollection*) {
  ReadDims(reader);
  dims_.clear();
}
void TParamSystem::ClearDims() {
  if (TCustomParam* u = Underlying()) u->ClearDims();
}
int32_t TParamSystem::FindStr(std::string_view s, bool case_sensitive, bool partial) const {
  if (const TCustomParam* u = Underlying()) return u->FindStr(s, case_sensitive, partial);
  // Compare every element through a plain string copy of the row.
  const int32_t n = Count();
  auto copy = std::make_unique<TParamArray<StrElement>>();
  copy->SetCount(n);
  for (int32_t i = 0; i < n; ++i) copy->SetStrAt(i, GetStrAt(i));
  return copy->FindStr(s, case_sensitive, partial);
}

}  // namespace orva
