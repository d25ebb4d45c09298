// POLYLINE entities that are surfaces: polyface meshes (flag 64) and polygon
// meshes (flag 16). Other polylines are lines and give no faces.
//
// A smoothed polygon mesh (flag 16 with flag 4, spline-fit) holds its M × N
// control frame (VERTEX flag 16) and then the vertices of the surface fitted
// to it (VERTEX flag 8), 73 × 74 of them (the M and N surface densities).
// CAD programs show the fitted surface, not the frame; so does the converter.
#include "meshfile/flatten/cad_parse.h"

#include <array>
#include <cstdlib>

namespace {

constexpr long long kPolygonMesh = 16, kPolyfaceMesh = 64, kSplineFit = 4;
constexpr long long kFittedVertex = 8;
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
    long long mDensity = 0, nDensity = 0; // of a smoothed mesh: its fitted vertices, 73 by 74
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
                return parse.fail(start,
                                  "polyface mesh: a face record names vertex " + std::to_string(index) +
                                      " of " + std::to_string(points.size()),
                                  "polyface face naming a missing vertex");
            // A negative index hides the side that starts at its corner.
            if (index < 0) hiddenSides |= 1u << n;
            corners[n++] = points[vertex - 1];
        }
        added += AppendPolygon(space, corners, n, hiddenSides);
    }
    space.facesFrom[static_cast<int>(FaceSource::Polyface)] += static_cast<long long>(added);
    return true;
}

// The quadrilaterals between rows i, i+1 and columns j, j+1 of the m × n
// points `v`, row by row; a mesh closed in M (or N) also joins its last row
// (column) to the first.
void AddGridFaces(const std::vector<xyz>& v, long long m, long long n, long long flags, CadSpace& space) {
    const long long rows = m - !(flags & kClosedInM), columns = n - !(flags & kClosedInN);
    const auto at = [&](long long i, long long j) { return v[static_cast<std::size_t>(i % m * n + j % n)]; };
    for (long long i = 0; i < rows; ++i)
        for (long long j = 0; j < columns; ++j)
            space.faces.push_back({at(i, j), at(i + 1, j), at(i + 1, j + 1), at(i, j + 1)});
    space.facesFrom[static_cast<int>(FaceSource::PolygonMesh)] += rows * columns;
}

bool FitsGrid(long long m, long long n, long long count) {
    return m >= 1 && n >= 1 && m <= count && n <= count && m * n == count;
}

// The faces of a polygon mesh's M × N vertices or, when it is smoothed, of
// the 73 × 74 vertices of its fitted surface, its control frame passed over.
bool AddPolygonMeshFaces(CadParse& parse, const DxfGroup& start, const Polyline& polyline, CadSpace& space) {
    const bool smoothed = polyline.flags & kSplineFit;
    std::vector<xyz> points;
    for (const Vertex& vertex : polyline.vertices)
        if (!smoothed || (vertex.flags & kFittedVertex)) points.push_back(vertex.location);
    const long long m = smoothed ? polyline.mDensity : polyline.m,
                    n = smoothed ? polyline.nDensity : polyline.n;
    const auto count = static_cast<long long>(points.size());
    if (smoothed && count == 0)
        return parse.fail(
            start,
            "smoothed polygon mesh (flag 4) without the vertices of its fitted surface (VERTEX flag 8)",
            "smoothed polygon mesh without its fitted surface");
    if (!FitsGrid(m, n, count)) {
        const std::string grid =
            std::to_string(m) + (smoothed ? " (73) by " : " (71) by ") + std::to_string(n);
        return smoothed ? parse.fail(start,
                                     "smoothed polygon mesh of " + grid + " (74) fitted vertices holds " +
                                         std::to_string(count) + " of them (VERTEX flag 8)",
                                     "smoothed polygon mesh of the wrong fitted vertex count")
                        : parse.fail(start,
                                     "polygon mesh of " + grid + " (72) vertices holds " +
                                         std::to_string(count) + " VERTEX records",
                                     "polygon mesh of the wrong vertex count");
    }
    AddGridFaces(points, m, n, polyline.flags, space);
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
        // Judged only where a smoothed mesh needs them: a count that is no number fits no vertices.
        case 73:
            return ReadInteger(group, polyline.mDensity) || true;
        case 74:
            return ReadInteger(group, polyline.nDensity) || true;
        default: return true;
        }
    });
    if (!read || !ReadVertices(parse, polyline.vertices)) return false;
    if (polyline.paper == 1) return true;
    if (polyline.flags & kPolyfaceMesh) {
        ++space.surfaces.polyfaceMeshes;
        return AddPolyfaceFaces(parse, start, polyline, space);
    }
    if (polyline.flags & kPolygonMesh) {
        ++space.surfaces.polygonMeshes;
        return AddPolygonMeshFaces(parse, start, polyline, space);
    }
    ++space.unconverted["POLYLINE"];
    return true;
}
