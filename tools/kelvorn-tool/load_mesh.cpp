#include "load_mesh.h"

#include "meshfile/mesh_reader.h"

#include <cstdio>

bool LoadMeshOrReport(const char* path) {
    const ReadStatus status = ReadMeshFile(path, nullptr);
    if (status.ok()) return true;
    std::fprintf(stderr, "kelvorn-tool: cannot read %s: %s\n", path, DescribeReadError(status).c_str());
    return false;
}
