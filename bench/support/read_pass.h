// The read pass that full-picture routines are measured against, and the
// measurement that reports a routine as the counters `ratio` and `target`
// (see bench/README.md).
//
// Each iteration times one read pass and one run of the routine on the same
// picture, back to back, in alternating order, each after the caches were
// flushed, in processor time of the thread, and takes the one time over the
// other. A pair timed while the machine was busy does not count: the read
// pass is the same work every time, so one that took much longer than the
// best seen in the program ran on a core that others slowed down, and such
// slowing does not weigh alike on the two (arithmetic slows more than waiting
// on memory). The run reports the median iteration; five repetitions report
// the median of the runs.
#pragma once

#include <benchmark/benchmark.h>
#include <time.h>

#include <algorithm>
#include <cstdint>
#include <limits>
#include <map>
#include <optional>
#include <vector>

#include "base/pixel_array.h"

namespace plotvane::bench {

// Reads every pixel once and adds up r + g + b: the least that any routine
// over the whole picture does. A row's sum fits 32 bits (up to 5.6 million
// pixels of 765), which lets the loop vectorise.
inline std::uint64_t readPass(const PixelArray& picture) {
  std::uint64_t sum = 0;
  for (int y = 0; y < picture.height(); ++y) {
    const std::uint32_t* pixel = picture.row(y);
    std::uint32_t rowSum = 0;
    for (int x = 0; x < picture.width(); ++x)
      rowSum += ((pixel[x] >> 16) & 255u) + ((pixel[x] >> 8) & 255u) + (pixel[x] & 255u);
    sum += rowSum;
  }
  return sum;
}

// Processor time of the calling thread: time spent waiting while other
// processes run does not count.
inline double threadSeconds() {
  timespec now{};
  clock_gettime(CLOCK_THREAD_CPUTIME_ID, &now);
  return static_cast<double>(now.tv_sec) + static_cast<double>(now.tv_nsec) * 1e-9;
}

// Reads a buffer twice the size of the largest cache, so that neither the
// read pass nor the routine finds the picture, or the other's data, cached.
inline void flushCaches() {
  static const std::vector<std::uint64_t> buffer = [] {
    long largest = 32L << 20;
    for (const auto& cache : benchmark::CPUInfo::Get().caches)
      largest = std::max(largest, static_cast<long>(cache.size));
    return std::vector<std::uint64_t>(static_cast<std::size_t>(2 * largest) / 8, 1);
  }();
  std::uint64_t sum = 0;
  for (const std::uint64_t word : buffer) sum += word;
  benchmark::DoNotOptimize(sum);
}

inline double median(std::vector<double> values) {
  if (values.empty()) return 0;
  const std::size_t middle = values.size() / 2;
  std::nth_element(values.begin(), values.begin() + static_cast<std::ptrdiff_t>(middle),
                   values.end());
  const double upper = values[middle];
  if (values.size() % 2 != 0) return upper;
  return (upper +
          *std::max_element(values.begin(), values.begin() + static_cast<std::ptrdiff_t>(middle))) /
         2;
}

// A read pass counts as undisturbed within this factor of the best one.
inline constexpr double kSteadyRead = 1.15;

// The best read pass so far in this program of pictures of `pixels` pixels.
inline double& bestRead(std::size_t pixels) {
  static std::map<std::size_t, double> best;
  return best.try_emplace(pixels, std::numeric_limits<double>::max()).first->second;
}
// Pairs timed per iteration at most while waiting for an undisturbed one.
inline constexpr int kPairAttempts = 5;

// Runs `routine` on a copy of `picture` against the read pass of that copy
// and sets the counters: `ratio`, the median of the iterations' routine time
// / read pass time; `target`, the most that ratio may be (left out when there
// is none); `read_ms`, the median read pass; `busy`, the pairs left out
// because the machine was busy. The reported time is the routine's. Each run
// (repetition) makes its own copy: where the system places a picture in
// memory moves a routine's time by a few percent, so the median of the runs
// stands on several places. Register the benchmark with asRatio().
template <typename Routine>
void measureAgainstReadPass(benchmark::State& state, const PixelArray& picture,
                            std::optional<double> target, Routine routine) {
  double& best = bestRead(picture.size());
  const PixelArray copy = picture;
  bool readFirst = true;
  const auto timePair = [&](double& read, double& run) {
    for (int turn = 0; turn < 2; ++turn) {
      flushCaches();
      const double start = threadSeconds();
      if ((turn == 0) == readFirst) {
        benchmark::DoNotOptimize(readPass(copy));
        read = threadSeconds() - start;
      } else {
        routine(copy);
        run = threadSeconds() - start;
      }
    }
    readFirst = !readFirst;
    best = std::min(best, read);
  };
  // Untimed rounds first: the first run pays for faults on fresh memory, cold
  // instructions and a clock that may still be speeding up, and the best read
  // pass needs a few tries.
  double read = 0, run = 0;
  for (int i = 0; i < 3; ++i) timePair(read, run);

  std::vector<double> ratios, reads;
  int busy = 0;
  for (auto _ : state) {
    for (int attempt = 1;; ++attempt) {
      timePair(read, run);
      if (read <= kSteadyRead * best || attempt == kPairAttempts) break;
      ++busy;
    }
    state.SetIterationTime(run);
    if (read > 0) ratios.push_back(run / read);
    reads.push_back(read);
  }
  state.counters["ratio"] = median(ratios);
  if (target) state.counters["target"] = *target;
  state.counters["read_ms"] = median(reads) * 1e3;
  state.counters["busy"] = busy;
}

// Iterations of one run and runs of a ratio benchmark: enough for a median
// that holds from one run of the program to the next, few enough that the
// program takes seconds.
inline constexpr int kRatioIterations = 7;
inline constexpr int kRatioRepetitions = 5;

inline benchmark::internal::Benchmark* asRatio(benchmark::internal::Benchmark* benchmark) {
  return benchmark->UseManualTime()
      ->Iterations(kRatioIterations)
      ->Repetitions(kRatioRepetitions)
      ->DisplayAggregatesOnly(true)
      ->Unit(benchmark::kMillisecond);
}

}  // namespace plotvane::bench
