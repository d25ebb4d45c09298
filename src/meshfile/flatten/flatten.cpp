#include "meshfile/flatten/flatten.h"

#include "kelvorn.h"
#include "meshfile/dxf/file_source.h"
#include "meshfile/flatten/cad_reader.h"
#include "meshfile/reader/face_table.h"
#include "meshfile/reader/mesh_reader.h"

#include <cerrno>
#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <new>
#include <system_error>
#include <utility>

const char* FaceSourceName(FaceSource source) {
    switch (source) {
    case FaceSource::Face3d: return "3DFACE";
    case FaceSource::Polyface: return "polyface POLYLINE";
    case FaceSource::PolygonMesh: return "polygon mesh POLYLINE";
    case FaceSource::Mesh: return "MESH";
    }
    return "?";
}

// Memory runs short only on a drawing too large for the machine: a
// refusal like any other, not a crash.
constexpr const char* kNoMemory = "not enough memory for the drawing";

bool FlatDrawing::read(std::string_view bytes, const FlattenLimits& limits, std::string& error) {
    drawing_ = {};
    try {
        return ReadCadDrawing(bytes, limits.strict, drawing_, error) && plan(limits, error);
    } catch (const std::bad_alloc&) {
        error = kNoMemory;
        return false;
    }
}

bool FlatDrawing::readFile(const char* path, const FlattenLimits& limits, std::string& error) {
    drawing_ = {};
    FileSource source;
    if (const int reason = source.open(path)) {
        error = DescribeReadError({ReadError::CannotOpen, reason});
        return false;
    }
    std::error_code unknown;
    const std::uintmax_t size = std::filesystem::file_size(path, unknown);
    try {
        return ReadCadDrawing(source, unknown ? 0 : static_cast<std::size_t>(size), limits.strict, drawing_,
                              error) &&
               plan(limits, error);
    } catch (const std::bad_alloc&) {
        error = kNoMemory;
        return false;
    }
}

bool FlatDrawing::plan(const FlattenLimits& limits, std::string& error) {
    plan_ = {};
    report_ = {};
    if (!PlanExpansion(drawing_, limits, plan_, error)) return false;
    report_.faces = plan_.totalFaces();
    report_.facesFrom = drawing_.model.facesFrom;
    report_.facesFromInserts = report_.faces - static_cast<long long>(drawing_.model.faces.size());
    report_.unconverted = drawing_.model.unconverted;
    report_.leftOut = drawing_.leftOut;
    report_.leftOut.merge(drawing_.model.leftOut);
    report_.leftOut.merge(plan_.leftOut);
    for (std::size_t i = 0; i < drawing_.blocks.size(); ++i) {
        const CadSpace& block = drawing_.blocks[i];
        if (!plan_.reached[i]) {
            report_.facesInUnplacedBlocks += static_cast<long long>(block.faces.size());
            continue;
        }
        for (const auto& [kind, count] : block.unconverted)
            report_.unconverted[kind] += count;
        report_.leftOut.merge(block.leftOut);
    }
    return true;
}

bool FlatDrawing::faces(const FaceSink& sink, std::string& error) const {
    return ExpandDrawing(drawing_, plan_, sink, error);
}

std::string DescribeFacelessDrawing(const char* path, const FlattenReport& report) {
    const std::string name = "\"" + std::string(path) + "\"";
    const long long unplaced = report.facesInUnplacedBlocks;
    if (unplaced == 0) return name + " holds no face, flattened or not: there is nothing to draw.";
    return name + " holds no face in model space; its blocks hold " + std::to_string(unplaced) +
           (unplaced == 1 ? " face" : " faces") + " that nothing places: there is nothing to draw.";
}

namespace {

// The face table and its hidden edges being filled from the faces handed out.
struct FlattenedTable {
    long long count = 0;
    Face* faces = nullptr;
    unsigned char* hiddenEdges = nullptr; // allocated at the first face that hides an edge
    long long filled = 0;
    bool outOfMemory = false;

    ~FlattenedTable() {
        FreeFaceTable(faces);
        std::free(hiddenEdges);
    }

    void take(const Face* batch, const unsigned char* hidden, std::size_t n) {
        std::copy(batch, batch + n, faces + filled);
        if (hidden && !hiddenEdges && std::any_of(hidden, hidden + n, [](unsigned char bits) { return bits != 0; })) {
            hiddenEdges = static_cast<unsigned char*>(std::calloc(static_cast<std::size_t>(count + kSpareFaces), 1));
            outOfMemory = outOfMemory || !hiddenEdges;
        }
        if (hidden && hiddenEdges) std::copy(hidden, hidden + n, hiddenEdges + filled);
        filled += static_cast<long long>(n);
    }
};

} // namespace

bool LoadFlattenedMesh(const char* path, FlattenReport& report, std::string& error, const FlattenLimits& limits) {
    FlatDrawing drawing;
    if (!drawing.readFile(path, limits, error)) return false;
    FlattenedTable table;
    table.count = drawing.report().faces;
    table.faces = table.count > 0 ? AllocateFaceTable(table.count) : nullptr;
    const auto take = [&](const Face* faces, const unsigned char* hidden, std::size_t n) { table.take(faces, hidden, n); };
    const bool placed = (table.count == 0 || table.faces) && drawing.faces(take, error);
    if ((table.count > 0 && !table.faces) || table.outOfMemory) {
        error = DescribeReadError({ReadError::OutOfMemory, 0, table.count});
        return false;
    }
    if (!placed) return false;
    if (table.faces) {
        FreeFaceTable(F);
        F = std::exchange(table.faces, nullptr);
    }
    ReplaceHiddenEdges(std::exchange(table.hiddenEdges, nullptr));
    nf = static_cast<int>(table.count);
    report = drawing.report();
    return true;
}
