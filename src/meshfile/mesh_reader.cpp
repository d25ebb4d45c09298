#include "meshfile/mesh_reader.h"

#include "kelvorn.h"
#include "meshfile/dxf_lines.h"
#include "meshfile/file_source.h"
#include "meshfile/scan_number.h"

#include <cerrno>
#include <climits>
#include <cstdlib>
#include <cstring>

Face* F = nullptr;
int nf = 0;
char file[PathBufferSize] = "";

namespace {

constexpr std::string_view kFaceMarker = "3DFACE";
constexpr int kSpareFaces = 4;

// Corner coordinate for a group code 10-13, 20-23, 30-33, or null for any other code.
double* CornerCoordinate(Face& face, int code) {
    if (code < 10 || code > 33) return nullptr;
    const int corner = code % 10, axis = code / 10 - 1;
    if (corner > 3) return nullptr;
    xyz* points[] = {&face.A, &face.B, &face.C, &face.D};
    double* coordinates[] = {&points[corner]->x, &points[corner]->y, &points[corner]->z};
    return coordinates[axis];
}

ReadStatus CountFaces(FileSource& source, long long& count) {
    DxfLineReader lines(source);
    DxfLine line;
    count = 0;
    while (lines.next(line))
        if (StartsWith(line, kFaceMarker)) ++count;
    if (lines.failed()) return {ReadError::ReadFailed, source.lastError()};
    return {};
}

// Fills table[0, count) from the file. Faces past `count` (a file that grew
// since it was counted) are read over but never stored.
ReadStatus ParseFaces(FileSource& source, Face* table, long long count) {
    DxfLineReader lines(source);
    DxfLine code_line, value_line;
    long long j = -1;
    bool in_face = false;
    while (lines.next(code_line)) {
        const int k = ScanGroupCode(code_line.text);
        if (!lines.next(value_line)) break;
        if (value_line.ended && value_line.text == "EOF") break;
        if (StartsWith(value_line, kFaceMarker)) {
            if (j < count) ++j;
            if (j < count) table[j] = Face{};
            in_face = j < count;
            continue;
        }
        if (k == 0) {
            in_face = false;
            continue;
        }
        if (!in_face) continue;
        if (double* coordinate = CornerCoordinate(table[j], k)) *coordinate = ScanValue(value_line.text);
    }
    if (lines.failed()) return {ReadError::ReadFailed, source.lastError()};
    return {};
}

Face* AllocateTable(long long count) {
    if (count > INT_MAX - kSpareFaces) return nullptr;
    return static_cast<Face*>(std::calloc(static_cast<std::size_t>(count + kSpareFaces), sizeof(Face)));
}

} // namespace

std::string DescribeReadError(const ReadStatus& status) {
    switch (status.error) {
    case ReadError::None: return "no error";
    case ReadError::PathTooLong: return "the path is longer than 255 characters";
    case ReadError::CannotOpen:
        if (status.systemError == EINVAL) return "not a regular file";
        return std::strerror(status.systemError);
    case ReadError::ReadFailed: return std::string("read error: ") + std::strerror(status.systemError);
    case ReadError::OutOfMemory:
        return "not enough memory for a table of " + std::to_string(status.faces) + " faces";
    }
    return "unknown error";
}

ReadStatus ReadMeshFile(const char* path, const std::function<void()>& announce) {
    if (std::strlen(path) >= PathBufferSize) return {ReadError::PathTooLong};
    FileSource source;
    if (int reason = source.open(path)) return {ReadError::CannotOpen, reason};
    const int previous_nf = nf;
    nf = 0;
    if (announce) announce();

    long long count = 0;
    ReadStatus status = CountFaces(source, count);
    source.close();
    if (!status.ok() || count == 0) {
        nf = status.ok() ? 0 : previous_nf;
        return status;
    }
    if (int reason = source.open(path)) {
        nf = previous_nf;
        return {ReadError::CannotOpen, reason};
    }
    // The new table is filled before the old one is released, so a failure
    // at any point leaves the model on screen intact.
    Face* table = AllocateTable(count);
    if (!table) {
        nf = previous_nf;
        return {ReadError::OutOfMemory, 0, count};
    }
    status = ParseFaces(source, table, count);
    if (!status.ok()) {
        std::free(table);
        nf = previous_nf;
        return status;
    }
    std::free(F);
    F = table;
    nf = static_cast<int>(count);
    return status;
}

void ReleaseMeshTable() {
    std::free(F);
    F = nullptr;
    nf = 0;
}
