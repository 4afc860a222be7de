#pragma once
// Expression records as text for page listings: a record is shown as the expression text that
// compiles back to exactly its bytes, and a listed text is compiled into a record.

#include <optional>
#include <string>
#include <string_view>

namespace orva {

// The expression text (Shift-JIS) whose compilation gives exactly this record; nothing when no
// such text is found (the listing then keeps the record's bytes). An empty record gives "".
std::optional<std::string> ExpressionRecordToText(std::string_view record);

// The record of an expression text; "" (no text) gives the empty record. Raises the compiler's
// errors ("構文エラー" and the function-table errors).
std::string ExpressionTextToRecord(std::string_view text);

}  // namespace orva
