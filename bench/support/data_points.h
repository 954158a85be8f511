// What the data list benchmarks share: a full list's worth of points and the
// baseline that only formats their numbers.
#pragma once

#include <benchmark/benchmark.h>

#include <chrono>
#include <cmath>
#include <vector>

#include "base/number_text.h"
#include "data/data_list.h"

namespace plotvane::bench {

// Values with the digit counts a chart gives: fractions, negatives, exponents.
inline const std::vector<DataPoint>& samplePoints() {
  static const std::vector<DataPoint> points = [] {
    std::vector<DataPoint> p(kMaxPointCount);
    for (int i = 0; i < kMaxPointCount; ++i) {
      const float x = static_cast<float>(i);
      p[static_cast<std::size_t>(i)] = {x * 0.0137f, std::sin(x / 300) * 1234.5f,
                                        static_cast<float>(i % 8000) + 0.5f,
                                        static_cast<float>(i % 6000) * 1e-3f};
    }
    return p;
  }();
  return points;
}

// Seconds per run of the baseline, for the list runs' x_baseline counter.
inline double baselineSeconds = 0;

// Formats the 4 x 32 767 numbers of samplePoints() and nothing else.
inline void Baseline_FormatNumbers(benchmark::State& state) {
  const std::vector<DataPoint>& points = samplePoints();
  const auto start = std::chrono::steady_clock::now();
  for (auto _ : state) {
    std::size_t characters = 0;
    for (const DataPoint& p : points)
      characters += singleText(p.XData).size() + singleText(p.YData).size() +
                    singleText(p.XPixel).size() + singleText(p.YPixel).size();
    benchmark::DoNotOptimize(characters);
  }
  const std::chrono::duration<double> elapsed = std::chrono::steady_clock::now() - start;
  baselineSeconds = elapsed.count() / static_cast<double>(state.iterations());
}

}  // namespace plotvane::bench
