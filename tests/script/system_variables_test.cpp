// The conversions every system variable applies before the player's side sees a read or write.

#include <gtest/gtest.h>

#include <map>

#include "core/error.h"
#include "script/param_system.h"
#include "script_support.h"

namespace orva {
namespace {

// Keeps whatever is written, per row, in the row's own type.
class RecordingHost : public ISystemVariableHost {
 public:
  TCustomParam* Underlying(int) override { return nullptr; }
  uint8_t Type(int row) override { return SystemVariableRow(row).type; }
  int32_t Count(int) override { return 2; }
  void Read(int row, int32_t, SystemValue& out) override {
    if (values.count(row) != 0) out = values[row];
  }
  void Write(int row, int32_t, const SystemValue& value) override {
    values[row] = value;
    ++writes;
  }
  std::map<int, SystemValue> values;
  int writes = 0;
};

TEST(SystemVariables, WritesAreConvertedToTheRowsTypeOrIgnored) {
  TParamCollection store;
  RecordingHost host;
  store.SetSystemHost(&host);
  TCustomParam* click = store.FindVar("@LClick")->Value();  // flag
  click->SetStr("1");
  EXPECT_TRUE(host.values[SV_LCLICK].bool_value);
  click->SetStr("TRUE");  // not a non-zero integer text
  EXPECT_FALSE(host.values[SV_LCLICK].bool_value);
  click->SetStrAt(0, "TRUE");  // an element write compares with "TRUE"
  EXPECT_TRUE(host.values[SV_LCLICK].bool_value);
  click->SetFloat(0.5L);
  EXPECT_TRUE(click->GetBool());
  EXPECT_EQ(click->GetStr(), "TRUE");

  TCustomParam* mouse = store.FindVar("@MouseX")->Value();  // integer
  mouse->SetFloat(12.9L);
  EXPECT_EQ(mouse->GetInt(), 12);
  const int before = host.writes;
  mouse->SetStr("left");
  EXPECT_EQ(host.writes, before);
  EXPECT_EQ(mouse->GetStr(), "12");

  TCustomParam* sender = store.FindVar("@Sender")->Value();  // string
  sender->SetBool(true);
  EXPECT_EQ(sender->GetStr(), "TRUE");
  sender->SetFloat(0.25L);
  EXPECT_EQ(sender->GetStr(), "0.25");
  EXPECT_EQ(sender->Count(), 1);
}

TEST(SystemVariables, PerElementRowsCheckTheirIndex) {
  TParamCollection store;
  RecordingHost host;
  store.SetSystemHost(&host);
  TCustomParam* keys = store.FindVar("@KeyPush")->Value();
  EXPECT_EQ(keys->Count(), 258);
  EXPECT_FALSE(keys->GetBoolAt(257));
  EXPECT_THROW(keys->GetBoolAt(258), EOrvaError);
  TCustomParam* params = store.FindVar("@ParamStr")->Value();
  EXPECT_EQ(params->Count(), 2);
  EXPECT_THROW(params->GetStrAt(2), EOrvaError);
}

TEST(SystemVariables, ExpressionsReadAndWriteThem) {
  TParamCollection store;
  test::AddInt(store, "d", 0);
  test::Evaluated run(store, "d = @TextDelay * 2");
  EXPECT_EQ(store.FindVar("d")->Value()->GetInt(), 100);
  test::Evaluated write(store, "@TextDelay = \"30\"");
  EXPECT_EQ(store.Settings().text_delay, 30);
  test::Evaluated pi(store, "@Pi * 2");
  ASSERT_NE(pi.parser.Result(), nullptr);
  EXPECT_EQ(pi.parser.Result()->GetStr(), "6.28318530717959");
}

}  // namespace
}  // namespace orva
