// Drawing a whole permutation of 2,000,000 entries from the generator's deck, as the layered-image
// reader does for the rows and tiles of a huge (or hostile) picture, against the limit of one
// second. std::shuffle of the same entries is printed beside it for scale.

#include <algorithm>
#include <cstdio>
#include <numeric>
#include <random>
#include <vector>

#include "bench_util.h"
#include "resources/random.h"

int main(int argc, char** argv) {
  const bool quick = orva::bench::QuickRun(argc, argv);
  const int32_t entries = 2000000;
  const int repetitions = quick ? 5 : 9;

  int64_t sink = 0;
  std::vector<int32_t> shuffled(static_cast<size_t>(entries));
  const auto [ours, shuffle] = orva::bench::SideBySide(
      repetitions,
      [&] {
        orva::TQnRandom random(24680);
        random.InitDeck(entries);
        for (int32_t k = 0; k < entries; ++k) sink += random.Draw();
      },
      [&] {
        std::iota(shuffled.begin(), shuffled.end(), 0);
        std::shuffle(shuffled.begin(), shuffled.end(), std::mt19937(24680));
        sink += shuffled[0];
      });
  std::printf("permutation of %d entries: deck %.1f ms, std::shuffle %.1f ms (checksum %lld)\n", entries, ours * 1e3,
              shuffle * 1e3, static_cast<long long>(sink));
  orva::bench::PrintRatio("random.permutation_2m_vs_one_second", ours, 1.0, 1.0);
  return 0;
}
