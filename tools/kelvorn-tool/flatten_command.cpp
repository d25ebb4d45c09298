// The "flatten" command: any DXF drawing as a plain file of 3DFACEs, the
// faces that model space shows wherever the file keeps them.
#include "commands.h"
#include "dxf_output.h"

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

void PrintReport(const char* input, const FlattenReport& report) {
    if (report.faces == 0) std::fprintf(stderr, "kelvorn-tool flatten: %s: no faces in model space\n", input);
    else std::fprintf(stderr, "kelvorn-tool flatten: %s: %s\n", input, FaceCounts(report).c_str());
    if (report.unconverted.empty()) return;
    std::string kinds;
    for (const auto& [kind, count] : report.unconverted)
        kinds += (kinds.empty() ? "" : ", ") + kind + " " + std::to_string(count);
    std::fprintf(stderr, "kelvorn-tool flatten: %s: not turned into faces: %s\n", input, kinds.c_str());
}

int Flatten(const Arguments& arguments) {
    const char* input = arguments.operands[0];
    std::string error;
    FlatDrawing drawing;
    if (!drawing.readFile(input, {}, error)) {
        std::fprintf(stderr, "kelvorn-tool: cannot flatten %s: %s\n", input, error.c_str());
        return 1;
    }
    const int status = WriteDxfReplacing(arguments.value("-o"), DxfCoordinates::Shortest, [&](DXF& dxf) {
        std::string stopped;
        drawing.faces(
            [&](const Face* faces, const unsigned char* hidden, std::size_t n) { dxf.faces(faces, hidden, n); },
            stopped);
        return stopped.empty() ? stopped : "cannot flatten " + std::string(input) + ": " + stopped;
    });
    if (status == 0) PrintReport(input, drawing.report());
    return status;
}

constexpr Option kFlattenOptions[] = {
    {"-o", "OUT.dxf", "the plain 3DFACE file, replaced only once it is whole", true},
};

} // namespace

const Command kFlattenCommand = {
    "flatten", "FILE", kFlattenOptions, "write the faces a CAD program shows in FILE as 3DFACEs",
    "Reads the DXF file FILE (text or binary) and writes every face that its model\n"
    "space shows to OUT.dxf as 3DFACE entities on layer 0, each coordinate as the\n"
    "shortest text that reads back as the same number. Faces come from 3DFACEs,\n"
    "from blocks placed by INSERT (scaled, turned, in their extrusion's plane,\n"
    "MINSERT arrays, nested to any depth), from polyface and polygon mesh\n"
    "POLYLINEs and from MESH entities. Paper space and blocks that nothing inserts\n"
    "are left out. Edges hidden by a 3DFACE's group 70 or a negative polyface\n"
    "index, and the diagonals of a face of more than four corners, stay hidden:\n"
    "OUT keeps them as group 70. Standard error tells how many faces came from\n"
    "each source and which other entities were met, by kind.\n"
    "\n"
    "A file that cannot be flattened (cut short, a block that is missing or inserts\n"
    "itself, a bad number or index, more than 50000000 faces) is refused with the\n"
    "place and the reason, and OUT is not touched.\n"
    "\n"
    "Exit status: 0 written, 1 FILE not flattened or OUT not written, 2 bad\n"
    "arguments.\n",
    Flatten};
