// Damaged and unusual pages found by fuzzing: each is a row with the outcome it must have.

#include <gtest/gtest.h>

#include <fstream>
#include <sstream>

#include "core/error.h"
#include "scenario/page_listing.h"
#include "scenario/page_record.h"

namespace orva {
namespace {

std::string ReadInput(const std::string& name) {
  std::ifstream in(std::string(ORVA_TEST_DATA_DIR) + "/malformed/" + name, std::ios::binary);
  std::ostringstream s;
  s << in.rdbuf();
  return s.str();
}

TEST(MalformedPages, EachInputHasItsOutcome) {
  const struct {
    const char* file;
    const char* error;  // empty: the page is read, and listed and assembled back to its bytes
  } rows[] = {
      {"page-negative-string-count.bin", ""},
  };
  for (const auto& row : rows) {
    SCOPED_TRACE(row.file);
    const std::string bytes = ReadInput(row.file);
    ASSERT_FALSE(bytes.empty());
    if (row.error[0] != '\0') {
      try {
        ReadPageRecord(bytes);
        ADD_FAILURE() << "read without error";
      } catch (const EOrvaError& e) {
        EXPECT_STREQ(e.what(), row.error);
      }
      continue;
    }
    const PageRecord page = ReadPageRecord(bytes);
    const std::string written = WritePageRecord(page);
    EXPECT_EQ(written, bytes.substr(0, written.size()));
    EXPECT_EQ(WritePageRecord(AssemblePage(ListPage(page))), written);
  }
}

}  // namespace
}  // namespace orva
