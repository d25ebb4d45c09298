// Flattening DXF pairs (see dxf_pairs.h) for the converter's tests.
#pragma once

#include "geometry/xyz.h"
#include "meshfile/flatten/flatten.h"

#include <string>
#include <string_view>
#include <vector>

struct FlattenRun {
    bool ok = false;
    std::string error;
    FlattenReport report;
    std::vector<Face> faces;
    std::vector<unsigned char> hiddenEdges; // one a face, 0 where every edge is drawn
};

// Hands out the faces of `drawing`, read, into `run`: its faces, hidden edges and `ok`.
void TakeFaces(const FlatDrawing& drawing, FlattenRun& run);

// Flattens `bytes`, a whole DXF file.
FlattenRun FlattenBytes(std::string_view bytes, const FlattenLimits& limits = {});

// Flattens the text file of `pairs`, and checks that its binary form, with
// two-byte and with one-byte codes, gives the same faces bit for bit, the
// same hidden edges, or the same refusal (its place aside).
FlattenRun FlattenPairs(std::string_view pairs, const FlattenLimits& limits = {});
