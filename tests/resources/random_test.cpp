#include "resources/random.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <numeric>

#include "core/error.h"

namespace orva {
namespace {

// The deck as a plain list with removal: the definition the fast deck must reproduce.
std::vector<int32_t> PlainDeckDraws(int32_t seed, int32_t n, int32_t draws, uint32_t start_state = 0) {
  TQnRandom r(seed);
  r.SetState(start_state);
  std::vector<int32_t> deck(static_cast<size_t>(n));
  std::iota(deck.begin(), deck.end(), 0);
  std::vector<int32_t> out;
  for (int32_t k = 0; k < draws; ++k) {
    const uint32_t i = r.Next() % static_cast<uint32_t>(deck.size());
    out.push_back(deck[i]);
    deck.erase(deck.begin() + i);
  }
  return out;
}

TEST(QnRandom, NextFollowsTheRecurrenceFromSeed) {
  TQnRandom r(12341);
  EXPECT_EQ(r.Next(), 12341u);
  EXPECT_EQ(r.Next(), 74046u);
  EXPECT_EQ(r.Next(), 382571u);
  EXPECT_EQ(r.Next(), 1925196u);

  TQnRandom wrap(1);
  wrap.SetState(0x7FFFFFFF);
  EXPECT_EQ(wrap.Next(), 0x7FFFFFFCu);

  TQnRandom negative(-1);
  EXPECT_EQ(negative.Next(), 0xFFFFFFFFu);
}

TEST(QnRandom, DrawsTheKnownFirstEntriesOfADeck) {
  TQnRandom r(12341);
  r.InitDeck(4096);
  EXPECT_EQ(r.Draw(), 53);
  EXPECT_EQ(r.Draw(), 337);
  EXPECT_EQ(r.Draw(), 1831);
  EXPECT_EQ(r.Draw(), 1488);
  EXPECT_EQ(r.DeckCount(), 4092);
}

TEST(QnRandom, FastDeckMatchesThePlainListForManySizesAndSeeds) {
  const int32_t seeds[] = {12341, 1, -7, 0x7FFFFFFF, static_cast<int32_t>(0x80000000u), 0};
  const int32_t sizes[] = {1, 2, 3, 7, 64, 1000, 4097};
  for (int32_t seed : seeds) {
    for (int32_t n : sizes) {
      TQnRandom r(seed);
      r.InitDeck(n);
      std::vector<int32_t> drawn;
      for (int32_t k = 0; k < n; ++k) drawn.push_back(r.Draw());
      ASSERT_EQ(drawn, PlainDeckDraws(seed, n, n)) << "seed " << seed << " n " << n;
      // A full shuffle is a permutation.
      std::sort(drawn.begin(), drawn.end());
      for (int32_t k = 0; k < n; ++k) ASSERT_EQ(drawn[static_cast<size_t>(k)], k);
    }
  }
}

TEST(QnRandom, InitDeckKeepsTheStateSoASecondDeckContinuesTheSequence) {
  TQnRandom r(99);
  r.InitDeck(10);
  for (int k = 0; k < 10; ++k) r.Draw();
  const uint32_t state = r.State();
  r.InitDeck(50);
  EXPECT_EQ(r.State(), state);
  std::vector<int32_t> second;
  for (int k = 0; k < 50; ++k) second.push_back(r.Draw());
  EXPECT_EQ(second, PlainDeckDraws(99, 50, 50, state));
}

TEST(QnRandom, DrawingFromAnEmptyDeckIsRefused) {
  TQnRandom r(5);
  EXPECT_THROW(r.Draw(), EOrvaError);
  r.InitDeck(1);
  EXPECT_EQ(r.Draw(), 0);
  EXPECT_THROW(r.Draw(), EOrvaError);
  r.InitDeck(-3);
  EXPECT_EQ(r.DeckCount(), 0);
}

TEST(QnRandom, ShufflesMillionsOfEntries) {
  TQnRandom r(12341);
  const int32_t n = 2000000;
  r.InitDeck(n);
  std::vector<bool> seen(static_cast<size_t>(n));
  for (int32_t k = 0; k < n; ++k) {
    const int32_t v = r.Draw();
    ASSERT_FALSE(seen[static_cast<size_t>(v)]);
    seen[static_cast<size_t>(v)] = true;
  }
}

}  // namespace
}  // namespace orva
