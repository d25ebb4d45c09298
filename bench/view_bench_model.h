// The models and the unit of the view's benchmarks: a million-face sphere, a
// 12-face cube, and one plain read of the face table to measure against.
#pragma once

#include "kelvorn.h"

#include <benchmark/benchmark.h>

#include <chrono>
#include <cstddef>
#include <vector>

// A unit sphere as a latitude–longitude grid of rings × sectors quads, tilted
// so that its outline is not aligned with the axes. The poles give
// zero-length edges.
std::vector<Face> SphereFaces(int rings, int sectors);
// The closed unit cube as 12 triangles (D repeats C), as the writer makes it.
std::vector<Face> CubeFaces();

// Edges hidden as a mesh of quadrilaterals split into triangles hides their
// diagonals: every other face of `count` hides its last edge, D to A.
std::vector<unsigned char> HiddenDiagonals(std::size_t count);

// Puts `faces` in place of the face table for one benchmark, and
// `hiddenEdges` (none when empty) in place of HiddenEdges.
class BenchModel {
  public:
    explicit BenchModel(std::vector<Face> faces, std::vector<unsigned char> hiddenEdges = {});
    ~BenchModel();
    BenchModel(const BenchModel&) = delete;
    BenchModel& operator=(const BenchModel&) = delete;

  private:
    std::vector<Face> faces_;
    std::vector<unsigned char> hiddenEdges_;
};

// One plain pass over `count` faces: every point's x + y + z added to one sum.
double SumEveryCoordinate(const Face* faces, long count);

// The unit: one plain pass that sums every coordinate of a 1,000,000-face
// table of its own, in seconds on the wall clock and of processor time.
struct TableRead {
    double wall, processor;
};
TableRead MeasureTableRead();

// The smallest of `values`: a statistic of repetitions ("min"), since on a
// busy machine the fastest one says most about the code.
double Fastest(const std::vector<double>& values);

// Processor time of the whole process, all threads, in seconds.
double ProcessorSeconds();

// Times `body()` once per iteration of `state`, after an untimed
// `prepare()`, and reports its mean time as a multiple of the unit's, which
// the run measures between iterations, untimed, whenever the bodies since
// the last measurement took as long as one: after every iteration of a long
// body, now and then for a short one. A machine whose speed drifts during
// the run so moves both alike. "table_reads" on the wall clock, "cpu_reads"
// of processor time of all threads (on a busy machine the wall clock also
// counts the waits for a free core). The benchmark runs with UseManualTime,
// so its time column is the body's wall-clock mean.
template <class Body, class Prepare>
void TimeInTableReads(benchmark::State& state, Body body, Prepare prepare) {
    TableRead spent{0, 0}, units{0, 0};
    double sinceUnit = 0;
    long unitCount = 0;
    for (auto _ : state) {
        prepare();
        const double processorStart = ProcessorSeconds();
        const auto start = std::chrono::steady_clock::now();
        body();
        const std::chrono::duration<double> seconds = std::chrono::steady_clock::now() - start;
        spent.processor += ProcessorSeconds() - processorStart;
        state.SetIterationTime(seconds.count());
        spent.wall += seconds.count();
        sinceUnit += seconds.count();
        if (unitCount == 0 || sinceUnit * static_cast<double>(unitCount) >= units.wall) {
            const TableRead unit = MeasureTableRead();
            units.wall += unit.wall;
            units.processor += unit.processor;
            ++unitCount;
            sinceUnit = 0;
        }
    }
    const double iterations = static_cast<double>(state.iterations());
    if (unitCount == 0 || units.wall <= 0 || units.processor <= 0) return;
    const double count = static_cast<double>(unitCount);
    state.counters["table_reads"] = spent.wall / iterations / (units.wall / count);
    state.counters["cpu_reads"] = spent.processor / iterations / (units.processor / count);
}

template <class Body> void TimeInTableReads(benchmark::State& state, Body body) {
    TimeInTableReads(state, body, [] {});
}
