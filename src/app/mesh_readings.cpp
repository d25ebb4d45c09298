#include "mesh_readings.h"

#include "meshfile/dxf/file_source.h"
#include "meshfile/reader/mesh_reader.h"

Reading readingInForce = Reading::Faces;

ReadOutcome ReadInReading(const char* path, Reading reading, const std::function<void()>& announce) {
    ReadOutcome outcome;
    if (reading == Reading::Faces) {
        const ReadStatus status = ReadMeshFile(path, announce);
        if (!status.ok()) outcome.failure = DescribeReadError(status);
        return outcome;
    }
    // As in the faces reading, the banner and the title go up once the file
    // is open, so a path that names no file leaves the title alone.
    if (FileSource source; const int reason = source.open(path)) {
        outcome.failure = DescribeReadError({ReadError::CannotOpen, reason});
        return outcome;
    }
    if (announce) announce();
    std::string error;
    if (!LoadFlattenedMesh(path, outcome.drawing, error)) outcome.failure = error.empty() ? "unknown error" : error;
    return outcome;
}
