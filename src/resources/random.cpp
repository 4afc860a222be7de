#include "resources/random.h"

#include <array>
#include <bit>
#include <limits>

#include "core/error.h"

namespace orva {
namespace {

// The portable build has no population-count instruction; a table is faster than the library call.
constexpr std::array<uint8_t, 256> kBitsInByte = [] {
  std::array<uint8_t, 256> table{};
  for (int i = 0; i < 256; ++i) table[static_cast<size_t>(i)] = static_cast<uint8_t>(std::popcount(static_cast<unsigned>(i)));
  return table;
}();

}  // namespace

void TQnRandom::InitDeck(int32_t n) {
  const int32_t size = n < 0 ? 0 : n;
  remaining_ = size;
  words_ = (size + 63) / 64;
  present_.assign(static_cast<size_t>(words_), ~uint64_t{0});
  if (size % 64 != 0) present_.back() = (uint64_t{1} << (size % 64)) - 1;
  // Node i (1-based) covers words i - lowbit(i) + 1 .. i.
  tree_.assign(static_cast<size_t>(words_) + 1, 0);
  for (int32_t i = 1; i <= words_; ++i) {
    tree_[static_cast<size_t>(i)] += std::popcount(present_[static_cast<size_t>(i - 1)]);
    const int32_t parent = i + (i & -i);
    if (parent <= words_) tree_[static_cast<size_t>(parent)] += tree_[static_cast<size_t>(i)];
  }
  top_bit_ = 1;
  while (top_bit_ * 2 <= words_) top_bit_ *= 2;
  // Nodes past the last word read as full, so the search below needs no bounds test.
  tree_.resize(static_cast<size_t>(top_bit_) * 2, std::numeric_limits<int32_t>::max());
}

int32_t TQnRandom::Draw() {
  if (remaining_ <= 0) throw EOrvaError("internal error: a draw from an empty deck");
  Next();
  return TakeNth(state_ % static_cast<uint32_t>(remaining_));
}

int32_t TQnRandom::TakeNth(uint32_t index) {
  // The word holding the entry: the smallest whose prefix count exceeds index.
  int32_t position = 0;
  int64_t left = static_cast<int64_t>(index);
  // Without branches: which way each level goes is as good as random.
  for (int32_t step = top_bit_; step > 0; step >>= 1) {
    const int32_t next = position + step;
    const int32_t count = tree_[static_cast<size_t>(next)];
    const int32_t take = -static_cast<int32_t>(count <= left);  // all ones or zero
    position += step & take;
    left -= count & take;
  }
  uint64_t& word = present_[static_cast<size_t>(position)];
  // The (left)-th set bit of the word: skip whole bytes by their counts, then bits.
  int bit = 0;
  while (true) {
    const int in_byte = kBitsInByte[static_cast<uint8_t>(word >> bit)];
    if (in_byte > left) break;
    left -= in_byte;
    bit += 8;
  }
  uint64_t rest = word >> bit;
  for (; left > 0; --left) rest &= rest - 1;
  bit += std::countr_zero(rest);
  word &= ~(uint64_t{1} << bit);
  for (int32_t i = position + 1; i <= words_; i += i & -i) --tree_[static_cast<size_t>(i)];
  --remaining_;
  return position * 64 + bit;
}

}  // namespace orva
