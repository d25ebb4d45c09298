// Flattening a DXF drawing into plain faces: every face that model space
// shows, as a CAD program shows it, wherever the file keeps it.
//
// Faces come from 3DFACE entities (corners as given, a missing corner at the
// origin), POLYLINE polyface meshes (flag 64) and polygon meshes (flag 16),
// MESH entities (their level-0 faces) and INSERT references to blocks holding
// any of these, nested to any depth (see cad_expand.h). Text and binary DXF
// files read alike. Paper space and blocks that nothing inserts are left out.
//
// What cannot be drawn (an INSERT with scale 0, a block defined twice or
// inserting itself, a missing block, a face naming a missing vertex, counts
// that do not match their lists: cad_reader.h and cad_expand.h list them) is
// left out and reported, with its place (line, or byte of a binary file),
// the reason and its kind, and the rest is drawn, as CAD programs recover a
// drawing. Left out of the report: what stands in block definitions that
// nothing places, which are not drawing.
//
// Contract on failure: read() refuses a file cut short, without EOF or not
// DXF, and one past the limits, with the place and the reason in `error`,
// before any memory is spent on the faces a reference would make; with
// FlattenLimits::strict it refuses what would be left out too, at the first
// of it. LoadFlattenedMesh leaves the face table as it was on every failure.
#pragma once

#include "meshfile/flatten/cad_drawing.h"
#include "meshfile/flatten/cad_expand.h"

#include <array>
#include <map>
#include <string>
#include <string_view>

struct FlattenReport {
    long long faces = 0;                           // faces that model space shows
    std::array<long long, kFaceSources> facesFrom{}; // of them, those of model space's own entities
    long long facesFromInserts = 0;                // of them, those that block references place
    std::map<std::string, long long, std::less<>> unconverted; // other entity kinds met, by kind
    LeftOutList leftOut;                           // what could not be drawn (left_out.h)
    long long facesInUnplacedBlocks = 0;           // faces of block definitions that nothing places
};

// What was left out of the file at `path`, for the user, in one sentence:
// '3 entities of "PATH" were left out: 2 INSERT with scale 0, 1 block defined
// twice.' (the count, then each kind with its count, kinds in name order).
// Empty when nothing was left out.
std::string DescribeLeftOut(const char* path, const FlattenReport& report);

// How a FaceSource is named in reports: "3DFACE", "polyface POLYLINE"...
const char* FaceSourceName(FaceSource source);

class FlatDrawing {
public:
    // Reads the whole DXF file `bytes` and plans its expansion.
    bool read(std::string_view bytes, const FlattenLimits& limits, std::string& error);
    // The same for the DXF file at `path`, read in place where it can be
    // mapped, else through a small window. A file that cannot be opened or
    // read gives the reason in words (DescribeReadError), without the path.
    bool readFile(const char* path, const FlattenLimits& limits, std::string& error);
    const FlattenReport& report() const { return report_; }
    // The drawing as read, before its references are expanded.
    const CadDrawing& drawing() const { return drawing_; }
    // Hands every face to `sink` in file order (see ExpandDrawing).
    bool faces(const FaceSink& sink, std::string& error) const;

private:
    bool plan(const FlattenLimits& limits, std::string& error);

    CadDrawing drawing_;
    ExpansionPlan plan_;
    FlattenReport report_;
};

// Why the flattened file at `path` gives nothing to draw, for a report that
// found no face: '"PATH" holds no face in model space; its blocks hold 132
// faces that nothing places: there is nothing to draw.', or, with no face in
// its blocks either, '"PATH" holds no face, flattened or not: ...'.
std::string DescribeFacelessDrawing(const char* path, const FlattenReport& report);

// Replaces the face table (F, nf) with the flattened faces of the file at
// `path`, as ReadMeshFile lays it out: room for count + 4 faces; and
// HiddenEdges with the edges they hide, or null when they hide none; `report`
// says what was left out. On failure `error` names the reason (without the
// path) and the table and its hidden edges stay as they were.
bool LoadFlattenedMesh(const char* path, FlattenReport& report, std::string& error,
                       const FlattenLimits& limits = {});
