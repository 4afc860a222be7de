#include "core/trace.h"

#include <gtest/gtest.h>

namespace orva {
namespace {

TEST(Trace, LinesCarryThePlayTimeInEightHexDigits) {
  EXPECT_EQ(FormatTraceLine(0x3C0, "start.osb", 12), "000003c0 : start.osb(12)");
  EXPECT_EQ(FormatTraceLine(0xFFFFFFFFu, "<Event>a.osb", -1), "ffffffff : <Event>a.osb(-1)");
}

}  // namespace
}  // namespace orva
