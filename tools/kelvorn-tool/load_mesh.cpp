#include "load_mesh.h"

#include "meshfile/flatten/flatten.h"
#include "meshfile/mesh_reader.h"

#include <cstdio>
#include <string>

bool LoadMeshOrReport(const char* path, bool flatten) {
    if (flatten) {
        FlattenReport report;
        std::string error;
        if (LoadFlattenedMesh(path, report, error)) return true;
        std::fprintf(stderr, "kelvorn-tool: cannot flatten %s: %s\n", path, error.c_str());
        return false;
    }
    const ReadStatus status = ReadMeshFile(path, nullptr);
    if (status.ok()) return true;
    std::fprintf(stderr, "kelvorn-tool: cannot read %s: %s\n", path, DescribeReadError(status).c_str());
    return false;
}
