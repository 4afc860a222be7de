// The variable store: lookup precedence, scopes, names, references, the save blocks.

#include <gtest/gtest.h>

#include "core/byte_reader.h"
#include "core/byte_writer.h"
#include "core/error.h"
#include "script/param_system.h"
#include "script/param_var.h"
#include "script/var_new.h"
#include "script_support.h"

namespace orva {
namespace {

using test::AddInt;
using test::AddStr;

TEST(Store, BeginsWithTheSystemVariables) {
  TParamCollection store;
  ASSERT_EQ(store.Count(), 49);
  EXPECT_EQ(store.Var(0)->Name(), "@Result");
  EXPECT_EQ(store.Var(30)->Name(), "@Pi");
  EXPECT_EQ(store.Var(48)->Name(), "@WheelUp");
  EXPECT_EQ(store.FindVar("@pi")->Value()->VarType(), PT_FLOAT);
  EXPECT_NEAR(static_cast<double>(store.FindVar("@Pi")->Value()->GetFloat()), 3.14159265358979, 1e-12);
  EXPECT_EQ(store.FindVar("@KeyPush")->Value()->Count(), 258);
  // Rows the store owns read and write its own state.
  store.FindVar("@TextDelay")->Value()->SetStr("75");
  EXPECT_EQ(store.Settings().text_delay, 75);
  store.FindVar("@TextDelay")->Value()->SetStr("fast");  // not an integer text: ignored
  EXPECT_EQ(store.Settings().text_delay, 75);
  store.FindVar("@SelIndex")->Value()->SetFloat(3.7L);
  EXPECT_EQ(store.SelIndex(), 3);
  EXPECT_THROW(SystemVariableRow(49), EOrvaError);
}

TEST(Store, TempStandsForTheNamedVariable) {
  TParamCollection store;
  TCustomParam* temp = store.FindVar("@Temp")->Value();
  EXPECT_EQ(temp->VarType(), PT_NONE);
  EXPECT_EQ(temp->GetInt(), 0);
  AddInt(store, "hp", 10);
  store.Settings().temp_target = "hp";
  EXPECT_EQ(temp->VarType(), PT_INT);
  temp->SetInt(11);
  EXPECT_EQ(store.FindVar("hp")->Value()->GetInt(), 11);
  store.Settings().temp_target = "@Temp";  // would pass on to itself forever
  EXPECT_EQ(temp->GetInt(), 0);
}

TEST(Store, FindVarPrefersTheLocalOfTheCurrentDepthThenTheOldest) {
  TParamCollection store;
  AddInt(store, "x", 1);
  AddInt(store, "X", 2);  // a second shared variable of the same name: the older one wins
  store.SetCurrentFrame(2);
  TParamCollectionItem* local = AddInt(store, "x", 3);
  local->SetFrame(2);
  local->SetLocal(true);
  EXPECT_EQ(store.FindVar("x")->Value()->GetInt(), 3);
  store.SetCurrentFrame(3);
  EXPECT_EQ(store.FindVar("x")->Value()->GetInt(), 1);
  EXPECT_EQ(store.FindScoped("x", true), nullptr);
  EXPECT_EQ(store.FindScoped("x", false)->Value()->GetInt(), 2);
  store.SetCurrentFrame(2);
  EXPECT_EQ(store.FindScoped("x", true), local);
  store.FreeFrame(2);
  EXPECT_EQ(store.FindVar("x")->Value()->GetInt(), 1);
  EXPECT_EQ(store.Count(), 51);
}

TEST(Store, NamesAreChecked) {
  TParamCollection store;
  for (const char* bad : {"", "a b", "1abc"}) {
    try {
      store.AddNamedVar(bad, PT_INT);
      FAIL() << bad;
    } catch (const EOrvaError& e) {
      EXPECT_EQ(std::string(e.what()), "\"" + std::string(bad) + "\"：変数名が不正です");
    }
  }
  EXPECT_EQ(store.Count(), 49);
  EXPECT_NE(store.AddNamedVar("a1", PT_INT), nullptr);
}

TEST(Store, SnapshotCopiesAndRefusesUntypedVariables) {
  TParamCollection store;
  AddStr(store, "s", "abc");
  auto copy = store.Snapshot("s");
  ASSERT_TRUE(copy);
  store.FindVar("s")->Value()->SetStr("changed");
  EXPECT_EQ(copy->GetStr(), "abc");
  EXPECT_EQ(store.Snapshot("missing"), nullptr);
  store.AddNamedVar("r", PT_NONE);
  try {
    store.Snapshot("r");
    FAIL();
  } catch (const EOrvaError& e) {
    EXPECT_STREQ(e.what(), "r:不正な変数です");
  }
}

TEST(Store, AReferenceToADeletedVariableReadsAsDefault) {
  TParamCollection store;
  TParamCollectionItem* target = AddInt(store, "t", 5);
  TParamCollectionItem* ref = store.AddNamedVar("r", PT_NONE);
  static_cast<TParamVar*>(ref->Value())->SetTarget(target);
  EXPECT_EQ(ref->Value()->GetInt(), 5);
  EXPECT_EQ(ref->Value()->VarType(), PT_INT);
  store.DeleteVar(target);
  EXPECT_EQ(ref->Value()->GetInt(), 0);
  EXPECT_EQ(ref->Value()->GetStr(), "");
  EXPECT_EQ(ref->Value()->Count(), 0);
  EXPECT_EQ(ref->Value()->VarType(), PT_NONE);
}

TEST(VarNew, CreatesInScopeAndNeverReinitialisesStatus) {
  TParamCollection store;
  store.SetCurrentFrame(2);
  TOrvaParser init;
  CompileExpression("3.7", init);
  CreateVariable(store, "a", PT_INT, VarScope::kLocal, &init);
  TParamCollectionItem* a = store.FindVar("a");
  ASSERT_NE(a, nullptr);
  EXPECT_TRUE(a->Local());
  EXPECT_EQ(a->Frame(), 2);
  EXPECT_EQ(a->Value()->GetInt(), 3);

  CreateVariable(store, "s", PT_STR, VarScope::kStatus, &init);
  EXPECT_EQ(store.FindVar("s")->Value()->GetStr(), "3.7");
  TOrvaParser other;
  CompileExpression("\"new\"", other);
  CreateVariable(store, "s", PT_STR, VarScope::kStatus, &other);
  EXPECT_EQ(store.FindVar("s")->Value()->GetStr(), "3.7");

  // An existing variable keeps its own type and receives the value through the declared type.
  AddStr(store, "g", "old");
  CreateVariable(store, "g", PT_INT, VarScope::kGlobal, &init);
  EXPECT_EQ(store.FindVar("g")->Value()->VarType(), PT_STR);
  EXPECT_EQ(store.FindVar("g")->Value()->GetStr(), "3");

  try {
    CreateVariable(store, "", PT_INT, VarScope::kGlobal, nullptr);
    FAIL();
  } catch (const EOrvaError& e) {
    EXPECT_STREQ(e.what(), "変数名がありません");
  }
}

TEST(SaveBlocks, GameBlockRoundTripsAndLeavesStatusAndSystemAlone) {
  TParamCollection store;
  AddInt(store, "a", 1);
  TParamCollectionItem* arr = store.AddNamedVar("arr", PT_STR);
  const int32_t dims[] = {2};
  arr->Value()->SetDims(dims);
  arr->Value()->SetStrAt(1, "two");
  TParamCollectionItem* status = AddInt(store, "st", 9);
  status->SetStatus(true);
  store.Settings().text_delay = 20;
  store.Settings().cursor = "hand";
  store.Settings().history_style = {1, 2, 3, 4, 5, 6};
  store.Settings().temp_target = "a";
  store.SetSelStr("sel");
  store.SetSelIndex(4);

  ByteWriter w;
  store.SaveGameVars(w);

  TParamCollection loaded;
  TParamCollectionItem* keep = AddInt(loaded, "keep", 3);
  keep->SetStatus(true);
  AddInt(loaded, "gone", 3);
  ByteReader r(w.Data());
  loaded.LoadGameVars(r, 121);
  EXPECT_TRUE(r.AtEnd());
  EXPECT_EQ(loaded.FindVar("gone"), nullptr);
  EXPECT_EQ(loaded.FindVar("keep"), keep);
  EXPECT_EQ(loaded.FindVar("st"), nullptr);
  EXPECT_EQ(loaded.FindVar("a")->Value()->GetInt(), 1);
  EXPECT_EQ(loaded.FindVar("arr")->Value()->GetStrAt(1), "two");
  EXPECT_EQ(loaded.Count(), 49 + 3);
  // Newest first.
  EXPECT_EQ(loaded.Var(50)->Name(), "arr");
  EXPECT_EQ(loaded.Settings().text_delay, 20);
  EXPECT_EQ(loaded.Settings().cursor, "hand");
  EXPECT_EQ(loaded.Settings().history_style[5], 6);
  EXPECT_EQ(loaded.Settings().temp_target, "a");
  EXPECT_EQ(loaded.SelStr(), "sel");
  EXPECT_EQ(loaded.SelIndex(), 4);
}

TEST(SaveBlocks, OlderVersionsStopEarlier) {
  TParamCollection store;
  ByteWriter w;
  w.I32(0);
  w.I32(30);
  w.String("c");
  w.String("sel");
  w.I32(7);
  const std::string bytes = w.Data();
  struct Case {
    int version;
    size_t consumed;
  };
  for (const Case& c : {Case{102, 4 + 4 + 5}, Case{103, bytes.size()}}) {
    TParamCollection loaded;
    ByteReader r(bytes);
    loaded.LoadGameVars(r, c.version);
    EXPECT_EQ(r.Position(), c.consumed) << c.version;
    EXPECT_EQ(loaded.Settings().text_delay, 30);
  }
}

TEST(SaveBlocks, ReferencesFollowTheirTargets) {
  TParamCollection store;
  TParamCollectionItem* ref = store.AddNamedVar("ref", PT_NONE);
  TParamCollectionItem* target = AddInt(store, "target", 8);
  auto* value = static_cast<TParamVar*>(ref->Value());
  value->SetTarget(target);
  value->SetIndex(0);
  AddInt(store, "newest", 1);
  ByteWriter w;
  store.SaveGameVars(w);

  TParamCollection loaded;
  ByteReader r(w.Data());
  loaded.LoadGameVars(r, 121);
  // Newest first, the reference after the variable it points to.
  EXPECT_EQ(loaded.Var(49)->Name(), "newest");
  EXPECT_EQ(loaded.Var(50)->Name(), "target");
  EXPECT_EQ(loaded.Var(51)->Name(), "ref");
  EXPECT_EQ(loaded.Var(51)->Value()->GetInt(), 8);
}

TEST(SaveBlocks, AnEndlessChainOfReferencesIsRefused) {
  TParamCollection store;
  TParamCollectionItem* previous = AddInt(store, "v0", 8);
  for (int i = 1; i <= 1500; ++i) {
    TParamCollectionItem* ref = store.AddNamedVar("v" + std::to_string(i), PT_NONE);
    static_cast<TParamVar*>(ref->Value())->SetTarget(previous);
    previous = ref;
  }
  ByteWriter w;
  store.SaveGameVars(w);

  TParamCollection loaded;
  ByteReader r(w.Data());
  EXPECT_THROW(loaded.LoadGameVars(r, 121), EOrvaError);
  EXPECT_EQ(loaded.FindVar("v0"), nullptr) << "the damaged block leaves the store as it was";
}

TEST(SaveBlocks, ADamagedBlockLeavesTheStoreAsItWas) {
  TParamCollection store;
  AddInt(store, "a", 1);
  ByteWriter w;
  store.SaveGameVars(w);
  std::string bytes = w.Data();
  bytes.resize(bytes.size() - 3);

  TParamCollection loaded;
  AddInt(loaded, "mine", 5);
  ByteReader r(bytes);
  EXPECT_THROW(loaded.LoadGameVars(r, 121), EOrvaError);
  EXPECT_EQ(loaded.Count(), 50);
  EXPECT_EQ(loaded.FindVar("mine")->Value()->GetInt(), 5);
  EXPECT_EQ(loaded.FindVar("a"), nullptr);
}

TEST(SaveBlocks, StatusBlockAddsWithoutDeleting) {
  TParamCollection store;
  AddInt(store, "game", 1);
  TParamCollectionItem* st = AddStr(store, "flag", "on");
  st->SetStatus(true);
  ByteWriter w;
  store.SaveStatusVars(w);

  TParamCollection loaded;
  AddInt(loaded, "other", 2);
  ByteReader r(w.Data());
  loaded.LoadStatusVars(r);
  EXPECT_TRUE(r.AtEnd());
  EXPECT_NE(loaded.FindVar("other"), nullptr);
  EXPECT_EQ(loaded.FindVar("game"), nullptr);
  ASSERT_NE(loaded.FindVar("flag"), nullptr);
  EXPECT_TRUE(loaded.FindVar("flag")->Status());

  loaded.Settings().text_delay = 1;
  loaded.Settings().cursor = "x";
  loaded.SetSelIndex(3);
  loaded.ResetGameVars();
  EXPECT_EQ(loaded.FindVar("other"), nullptr);
  EXPECT_NE(loaded.FindVar("flag"), nullptr);
  EXPECT_EQ(loaded.Settings().text_delay, 50);
  EXPECT_EQ(loaded.Settings().cursor, "");
  EXPECT_EQ(loaded.SelIndex(), 3);
}

}  // namespace
}  // namespace orva
