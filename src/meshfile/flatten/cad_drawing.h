// A DXF drawing as the flattening converter sees it: the faces and block
// references of model space and of each block definition, in file order.
//
// Faces are kept as the file gives them, in the coordinates of the space that
// holds them (world coordinates for model space, the block's own for a
// block); block references keep their raw parameters, since a block may be
// defined after the reference that uses it.
#pragma once

#include "geometry/xyz.h"
#include "meshfile/flatten/left_out.h"

#include <array>
#include <cstddef>
#include <map>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

// Where a face of a space comes from.
enum class FaceSource { Face3d, Polyface, PolygonMesh, Mesh };
constexpr int kFaceSources = 4;

// An INSERT: the block placed at `point` (in the coordinates of its
// extrusion's plane), scaled, turned `rotation` degrees about the extrusion,
// repeated in `columns` × `rows` copies `columnSpacing` and `rowSpacing` apart
// along the turned x and y axes.
struct CadInsert {
    std::string block;
    std::string place;           // "line N" or "byte N", for messages
    long long position = 0;      // the same as a number, to keep left-out items in file order
    std::size_t facesBefore = 0; // faces of the space that come before it in the file
    xyz point{0, 0, 0};
    xyz scale{1, 1, 1};
    xyz extrusion{0, 0, 1};
    double rotation = 0;
    long long columns = 1, rows = 1;
    double columnSpacing = 0, rowSpacing = 0;
};

// Records `bits` (HiddenEdges' bits, kelvorn.h) as the hidden edges of face
// `face` in `hiddenEdges`, which holds the bits of the faces before its end:
// the faces past it have every edge drawn, so a drawing that hides no edge
// keeps it empty.
void HideEdges(std::vector<unsigned char>& hiddenEdges, std::size_t face, unsigned bits);

// The surface entities of a space, counted as they are met, whether they
// give faces or are left out: what a report on a file that the faces reading
// finds empty names. Paper space is not counted, as it is not drawn.
struct SurfaceTally {
    long long polyfaceMeshes = 0; // POLYLINE with flag 64
    long long polygonMeshes = 0;  // POLYLINE with flag 16 (and not 64)
    long long meshEntities = 0;   // MESH
    long long total() const { return polyfaceMeshes + polygonMeshes + meshEntities; }
};

// Model space or one block definition.
struct CadSpace {
    std::string name;  // the block's name; empty for model space
    xyz base{0, 0, 0}; // the block's base point: what lands on the insertion point
    std::vector<Face> faces;
    std::vector<unsigned char> hiddenEdges; // of `faces`, as HideEdges keeps them
    std::vector<CadInsert> inserts;
    std::array<long long, kFaceSources> facesFrom{};
    std::map<std::string, long long, std::less<>> unconverted; // entity kinds not turned into faces
    LeftOutList leftOut;                                       // entities that could not be drawn
    SurfaceTally surfaces;

    // Appends `face`, its edges in `hidden` (HiddenEdges' bits) not drawn.
    void addFace(const Face& face, unsigned hidden) {
        faces.push_back(face);
        HideEdges(hiddenEdges, faces.size() - 1, hidden);
    }
};

struct CadDrawing {
    CadSpace model;
    std::vector<CadSpace> blocks;
    std::unordered_map<std::string, std::size_t> blockIndex; // by BlockKey(name)
    LeftOutList leftOut; // block definitions left out: a second one of a name, one without a name

    // The block named `name` (block names ignore ASCII letter case), or null.
    const CadSpace* findBlock(std::string_view name) const;
    std::size_t indexOf(const CadSpace& block) const { return static_cast<std::size_t>(&block - blocks.data()); }
};

// The key a block name is looked up by: ASCII letters in upper case.
std::string BlockKey(std::string_view name);

// Appends the faces of the polygon corners[0..n-1] to `space`: nothing for
// n < 3 (an edge or a point, not a face); a triangle repeats its third
// corner; four corners are one face; n > 4 corners are the triangles (c0, ci,
// ci+1, ci+1) for i = 1 .. n-2. Returns the number of faces appended.
//
// Bit i of `hiddenSides` hides the polygon's side from corner i to the next
// (i < 4: only polyface faces, of at most four corners, hide sides). A CAD
// program draws a polygon's outline, so the diagonals a split adds are
// hidden. The closing side of a triangle is drawn as C→D, a point, then D→A:
// both are hidden together.
std::size_t AppendPolygon(CadSpace& space, const xyz* corners, std::size_t n, unsigned hiddenSides = 0);
