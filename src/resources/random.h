#pragma once
// TQnRandom: the small deterministic generator behind archive scrambling, layered-image
// descrambling and the dither transition. Its sequence is part of those file formats.

#include <cstdint>
#include <vector>

namespace orva {

class TQnRandom {
 public:
  explicit TQnRandom(int32_t seed) : seed_(seed) {}

  // State = State * 5 + Seed (mod 2^32); the first value is therefore Seed itself.
  uint32_t Next() {
    state_ = state_ * 5u + static_cast<uint32_t>(seed_);
    return state_;
  }

  // Deck = 0, 1, ..., n - 1. The state is not changed.
  void InitDeck(int32_t n);
  // Advances the state, takes entry State mod (entries left) and removes it from the deck.
  // Raises EOrvaError on an empty deck.
  int32_t Draw();
  int32_t DeckCount() const { return remaining_; }

  int32_t Seed() const { return seed_; }
  uint32_t State() const { return state_; }
  void SetState(uint32_t state) { state_ = state; }

 private:
  // The deck is always the ascending list of the entries not yet drawn, so the i-th entry is the
  // i-th number still present. Presence is one bit per entry in 64-bit words, and a Fenwick tree
  // counts the entries left per word: finding the i-th is O(log n) in a tree small enough to stay
  // in cache, which keeps shuffles of millions of entries (from damaged or hostile images) fast.
  int32_t TakeNth(uint32_t index);

  int32_t seed_;
  uint32_t state_ = 0;
  std::vector<uint64_t> present_;
  std::vector<int32_t> tree_;  // 1-based over the words of present_
  int32_t words_ = 0;
  int32_t remaining_ = 0;
  int32_t top_bit_ = 0;
};

}  // namespace orva
