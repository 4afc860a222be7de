#pragma once
// The system variables that read the call manager and the scenario's clock.

#include <cstdint>
#include <functional>

namespace orva {

class CallManagerHost;
class SystemVariableRows;
class TCallMan;

// @Result, @ParamCount, @ParamStr, @Sender, @TickCount, @UpdateCount; @PCTickCount reads
// system_ticks (the platform's millisecond counter).
void RegisterCallManagerRows(SystemVariableRows& rows, TCallMan& calls, CallManagerHost& host,
                             std::function<uint32_t()> system_ticks);

}  // namespace orva
