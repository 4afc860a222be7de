#include <gtest/gtest.h>

#include "core/error.h"
#include "core/hash_collection.h"
#include "core/int_list.h"
#include "core/obj_list.h"
#include "core/rect.h"

namespace orva {
namespace {

class Named : public THashCollectionItem {
 public:
  Named(std::string name, int tag) : THashCollectionItem(std::move(name)), tag(tag) {}
  int tag;
};

int TagOf(THashCollectionItem* item) { return item == nullptr ? -1 : static_cast<Named*>(item)->tag; }

TEST(HashCollection, FindsTheNewestItemIgnoringCase) {
  THashCollection c;
  c.Add(std::make_unique<Named>("Alpha", 1));
  c.Add(std::make_unique<Named>("beta", 2));
  c.Add(std::make_unique<Named>("ALPHA", 3));
  EXPECT_EQ(TagOf(c.Find("alpha")), 3);
  EXPECT_EQ(TagOf(c.Find("BETA")), 2);
  EXPECT_EQ(TagOf(c.Find("gamma")), -1);
  // The chain is newest first and continues to the older item of the same name.
  THashCollectionItem* head = c.ChainHead("Alpha");
  std::vector<int> alphas;
  for (auto* i = head; i != nullptr; i = i->NextInChain())
    if (i->Name() == "Alpha" || i->Name() == "ALPHA") alphas.push_back(TagOf(i));
  EXPECT_EQ(alphas, (std::vector<int>{3, 1}));
}

TEST(HashCollection, ItemsKnowTheirPositionThroughInsertAndDelete) {
  THashCollection c;
  for (int i = 0; i < 5; ++i) c.Add(std::make_unique<Named>("n" + std::to_string(i), i));
  c.Delete(1);
  c.Insert(0, std::make_unique<Named>("first", 9));
  ASSERT_EQ(c.Count(), 5);
  for (int i = 0; i < c.Count(); ++i) EXPECT_EQ(c.Item(i)->Index(), i);
  EXPECT_EQ(c.Find("n1"), nullptr);
  EXPECT_EQ(c.Find("N3")->Index(), 3);
  auto taken = c.Extract(0);
  EXPECT_EQ(taken->Index(), -1);
  EXPECT_EQ(c.Find("first"), nullptr);
  EXPECT_THROW(c.Delete(4), EOrvaError);
}

TEST(HashCollection, RenamingMovesTheItemToItsNewName) {
  THashCollection c;
  auto* item = c.Add(std::make_unique<Named>("old", 1));
  item->SetName("New");
  EXPECT_EQ(c.Find("old"), nullptr);
  EXPECT_EQ(c.Find("new"), item);
  c.Clear();
  EXPECT_EQ(c.Count(), 0);
  EXPECT_EQ(c.Find("new"), nullptr);
}

TEST(HashCollection, DoubleByteNamesDoNotCollideThroughTrailBytes) {
  THashCollection c;
  c.Add(std::make_unique<Named>("\x83\x41", 1));  // ア
  EXPECT_EQ(c.Find("\x83\x61"), nullptr);        // ヂ
  EXPECT_EQ(TagOf(c.Find("\x83\x41")), 1);
}

TEST(IntList, SettingBeyondTheEndExtendsWithZeros) {
  TIntList list;
  list.Set(3, 7);
  EXPECT_EQ(list.Values(), (std::vector<int32_t>{0, 0, 0, 7}));
  EXPECT_EQ(list.Get(10), 0);
  EXPECT_THROW(list.Set(-1, 1), EOrvaError);

  TIntArray array;
  array.Add(5);
  array.Insert(0, 4);
  array.Delete(1);
  EXPECT_EQ(array.Values(), (std::vector<int32_t>{4}));
  EXPECT_EQ(array.IndexOf(4), 0);
  EXPECT_THROW(array.Delete(1), EOrvaError);

  TObjList<int> objects;
  objects.Add(std::make_unique<int>(1));
  objects.Insert(0, std::make_unique<int>(2));
  EXPECT_EQ(*objects[0], 2);
  EXPECT_EQ(objects.IndexOf(objects[1]), 1);
}

TEST(Rect, IntersectionUnionAndWrappingBounds) {
  const TRect a{0, 0, 10, 10};
  const TRect b{5, 5, 20, 20};
  EXPECT_EQ(Intersect(a, b), (TRect{5, 5, 10, 10}));
  EXPECT_EQ(Intersect(a, TRect{10, 0, 20, 10}), TRect{});  // Right is exclusive
  EXPECT_EQ(Union(a, b), (TRect{0, 0, 20, 20}));
  EXPECT_EQ(Union(TRect{}, b), b);
  EXPECT_EQ(Bounds(2147483647, 0, 1, 1).Right, -2147483647 - 1);
  EXPECT_FALSE(a.Contains(10, 5));
}

}  // namespace
}  // namespace orva
