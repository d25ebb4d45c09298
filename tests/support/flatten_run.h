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
};

// Flattens `bytes`, a whole DXF file.
FlattenRun FlattenBytes(std::string_view bytes, const FlattenLimits& limits = {});

// Flattens the text file of `pairs`, and checks that its binary form, with
// two-byte and with one-byte codes, gives the same faces bit for bit or the
// same refusal (its place aside).
FlattenRun FlattenPairs(std::string_view pairs, const FlattenLimits& limits = {});
