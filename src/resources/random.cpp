#include "resources/random.h"

#include "core/error.h"

namespace orva {

void TQnRandom::InitDeck(int32_t n) {
  size_ = n < 0 ? 0 : n;
  remaining_ = size_;
  // Every entry present: node i (1-based) covers i - lowbit(i) + 1 .. i, so it counts lowbit(i).
  tree_.assign(static_cast<size_t>(size_) + 1, 0);
  for (int32_t i = 1; i <= size_; ++i) tree_[static_cast<size_t>(i)] = i & -i;
  top_bit_ = 1;
  while (top_bit_ * 2 <= size_ && top_bit_ < (1 << 30)) top_bit_ *= 2;
}

int32_t TQnRandom::Draw() {
  if (remaining_ <= 0) throw EOrvaError("internal error: a draw from an empty deck");
  Next();
  return TakeNth(state_ % static_cast<uint32_t>(remaining_));
}

int32_t TQnRandom::TakeNth(uint32_t index) {
  // Find the smallest position whose prefix count exceeds index.
  int32_t position = 0;
  int64_t left = static_cast<int64_t>(index);
  for (int32_t step = top_bit_; step > 0; step >>= 1) {
    const int32_t next = position + step;
    if (next <= size_ && tree_[static_cast<size_t>(next)] <= left) {
      position = next;
      left -= tree_[static_cast<size_t>(next)];
    }
  }
  const int32_t found = position + 1;  // 1-based slot of the entry
  for (int32_t i = found; i <= size_; i += i & -i) --tree_[static_cast<size_t>(i)];
  --remaining_;
  return found - 1;
}

}  // namespace orva
