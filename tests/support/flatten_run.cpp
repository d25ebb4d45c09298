#include "support/flatten_run.h"

#include "support/dxf_pairs.h"

#include <gtest/gtest.h>

#include <cstring>

namespace {

// The message without its "line N: " or "byte N: " place.
std::string WithoutPlace(const std::string& error) {
    const std::size_t colon = error.find(": ");
    const bool placed = error.rfind("line ", 0) == 0 || error.rfind("byte ", 0) == 0;
    return placed && colon != std::string::npos ? error.substr(colon + 2) : error;
}

} // namespace

void TakeFaces(const FlatDrawing& drawing, FlattenRun& run) {
    run.report = drawing.report();
    run.ok = drawing.faces(
        [&](const Face* faces, const unsigned char* hidden, std::size_t n) {
            run.faces.insert(run.faces.end(), faces, faces + n);
            if (hidden) run.hiddenEdges.insert(run.hiddenEdges.end(), hidden, hidden + n);
            else run.hiddenEdges.resize(run.faces.size());
        },
        run.error);
}

FlattenRun FlattenBytes(std::string_view bytes, const FlattenLimits& limits) {
    FlattenRun run;
    FlatDrawing drawing;
    run.ok = drawing.read(bytes, limits, run.error);
    if (run.ok) TakeFaces(drawing, run);
    return run;
}

FlattenRun FlattenPairs(std::string_view pairs, const FlattenLimits& limits) {
    FlattenRun text = FlattenBytes(DxfText(pairs), limits);
    for (const bool oneByte : {false, true}) {
        const FlattenRun binary = FlattenBytes(DxfBinary(pairs, oneByte), limits);
        EXPECT_EQ(binary.ok, text.ok) << "binary form, one-byte codes " << oneByte << ": " << binary.error;
        EXPECT_EQ(WithoutPlace(binary.error), WithoutPlace(text.error)) << "one-byte codes " << oneByte;
        EXPECT_EQ(binary.faces.size(), text.faces.size());
        EXPECT_EQ(binary.hiddenEdges, text.hiddenEdges) << "binary form, one-byte codes " << oneByte;
        if (binary.faces.size() == text.faces.size() && !text.faces.empty()) {
            EXPECT_EQ(std::memcmp(binary.faces.data(), text.faces.data(), text.faces.size() * sizeof(Face)), 0)
                << "binary form, one-byte codes " << oneByte;
        }
    }
    return text;
}
