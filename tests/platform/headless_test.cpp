#include <gtest/gtest.h>

#include <sstream>

#include "platform/headless/headless_platform.h"

namespace orva::platform {
namespace {

TEST(VirtualClock, AdvancesOnlyWhenTold) {
  VirtualClock clock;
  EXPECT_EQ(clock.TickCount(), 0u);
  for (int turn = 0; turn < 60; ++turn) clock.Advance(16);
  EXPECT_EQ(clock.TickCount(), 960u);
  EXPECT_EQ(clock.TickCount(), 960u);
}

TEST(VirtualClock, LocalTimeStartsAtTheFixedMomentAndFollowsTheVirtualTime) {
  VirtualClock clock;
  LocalDateTime t = clock.Now();
  EXPECT_EQ(t.year, 2001);
  EXPECT_EQ(t.month, 1);
  EXPECT_EQ(t.day, 1);
  EXPECT_EQ(t.hour, 0);
  EXPECT_EQ(t.day_of_week, 2);  // 2001-01-01 was a Monday

  VirtualClock late(LocalDateTime{2004, 2, 28, 23, 59, 59, 500, 0});
  late.Advance(86400000u + 600u);  // one day and a little: across the leap day
  t = late.Now();
  EXPECT_EQ(t.month, 3);
  EXPECT_EQ(t.day, 1);
  EXPECT_EQ(t.hour, 0);
  EXPECT_EQ(t.second, 0);
  EXPECT_EQ(t.millisecond, 100);
  EXPECT_EQ(t.day_of_week, 2);  // 2004-03-01 was a Monday
}

TEST(StreamMessageBoxes, WriteCaptionAndTextAndAnswerWithTheEndingChoice) {
  std::ostringstream sink;
  HeadlessPlatform p = CreateHeadlessPlatform(sink, LocalDateTime{2001, 1, 1, 0, 0, 0, 0, 2});
  MessageRequest question{"情報", "ディスクを入れてください", MessageIcon::kInformation,
                          MessageButtons::kOkCancel, MessageChoice::kCancel};
  EXPECT_EQ(p.services.message_boxes->Show(question), MessageChoice::kCancel);
  MessageRequest note{"警告", "スタートページがありません", MessageIcon::kWarning, MessageButtons::kOk,
                      MessageChoice::kCancel};
  EXPECT_EQ(p.services.message_boxes->Show(note), MessageChoice::kOk);
  EXPECT_EQ(sink.str(), "情報: ディスクを入れてください\n警告: スタートページがありません\n");
  EXPECT_EQ(p.message_boxes->Shown().size(), 2u);

  EXPECT_TRUE(p.services.url_opener->Open("http://example.invalid/"));
  EXPECT_EQ(p.url_opener->Opened(), std::vector<std::string>{"http://example.invalid/"});
}

}  // namespace
}  // namespace orva::platform
