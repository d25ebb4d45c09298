#include "support/read_back.h"

#include "kelvorn.h"
#include "meshfile/reader/mesh_reader.h"

#include <gtest/gtest.h>

std::vector<Face> ReadFacesBack(const std::filesystem::path& path) {
    const ReadStatus status = ReadMeshFile(path.string().c_str(), nullptr);
    EXPECT_TRUE(status.ok()) << path << ": " << DescribeReadError(status);
    std::vector<Face> faces;
    if (status.ok() && nf > 0) faces.assign(F, F + nf);
    ReleaseMeshTable();
    return faces;
}
