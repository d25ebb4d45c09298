#include "meshfile/mesh_reader.h"

#include "kelvorn.h"
#include "meshfile/face_passes.h"
#include "meshfile/face_table.h"
#include "meshfile/file_source.h"
#include "meshfile/mesh_reader_internal.h"

#include <cerrno>
#include <cstring>

Face* F = nullptr;
int nf = 0;
char file[PathBufferSize] = "";

void (*g_betweenReaderPasses)(const char* path) = nullptr;

namespace {

ReadStatus ReadFailure(const FileSource& source) { return {ReadError::ReadFailed, source.lastError()}; }

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
    if (!CountFaceLines(source, count)) {
        nf = previous_nf;
        return ReadFailure(source);
    }
    source.close();
    if (count == 0) return {};
    if (g_betweenReaderPasses) g_betweenReaderPasses(path);
    if (int reason = source.open(path)) {
        nf = previous_nf;
        return {ReadError::CannotOpen, reason};
    }
    // The new table is filled before the old one is released, so a failure
    // at any point leaves the model on screen intact.
    Face* table = AllocateFaceTable(count);
    if (!table) {
        nf = previous_nf;
        return {ReadError::OutOfMemory, 0, count};
    }
    if (!ParseFaceLines(source, table, count)) {
        FreeFaceTable(table);
        nf = previous_nf;
        return ReadFailure(source);
    }
    FreeFaceTable(F);
    F = table;
    nf = static_cast<int>(count);
    return {};
}

void ReleaseMeshTable() {
    FreeFaceTable(F);
    F = nullptr;
    nf = 0;
}
