// Expanding block references: the faces that model space shows, each block
// reference replaced by its block's faces, placed, nested to any depth.
//
// Planning comes first and spends no memory on faces: it resolves every
// reference that model space reaches, directly or through other blocks, and
// counts the faces and block placements the expansion will make, saturating
// just past the limits. A reference to a block the file does not define, and
// one by which a block inserts itself directly or through others, is left
// out (with its place, in the plan's leftOut), or refused when `strict`. A
// drawing whose faces or placements pass the limits is refused. Blocks that
// nothing reaches are never looked at: they are definitions, not drawing.
//
// A MINSERT's copies stand `columnSpacing` and `rowSpacing` apart along the
// reference's turned x and y axes (not scaled); where a spacing is 0 its
// copies would all stand in one place, and only one of them is made.
#pragma once

#include "meshfile/flatten/cad_drawing.h"
#include "meshfile/flatten/cad_transform.h"

#include <cstddef>
#include <functional>
#include <string>
#include <vector>

struct FlattenLimits {
    long long faces = 50'000'000;      // faces written
    long long placements = 50'000'000; // block copies placed, nested ones included
    bool strict = false; // refuse the file at the first thing it cannot draw, instead of leaving it out
};

// A reference as planned: its block and the map of its first copy.
struct PlannedInsert {
    std::size_t target = 0;  // index into CadDrawing::blocks
    std::size_t facesBefore = 0; // faces of the referencing space that come before it
    long long copies = 1;    // copies made: columns × rows, less those that coincide
    long long columns = 1;   // copies per row
    Affine placement;        // block → the referencing space, copy (0, 0)
    xyz columnStep, rowStep; // added to placement.t per column and per row
};

struct ExpansionPlan {
    // Per space (the blocks, then model space last): its planned references,
    // and the faces it shows with its nested blocks (0 for spaces not reached).
    std::vector<std::vector<PlannedInsert>> inserts;
    std::vector<long long> faces;
    std::vector<bool> reached; // model space, and the blocks its references reach
    long long placements = 0; // in model space, nested ones included
    LeftOutList leftOut;      // references left out

    std::size_t modelIndex() const { return faces.size() - 1; }
    long long totalFaces() const { return faces.back(); }
};

bool PlanExpansion(const CadDrawing& drawing, const FlattenLimits& limits, ExpansionPlan& plan,
                   std::string& error);

// Receives faces in drawing order, a batch at a time, with their hidden
// edges (HiddenEdges' bits, kelvorn.h) one byte a face, or null when every
// edge of the batch is drawn.
using FaceSink = std::function<void(const Face* faces, const unsigned char* hiddenEdges, std::size_t count)>;

// Hands every face that model space shows to `sink`, in file order with each
// reference's faces in its place; plan.totalFaces() faces in all. Faces of
// model space itself go out bit for bit as read; every face, placed or not,
// keeps the edges it hides. False, with `error` set and
// the faces so far handed out, when placing a face takes a coordinate beyond
// the range of doubles.
bool ExpandDrawing(const CadDrawing& drawing, const ExpansionPlan& plan, const FaceSink& sink, std::string& error);
