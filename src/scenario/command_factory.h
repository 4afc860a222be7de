#pragma once
// Creates the command object of a stored record's type.

#include <memory>

#include "scenario/page_record.h"

namespace orva {

class TCommand;
class TPage;

// The record's type must be one of the table's (the page reader refuses any other).
std::unique_ptr<TCommand> CreateCommand(TPage* page, CommandRecord record);

}  // namespace orva
