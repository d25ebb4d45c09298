#include "view_bench_model.h"

#include <algorithm>
#include <cmath>
#include <cstddef>
#include <ctime>
#include <utility>

std::vector<Face> SphereFaces(int rings, int sectors) {
    const double pi = std::acos(-1.0), tilt = 0.4;
    auto point = [&](int ring, int sector) {
        const double polar = pi * ring / rings, azimuth = 2 * pi * sector / sectors;
        const double x = std::sin(polar) * std::cos(azimuth), y = std::sin(polar) * std::sin(azimuth);
        const double z = std::cos(polar);
        return xyz(x, y * std::cos(tilt) - z * std::sin(tilt), y * std::sin(tilt) + z * std::cos(tilt));
    };
    std::vector<Face> faces;
    faces.reserve(static_cast<std::size_t>(rings) * sectors + 4);
    for (int ring = 0; ring < rings; ++ring)
        for (int sector = 0; sector < sectors; ++sector)
            faces.push_back({point(ring, sector), point(ring, sector + 1), point(ring + 1, sector + 1),
                             point(ring + 1, sector)});
    return faces;
}

std::vector<Face> CubeFaces() {
    const xyz p[8] = {{0, 0, 0}, {1, 0, 0}, {1, 1, 0}, {0, 1, 0}, {0, 0, 1}, {1, 0, 1}, {1, 1, 1}, {0, 1, 1}};
    const int sides[6][4] = {{0, 3, 2, 1}, {4, 5, 6, 7}, {0, 1, 5, 4},
                             {1, 2, 6, 5}, {2, 3, 7, 6}, {3, 0, 4, 7}};
    std::vector<Face> faces;
    for (const auto& s : sides) {
        faces.push_back({p[s[0]], p[s[1]], p[s[2]], p[s[2]]});
        faces.push_back({p[s[0]], p[s[2]], p[s[3]], p[s[3]]});
    }
    return faces;
}

std::vector<unsigned char> HiddenDiagonals(std::size_t count) {
    std::vector<unsigned char> hidden(count);
    for (std::size_t i = 1; i < count; i += 2) hidden[i] = 8;
    return hidden;
}

BenchModel::BenchModel(std::vector<Face> faces, std::vector<unsigned char> hiddenEdges)
    : faces_(std::move(faces)), hiddenEdges_(std::move(hiddenEdges)) {
    F = faces_.data();
    nf = static_cast<int>(faces_.size());
    HiddenEdges = hiddenEdges_.empty() ? nullptr : hiddenEdges_.data();
}

BenchModel::~BenchModel() {
    F = nullptr;
    nf = 0;
    HiddenEdges = nullptr;
}

double SumEveryCoordinate(const Face* faces, long count) {
    double sum = 0;
    const xyz* points = &faces[0].A;
    for (long i = 0; i < 4 * count; ++i) sum += points[i].x + points[i].y + points[i].z;
    return sum;
}

double Fastest(const std::vector<double>& values) { return *std::min_element(values.begin(), values.end()); }

double ProcessorSeconds() {
    timespec now{};
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &now);
    return static_cast<double>(now.tv_sec) + 1e-9 * static_cast<double>(now.tv_nsec);
}

TableRead MeasureTableRead() {
    static const std::vector<Face> table = SphereFaces(1000, 1000);
    const double processorStart = ProcessorSeconds();
    const auto start = std::chrono::steady_clock::now();
    benchmark::DoNotOptimize(SumEveryCoordinate(table.data(), static_cast<long>(table.size())));
    const std::chrono::duration<double> wall = std::chrono::steady_clock::now() - start;
    return TableRead{wall.count(), ProcessorSeconds() - processorStart};
}
