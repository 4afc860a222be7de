#pragma once
// Code page 932 <-> UTF-8, used only where text crosses to a person (message boxes, logs, tool
// output) or to the Linux file system. Scenario-visible text stays Shift-JIS everywhere else.

#include <optional>
#include <string>
#include <string_view>

namespace orva {

// Exact conversions: nothing when the input is not valid in its encoding.
std::optional<std::string> TryCp932ToUtf8(std::string_view sjis);
std::optional<std::string> TryUtf8ToCp932(std::string_view utf8);

// For display: bytes that do not convert become U+FFFD; never fails.
std::string Cp932ToUtf8(std::string_view sjis);

// For literals written in UTF-8 in the source ("情報") and for names given on the command line:
// raises EOrvaError when a character has no code page 932 form.
std::string Utf8ToCp932(std::string_view utf8);

}  // namespace orva
