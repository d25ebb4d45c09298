// Flattening a DXF drawing into plain faces: every face that model space
// shows, as a CAD program shows it, wherever the file keeps it.
//
// Faces come from 3DFACE entities (corners as given, a missing corner at the
// origin), POLYLINE polyface meshes (flag 64) and polygon meshes (flag 16),
// MESH entities (their level-0 faces) and INSERT references to blocks holding
// any of these, nested to any depth (see cad_expand.h). Text and binary DXF
// files read alike. Paper space and blocks that nothing inserts are left out.
//
// Contract on failure: read() refuses what cad_reader.h and cad_expand.h
// list, with the place (line, or byte of a binary file) and the reason in
// `error`, before any memory is spent on the faces a reference would make;
// LoadFlattenedMesh leaves the face table as it was on every failure.
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
};

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
    // Hands every face to `sink` in file order (see ExpandDrawing).
    bool faces(const FaceSink& sink, std::string& error) const;

private:
    bool plan(const FlattenLimits& limits, std::string& error);

    CadDrawing drawing_;
    ExpansionPlan plan_;
    FlattenReport report_;
};

// Replaces the face table (F, nf) with the flattened faces of the file at
// `path`, as ReadMeshFile lays it out: room for count + 4 faces; and
// HiddenEdges with the edges they hide, or null when they hide none. On
// failure `error` names the reason (without the path) and the table and its
// hidden edges stay as they were.
bool LoadFlattenedMesh(const char* path, FlattenReport& report, std::string& error,
                       const FlattenLimits& limits = {});
