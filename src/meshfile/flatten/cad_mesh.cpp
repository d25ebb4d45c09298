// MESH entities: the faces of their level-0 (unsmoothed) mesh.
//
// The mesh data follows "100 AcDbSubDMesh": 92 the vertex count, then that
// many points 10/20/30; 93 the size of the face list, then that many 90s, a
// corner count followed by that many vertex indices (from 0) for each face;
// then edges (94) and creases (95), whose 90s are not faces, and overrides.
#include "meshfile/flatten/cad_parse.h"

#include <optional>

namespace {

enum class MeshList { None, Vertices, Faces, Other };

struct MeshData {
    std::optional<long long> vertexCount, faceListSize;
    std::vector<xyz> vertices;
    std::vector<long long> faceList;
    MeshList list = MeshList::None;
    bool inMeshData = true; // false inside subclasses other than AcDbSubDMesh
    long long paper = 0;
};

bool ReadMeshGroup(CadParse& parse, const DxfGroup& group, MeshData& mesh) {
    constexpr std::string_view kKind = "MESH";
    if (group.code == 100) mesh.inMeshData = group.text == "AcDbSubDMesh";
    if (group.code == 67) return parse.integer(group, kKind, mesh.paper);
    if (!mesh.inMeshData) return true;
    switch (group.code) {
    case 92:
    case 93: {
        auto& count = group.code == 92 ? mesh.vertexCount : mesh.faceListSize;
        if (count) return true; // a later 92 counts overridden properties
        count.emplace();
        mesh.list = group.code == 92 ? MeshList::Vertices : MeshList::Faces;
        return parse.integer(group, kKind, *count);
    }
    case 94: case 95: mesh.list = MeshList::Other; return true;
    case 10:
        if (mesh.list != MeshList::Vertices) return true;
        mesh.vertices.push_back({0, 0, 0});
        return parse.coordinate(group, kKind, mesh.vertices.back());
    case 20: case 30:
        if (mesh.list != MeshList::Vertices || mesh.vertices.empty()) return true;
        return parse.coordinate(group, kKind, mesh.vertices.back());
    case 90:
        if (mesh.list != MeshList::Faces || static_cast<long long>(mesh.faceList.size()) >= *mesh.faceListSize)
            return true;
        mesh.faceList.emplace_back();
        return parse.integer(group, kKind, mesh.faceList.back());
    default: return true;
    }
}

constexpr const char* kCounts = "MESH whose counts do not match its lists";

bool AddMeshFaces(CadParse& parse, const DxfGroup& start, const MeshData& mesh, CadSpace& space) {
    const auto vertices = static_cast<long long>(mesh.vertices.size());
    const auto listSize = static_cast<long long>(mesh.faceList.size());
    if (mesh.vertexCount.value_or(0) != vertices)
        return parse.fail(start,
                          "MESH: " + std::to_string(mesh.vertexCount.value_or(0)) +
                              " vertices (92) announced, " + std::to_string(vertices) + " given",
                          kCounts);
    if (mesh.faceListSize.value_or(0) != listSize)
        return parse.fail(start,
                          "MESH: a face list of " + std::to_string(mesh.faceListSize.value_or(0)) +
                              " numbers (93) announced, " + std::to_string(listSize) + " given",
                          kCounts);
    std::vector<xyz> corners;
    std::size_t added = 0;
    for (long long i = 0; i < listSize;) {
        const long long n = mesh.faceList[static_cast<std::size_t>(i++)];
        if (n < 0 || n > listSize - i)
            return parse.fail(
                start, "MESH: a face of " + std::to_string(n) + " corners overruns the face list", kCounts);
        corners.clear();
        for (const long long end = i + n; i < end; ++i) {
            const long long index = mesh.faceList[static_cast<std::size_t>(i)];
            if (index < 0 || index >= vertices)
                return parse.fail(start,
                                  "MESH: a face names vertex " + std::to_string(index) + " of " +
                                      std::to_string(vertices) + " (numbered from 0)",
                                  "MESH face naming a missing vertex");
            corners.push_back(mesh.vertices[static_cast<std::size_t>(index)]);
        }
        added += AppendPolygon(space, corners.data(), corners.size());
    }
    space.facesFrom[static_cast<int>(FaceSource::Mesh)] += static_cast<long long>(added);
    return true;
}

} // namespace

bool ReadMesh(CadParse& parse, const DxfGroup& start, CadSpace& space) {
    MeshData mesh;
    if (!parse.entityGroups([&](const DxfGroup& group) { return ReadMeshGroup(parse, group, mesh); })) return false;
    if (mesh.paper == 1) return true;
    ++space.surfaces.meshEntities;
    return AddMeshFaces(parse, start, mesh, space);
}
