// The models and the unit of the view's benchmarks: a million-face sphere, a
// 12-face cube, and one plain read of the face table to measure against.
#pragma once

#include "kelvorn.h"

#include <benchmark/benchmark.h>

#include <chrono>
#include <vector>

// A unit sphere as a latitude–longitude grid of rings × sectors quads, tilted
// so that its outline is not aligned with the axes. The poles give
// zero-length edges.
std::vector<Face> SphereFaces(int rings, int sectors);
// The closed unit cube as 12 triangles (D repeats C), as the writer makes it.
std::vector<Face> CubeFaces();

// Puts `faces` in place of the face table for one benchmark.
class BenchModel {
  public:
    explicit BenchModel(std::vector<Face> faces);
    ~BenchModel();
    BenchModel(const BenchModel&) = delete;
    BenchModel& operator=(const BenchModel&) = delete;

  private:
    std::vector<Face> faces_;
};

// One plain pass over `count` faces: every point's x + y + z added to one sum.
double SumEveryCoordinate(const Face* faces, long count);

// The unit: seconds of one plain pass that sums every coordinate of a
// 1,000,000-face table (the median of 15, measured once per run).
double TableReadSeconds();

// Times `body()` once per iteration of `state` on the wall clock, after an
// untimed `prepare()`, and reports the mean as the counter "table_reads", a
// multiple of TableReadSeconds() measured in the same run. The benchmark runs
// with UseManualTime, so its time column is the same mean.
template <class Body, class Prepare> void TimeInTableReads(benchmark::State& state, Body body, Prepare prepare) {
    const double unit = TableReadSeconds();
    double spent = 0;
    for (auto _ : state) {
        prepare();
        const auto start = std::chrono::steady_clock::now();
        body();
        const double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
        state.SetIterationTime(seconds);
        spent += seconds;
    }
    if (state.iterations() > 0) state.counters["table_reads"] = spent / static_cast<double>(state.iterations()) / unit;
}

template <class Body> void TimeInTableReads(benchmark::State& state, Body body) {
    TimeInTableReads(state, body, [] {});
}
