// POLYLINE entities that are surfaces: polyface meshes (flag 64) and polygon
// meshes (flag 16). Other polylines are lines and give no faces.
#include "meshfile/flatten/cad_parse.h"

#include <array>
#include <cstdlib>

namespace {

constexpr long long kPolygonMesh = 16, kPolyfaceMesh = 64;
constexpr long long kClosedInM = 1, kClosedInN = 32;
// A polyface VERTEX with both flags is a vertex; with 128 alone a face record.
constexpr long long kVertexFlags = 64 | 128, kFaceRecord = 128;

struct Vertex {
    xyz location{0, 0, 0};
    long long flags = 0;
    std::array<long long, 4> indices{}; // 71..74 of a face record; 0 is unused
};

struct Polyline {
    long long flags = 0, m = 0, n = 0, paper = 0;
    std::vector<Vertex> vertices;
};

bool ReadVertex(CadParse& parse, std::vector<Vertex>& vertices) {
    Vertex vertex;
    const bool read = parse.entityGroups([&](const DxfGroup& group) {
        if (group.code == 10 || group.code == 20 || group.code == 30)
            return parse.coordinate(group, "VERTEX", vertex.location);
        if (group.code == 70) return parse.integer(group, "VERTEX", vertex.flags);
        if (group.code >= 71 && group.code <= 74) return parse.integer(group, "VERTEX", vertex.indices[group.code - 71]);
        return true;
    });
    vertices.push_back(vertex);
    return read;
}

// The VERTEX records up to SEQEND (read too). A polyline that ends without
// SEQEND ends at the first other entity, which is left unread.
bool ReadVertices(CadParse& parse, std::vector<Vertex>& vertices) {
    DxfGroup group;
    while (parse.groups.next(group)) {
        if (group.text == "VERTEX") {
            if (!ReadVertex(parse, vertices)) return false;
        } else if (group.text == "SEQEND") {
            return parse.entityGroups([](const DxfGroup&) { return true; });
        } else {
            parse.groups.putBack();
            return true;
        }
    }
    return parse.readerOk();
}

bool AddPolyfaceFaces(CadParse& parse, const DxfGroup& start, const Polyline& polyline, CadSpace& space) {
    std::vector<xyz> points;
    for (const Vertex& vertex : polyline.vertices)
        if ((vertex.flags & kVertexFlags) != kFaceRecord) points.push_back(vertex.location);
    std::size_t added = 0;
    for (const Vertex& record : polyline.vertices) {
        if ((record.flags & kVertexFlags) != kFaceRecord) continue;
        xyz corners[4];
        std::size_t n = 0;
        unsigned hiddenSides = 0;
        for (long long index : record.indices) {
            if (index == 0) continue; // unused
            const unsigned long long vertex = static_cast<unsigned long long>(std::llabs(index));
            if (vertex > points.size())
                return parse.fail(start, "polyface mesh: a face record names vertex " + std::to_string(index) +
                                             " of " + std::to_string(points.size()));
            // A negative index hides the side that starts at its corner.
            if (index < 0) hiddenSides |= 1u << n;
            corners[n++] = points[vertex - 1];
        }
        added += AppendPolygon(space, corners, n, hiddenSides);
    }
    space.facesFrom[static_cast<int>(FaceSource::Polyface)] += static_cast<long long>(added);
    return true;
}

// The quadrilaterals between rows m, m+1 and columns n, n+1 of the M × N
// vertices, row by row; a mesh closed in M (or N) also joins its last row
// (column) to the first.
bool AddPolygonMeshFaces(CadParse& parse, const DxfGroup& start, const Polyline& polyline, CadSpace& space) {
    const long long m = polyline.m, n = polyline.n;
    const auto& v = polyline.vertices;
    const auto count = static_cast<long long>(v.size());
    if (m < 1 || n < 1 || m > count || n > count || m * n != count)
        return parse.fail(start, "polygon mesh of " + std::to_string(m) + " (71) by " + std::to_string(n) +
                                     " (72) vertices holds " + std::to_string(v.size()) + " VERTEX records");
    const long long rows = m - !(polyline.flags & kClosedInM), columns = n - !(polyline.flags & kClosedInN);
    const auto at = [&](long long i, long long j) { return v[static_cast<std::size_t>(i % m * n + j % n)].location; };
    for (long long i = 0; i < rows; ++i)
        for (long long j = 0; j < columns; ++j)
            space.faces.push_back({at(i, j), at(i + 1, j), at(i + 1, j + 1), at(i, j + 1)});
    space.facesFrom[static_cast<int>(FaceSource::PolygonMesh)] += rows * columns;
    return true;
}

} // namespace

bool ReadPolyline(CadParse& parse, const DxfGroup& start, CadSpace& space) {
    Polyline polyline;
    const bool read = parse.entityGroups([&](const DxfGroup& group) {
        switch (group.code) {
        case 67: return parse.integer(group, "POLYLINE", polyline.paper);
        case 70: return parse.integer(group, "POLYLINE", polyline.flags);
        case 71: return parse.integer(group, "POLYLINE", polyline.m);
        case 72: return parse.integer(group, "POLYLINE", polyline.n);
        default: return true;
        }
    });
    if (!read || !ReadVertices(parse, polyline.vertices)) return false;
    if (polyline.paper == 1) return true;
    if (polyline.flags & kPolyfaceMesh) return AddPolyfaceFaces(parse, start, polyline, space);
    if (polyline.flags & kPolygonMesh) return AddPolygonMeshFaces(parse, start, polyline, space);
    ++space.unconverted["POLYLINE"];
    return true;
}
