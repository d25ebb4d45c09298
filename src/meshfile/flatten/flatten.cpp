#include "meshfile/flatten/flatten.h"

#include "kelvorn.h"
#include "meshfile/face_table.h"
#include "meshfile/file_source.h"
#include "meshfile/flatten/cad_reader.h"
#include "meshfile/mesh_reader.h"

#include <cerrno>
#include <algorithm>
#include <cstring>
#include <filesystem>
#include <new>
#include <system_error>

const char* FaceSourceName(FaceSource source) {
    switch (source) {
    case FaceSource::Face3d: return "3DFACE";
    case FaceSource::Polyface: return "polyface POLYLINE";
    case FaceSource::PolygonMesh: return "polygon mesh POLYLINE";
    case FaceSource::Mesh: return "MESH";
    }
    return "?";
}

bool FlatDrawing::read(std::string_view bytes, const FlattenLimits& limits, std::string& error) {
    drawing_ = {};
    plan_ = {};
    report_ = {};
    if (!ReadCadDrawing(bytes, drawing_, error) || !PlanExpansion(drawing_, limits, plan_, error)) return false;
    report_.faces = plan_.totalFaces();
    report_.facesFrom = drawing_.model.facesFrom;
    report_.facesFromInserts = report_.faces - static_cast<long long>(drawing_.model.faces.size());
    report_.unconverted = drawing_.model.unconverted;
    for (std::size_t i = 0; i < drawing_.blocks.size(); ++i) {
        if (!plan_.reached[i]) continue;
        for (const auto& [kind, count] : drawing_.blocks[i].unconverted) report_.unconverted[kind] += count;
    }
    return true;
}

bool FlatDrawing::faces(const FaceSink& sink, std::string& error) const {
    return ExpandDrawing(drawing_, plan_, sink, error);
}

// One block the size the file has, never cleared first: reading fills it.
// A file that grows meanwhile is read whole all the same.
int ReadFileBytes(const char* path, FileBytes& bytes) {
    FileSource source;
    if (const int reason = source.open(path)) return reason;
    std::error_code unknown;
    const std::uintmax_t expected = std::filesystem::file_size(path, unknown);
    std::size_t capacity = unknown ? 1 << 16 : static_cast<std::size_t>(expected) + 1;
    bytes = {std::unique_ptr<char[]>(new (std::nothrow) char[capacity]), 0};
    for (;;) {
        if (!bytes.data) return ENOMEM;
        const long n = source.read(bytes.data.get() + bytes.size, capacity - bytes.size);
        if (n < 0) return source.lastError() ? source.lastError() : EIO;
        if (n == 0) return 0;
        bytes.size += static_cast<std::size_t>(n);
        if (bytes.size < capacity) continue;
        capacity *= 2;
        std::unique_ptr<char[]> larger(new (std::nothrow) char[capacity]);
        if (larger) std::memcpy(larger.get(), bytes.data.get(), bytes.size);
        bytes.data = std::move(larger);
    }
}

bool LoadFlattenedMesh(const char* path, FlattenReport& report, std::string& error, const FlattenLimits& limits) {
    FileBytes bytes;
    if (const int reason = ReadFileBytes(path, bytes)) {
        error = DescribeReadError({ReadError::CannotOpen, reason});
        return false;
    }
    FlatDrawing drawing;
    if (!drawing.read(bytes.view(), limits, error)) return false;
    bytes = {}; // the text is no longer needed: its memory goes before the table's is taken
    const long long count = drawing.report().faces;
    Face* table = count > 0 ? AllocateFaceTable(count) : nullptr;
    if (count > 0 && !table) {
        error = DescribeReadError({ReadError::OutOfMemory, 0, count});
        return false;
    }
    Face* next = table;
    const bool placed = drawing.faces(
        [&](const Face* faces, std::size_t n) { next = std::copy(faces, faces + n, next); }, error);
    if (!placed) {
        FreeFaceTable(table);
        return false;
    }
    if (table) {
        FreeFaceTable(F);
        F = table;
    }
    nf = static_cast<int>(count);
    report = drawing.report();
    return true;
}
