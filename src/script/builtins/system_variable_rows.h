#pragma once
// The player's side of the system variables as a table of rows: each part of the player fills
// the rows that read its state (the call manager @Result and @ParamStr, the project @Title, ...).
// A row nobody has filled reads its type's neutral value and ignores writes.

#include <array>
#include <functional>

#include "script/param_system.h"

namespace orva {

class SystemVariableRows final : public ISystemVariableHost {
 public:
  struct Row {
    // @Result and @Temp: the value every operation goes to.
    std::function<TCustomParam*()> underlying;
    std::function<uint8_t()> type;
    std::function<int32_t()> count;
    std::function<void(int32_t index, SystemValue& out)> read;
    std::function<void(int32_t index, const SystemValue& value)> write;
  };

  void SetRow(int row, Row handlers);
  void ClearRow(int row) { SetRow(row, Row{}); }

  TCustomParam* Underlying(int row) override;
  uint8_t Type(int row) override;
  int32_t Count(int row) override;
  void Read(int row, int32_t index, SystemValue& out) override;
  void Write(int row, int32_t index, const SystemValue& value) override;

 private:
  const Row* Find(int row) const;
  std::array<Row, kSystemVariableRows> rows_{};
};

}  // namespace orva
