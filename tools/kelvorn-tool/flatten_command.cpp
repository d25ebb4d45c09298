// The "flatten" command: any DXF drawing as a plain file of 3DFACEs, the
// faces that model space shows wherever the file keeps them.
#include "commands.h"
#include "dxf_output.h"
#include "load_mesh.h"
#include "same_file.h"

#include "meshfile/flatten/flatten.h"

#include <cstdio>
#include <string>

namespace {

// "1200 faces (3DFACE 100, INSERT 1100)", the sources with no face left out.
std::string FaceCounts(const FlattenReport& report) {
    std::string counts;
    const auto add = [&](const char* source, long long faces) {
        if (faces == 0) return;
        counts += (counts.empty() ? " (" : ", ") + std::string(source) + " " + std::to_string(faces);
    };
    for (int source = 0; source < kFaceSources; ++source)
        add(FaceSourceName(static_cast<FaceSource>(source)), report.facesFrom[source]);
    add("INSERT", report.facesFromInserts);
    return std::to_string(report.faces) + (report.faces == 1 ? " face" : " faces") + counts +
           (counts.empty() ? "" : ")");
}

void PrintReport(const char* input, const MeshLoad& load) {
    const FlattenReport& report = load.report;
    if (report.faces == 0)
        ReportNothingToDraw(input, load);
    else std::fprintf(stderr, "kelvorn-tool flatten: %s: %s\n", input, FaceCounts(report).c_str());
    if (!report.unconverted.empty()) {
        std::string kinds;
        for (const auto& [kind, count] : report.unconverted)
            kinds += (kinds.empty() ? "" : ", ") + kind + " " + std::to_string(count);
        std::fprintf(stderr, "kelvorn-tool flatten: %s: not turned into faces: %s\n", input, kinds.c_str());
    }
    PrintLeftOut("kelvorn-tool flatten: ", input, report);
}

int Flatten(const Arguments& arguments) {
    const char* input = arguments.operands[0];
    const char* output = arguments.value("-o");
    // Written over, the drawing would be lost to its own flattened faces.
    if (IsSameFile(input, output))
        return UsageError(kFlattenCommand, std::string("-o ") + output + " is the same file as " + input +
                                               ": its drawing would be replaced by the flattened faces");
    std::string error;
    FlatDrawing drawing;
    MeshLoad load{true, arguments.has("--strict"), {}};
    FlattenLimits limits;
    limits.strict = load.strict;
    if (!drawing.readFile(input, limits, error)) {
        std::fprintf(stderr, "kelvorn-tool: cannot flatten %s: %s\n", input, error.c_str());
        return 1;
    }
    const int status = WriteDxfReplacing(output, DxfCoordinates::Shortest, [&](DXF& dxf) {
        std::string stopped;
        drawing.faces(
            [&](const Face* faces, const unsigned char* hidden, std::size_t n) { dxf.faces(faces, hidden, n); },
            stopped);
        return stopped.empty() ? stopped : "cannot flatten " + std::string(input) + ": " + stopped;
    });
    load.report = drawing.report();
    if (status == 0) PrintReport(input, load);
    return status;
}

constexpr Option kFlattenOptions[] = {
    {"-o", "OUT.dxf",
     "the plain 3DFACE file, replaced only once it is whole;\nnot FILE itself, by any name or link", true,
     "--output"},
    {"--strict", nullptr, "refuse FILE at the first thing that cannot be drawn,\ninstead of leaving it out"},
};

} // namespace

const Command kFlattenCommand = {
    "flatten",
    "FILE",
    kFlattenOptions,
    "write the faces a CAD program shows in FILE as 3DFACEs",
    "Reads the DXF file FILE (text or binary) and writes every face that its model\n"
    "space shows to OUT.dxf as 3DFACE entities on layer 0, each coordinate as the\n"
    "shortest text that reads back as the same number. Faces come from 3DFACEs,\n"
    "from blocks placed by INSERT (scaled, turned, in their extrusion's plane,\n"
    "MINSERT arrays, nested to any depth), from polyface and polygon mesh\n"
    "POLYLINEs (the fitted surface of a smoothed one) and from MESH entities.\n"
    "Paper space and blocks that nothing inserts are left out. Edges hidden by a\n"
    "3DFACE's group 70 or a negative polyface index, and the diagonals of a face\n"
    "of more than four corners, stay hidden: OUT keeps them as group 70. Standard\n"
    "error tells how many faces came from each source and which other entities\n"
    "were met, by kind, or, when there is no face, why there is nothing to draw.\n"
    "\n"
    "What cannot be drawn (an INSERT with scale or extrusion 0, a block defined\n"
    "twice - the first definition stands -, one that inserts itself, a missing\n"
    "block, a bad number or vertex index, counts that do not match their lists) is\n"
    "left out and the rest is written; standard error names the first five left\n"
    "out with their line (or byte) and reason, then counts the others by kind.\n"
    "With --strict the first of them refuses the file instead. A file that cannot\n"
    "be flattened (cut short, without EOF, not DXF, more than 50000000 faces) is\n"
    "refused with the place and the reason, and OUT is not touched. OUT must not be\n"
    "FILE itself (by any name or link): that is refused, with status 2.\n"
    "\n"
    "Exit status: 0 written, 1 FILE not flattened or OUT not written, 2 bad\n"
    "arguments.\n",
    Flatten};
