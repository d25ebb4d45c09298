#include "meshfile/reader/mesh_reader.h"

#include "kelvorn.h"
#include "meshfile/dxf/byte_source.h"
#include "meshfile/dxf/file_source.h"
#include "meshfile/reader/face_passes.h"
#include "meshfile/reader/face_table.h"
#include "meshfile/reader/parse_in_two.h"
#include "tuning.h"

#include <cerrno>
#include <cstring>

Face* F = nullptr;
int nf = 0;
unsigned char* HiddenEdges = nullptr;
char file[PathBufferSize] = "";

namespace {

ReadStatus ReadFailure(const ByteSource& source) { return {ReadError::ReadFailed, source.lastError()}; }

// The parse pass into a new table, published only when it is whole: a
// failure at any point leaves the model on screen intact, `nf` back at
// `previous_nf`.
ReadStatus FillTable(ByteSource& source, long long count, FaceLine middle, int previous_nf) {
    Face* table = AllocateFaceTable(count);
    if (!table) {
        nf = previous_nf;
        return {ReadError::OutOfMemory, 0, count};
    }
    if (!ParseFaceLinesInTwo(source, table, count, middle)) {
        FreeFaceTable(table);
        nf = previous_nf;
        return ReadFailure(source);
    }
    FreeFaceTable(F);
    F = table;
    ReplaceHiddenEdges(nullptr); // 3DFACEs read this way draw every edge
    nf = static_cast<int>(count);
    return {};
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
    FileSource file;
    if (int reason = file.open(path)) return {ReadError::CannotOpen, reason};
    const int previous_nf = nf;
    nf = 0;
    if (announce) announce();

    long long count = 0;
    FaceLine middle;
    {
        ByteSource source(file);
        if (!CountFaceLines(source, count, &middle)) {
            nf = previous_nf;
            return ReadFailure(source);
        }
    }
    file.close();
    if (count == 0) {
        ReplaceHiddenEdges(nullptr);
        return {};
    }
    if (g_tuning.betweenReaderPasses) g_tuning.betweenReaderPasses(path);
    if (int reason = file.open(path)) {
        nf = previous_nf;
        return {ReadError::CannotOpen, reason};
    }
    ByteSource source(file);
    return FillTable(source, count, middle, previous_nf);
}

ReadStatus ReadMeshBytes(std::string_view bytes) {
    ByteSource source(bytes);
    const int previous_nf = nf;
    nf = 0;
    long long count = 0;
    FaceLine middle;
    CountFaceLines(source, count, &middle);
    if (count == 0) {
        ReplaceHiddenEdges(nullptr);
        return {};
    }
    return FillTable(source, count, middle, previous_nf);
}

void ReleaseMeshTable() {
    FreeFaceTable(F);
    F = nullptr;
    ReplaceHiddenEdges(nullptr);
    nf = 0;
}
