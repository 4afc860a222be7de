#pragma once
// Page listings: a readable UTF-8 text of a page record that assembles back into exactly the same
// bytes. Expressions appear as text where their text compiles to the same record, strings are
// quoted with escapes for what does not convert, and whatever has no text form is kept as hex.

#include <string>
#include <string_view>

#include "scenario/page_record.h"

namespace orva {

std::string ListPage(const PageRecord& page);

// Raises EOrvaError with the line number and what is wrong.
PageRecord AssemblePage(std::string_view listing);

// "..." with \" \\ \r \n \t and \xHH for bytes that do not convert; the text is Shift-JIS.
std::string QuoteListingString(const std::string& sjis);
// The reverse; raises EOrvaError for a malformed quoted string. `rest` receives what follows it.
std::string UnquoteListingString(std::string_view text, std::string_view* rest = nullptr);

}  // namespace orva
