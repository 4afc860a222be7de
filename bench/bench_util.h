#pragma once
// Helpers shared by the benchmarks: timing side by side with interleaved repetitions, and the
// RATIO line every benchmark ends with.

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <functional>
#include <string>
#include <vector>

namespace orva::bench {

inline bool QuickRun(int argc, char** argv) {
  for (int i = 1; i < argc; ++i)
    if (std::strcmp(argv[i], "--quick") == 0) return true;
  return false;
}

inline double Seconds(const std::function<void()>& work) {
  const auto start = std::chrono::steady_clock::now();
  work();
  return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}

inline double Median(std::vector<double> values) {
  std::sort(values.begin(), values.end());
  return values[values.size() / 2];
}

// Runs ours and the peer alternately, repetitions times each, and gives the two medians.
inline std::pair<double, double> SideBySide(int repetitions, const std::function<void()>& ours,
                                            const std::function<void()>& peer) {
  std::vector<double> a, b;
  for (int r = 0; r < repetitions; ++r) {
    a.push_back(Seconds(ours));
    b.push_back(Seconds(peer));
  }
  return {Median(a), Median(b)};
}

inline void PrintRatio(const std::string& name, double ours, double peer, double target) {
  const double ratio = ours / peer;
  std::printf("RATIO %s %.2f target <=%.2f %s\n", name.c_str(), ratio, target, ratio <= target ? "ok" : "over");
}

}  // namespace orva::bench
