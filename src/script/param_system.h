#pragma once
// System variables: the 49 "@" variables that read and write the player's state. The store holds
// one TParamSystem per row; what each row reads and writes is supplied by the player through
// ISystemVariableHost, while the conversions common to every row live here.

#include <cstdint>
#include <string>
#include <string_view>

#include "script/param.h"

namespace orva {

enum SystemVariable : int {
  SV_RESULT = 0, SV_LCLICK, SV_RCLICK, SV_LPUSH, SV_RPUSH, SV_MOUSEX, SV_MOUSEY, SV_TEXTDELAY,
  SV_HISTORYCOUNT, SV_PARAMCOUNT, SV_PARAMSTR, SV_SENDER, SV_SCRWIDTH, SV_SCRHEIGHT, SV_TICKCOUNT,
  SV_PCTICKCOUNT, SV_UPDATECOUNT, SV_YEAR, SV_MONTH, SV_DAY, SV_WEEK, SV_HOUR, SV_MIN, SV_SEC,
  SV_FONTS, SV_FIXEDFONTS, SV_FULLSCR, SV_CURSOR, SV_SELSTR, SV_SELINDEX, SV_PI, SV_CGDITHER,
  SV_1HOUR, SV_1MIN, SV_1SEC, SV_KEYPUSH, SV_KEYCLICK, SV_DISPLAYMODECOUNT, SV_DISPLAYMODEINDEX,
  SV_TITLE, SV_SOUNDON, SV_ACTIVECOMPO, SV_KEYREPEAT, SV_HISTORYMAXCOUNT, SV_TEMP, SV_MIDIPORT,
  SV_MIDIPORTS, SV_WHEELDOWN, SV_WHEELUP,
  kSystemVariableRows
};

struct SystemVariableInfo {
  std::string_view name;
  // The row's type; @Result and @Temp take the type of the value they stand for (0 here).
  uint8_t type;
};

// Fails with "内部エラー" outside 0 .. 48.
const SystemVariableInfo& SystemVariableRow(int row);

// One element of a system variable in its row's own type.
struct SystemValue {
  uint8_t type = PT_INT;
  int32_t int_value = 0;
  long double float_value = 0;
  bool bool_value = false;
  std::string str_value;
};

// The player's side of the system variables.
class ISystemVariableHost {
 public:
  virtual ~ISystemVariableHost() = default;
  // For @Result and @Temp: the value every operation is passed to, or nothing.
  virtual TCustomParam* Underlying(int row) = 0;
  // The row's type where it is not fixed by the table.
  virtual uint8_t Type(int row) = 0;
  // Elements of the rows that answer per element (@ParamStr, @MidiPorts, the key arrays); 1 for
  // the others.
  virtual int32_t Count(int row) = 0;
  // Reads element index (-1: the scalar read) into out, whose type is preset to the row's type.
  virtual void Read(int row, int32_t index, SystemValue& out) = 0;
  // Writes a value already converted to the row's type.
  virtual void Write(int row, int32_t index, const SystemValue& value) = 0;
};

class TParamSystem final : public TCustomParam {
 public:
  TParamSystem(int row, TParamCollection* store);

  int SysIndex() const { return row_; }

  int32_t Count() const override;
  void SetCount(int32_t n) override;
  uint8_t VarType() const override;

  bool GetBool() const override { return ReadAs(-1).bool_value; }
  long double GetFloat() const override { return ReadAs(-1).float_value; }
  int32_t GetInt() const override { return ReadAs(-1).int_value; }
  std::string GetStr() const override { return ReadAs(-1).str_value; }
  void SetBool(bool v) override;
  void SetFloat(long double v) override;
  void SetInt(int32_t v) override;
  void SetStr(std::string_view v) override;

  int32_t GetIntAt(int32_t i) const override;
  void SetIntAt(int32_t i, int32_t v) override;
  long double GetFloatAt(int32_t i) const override;
  void SetFloatAt(int32_t i, long double v) override;
  bool GetBoolAt(int32_t i) const override;
  void SetBoolAt(int32_t i, bool v) override;
  std::string GetStrAt(int32_t i) const override;
  void SetStrAt(int32_t i, std::string_view v) override;

  int32_t DimCount() const override;
  int32_t GetDim(int32_t index) const override;
  void SetDims(std::span<const int32_t> dims) override;
  void WriteTo(ByteWriter& writer) const override;
  void ReadFrom(ByteReader& reader, const TParamCollection* store) override;
  void ClearDims() override;
  int32_t FindStr(std::string_view s, bool case_sensitive, bool partial) const override;

 private:
  ISystemVariableHost* Host() const;
  TCustomParam* Underlying() const;
  bool PerElement() const;
  // The element (index -1: scalar) read in the row's type, with all four kinds filled in.
  SystemValue ReadAs(int32_t index) const;
  void WriteConverted(int32_t index, SystemValue value);
  void WriteFromStr(int32_t index, std::string_view v, bool element);

  int row_;
  TParamCollection* store_;
};

}  // namespace orva
