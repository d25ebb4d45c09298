// The "faces" and "info" commands: the face table as the viewer reads it.
#include "commands.h"
#include "load_mesh.h"

#include "kelvorn.h"

#include <algorithm>
#include <cstdio>
#include <limits>
#include <string>

namespace {

void PrintPoint(const xyz& p) { std::printf(" %.17g %.17g %.17g", p.x, p.y, p.z); }

struct Range {
    double low = std::numeric_limits<double>::infinity();
    double high = -std::numeric_limits<double>::infinity();
    void add(double v) {
        low = std::min(low, v);
        high = std::max(high, v);
    }
};

int PrintFaces(const Arguments& arguments) {
    const char* path = arguments.operands[0];
    MeshLoad load = MeshLoadOf(arguments);
    if (!LoadMeshOrReport(path, load)) return 1;
    std::printf("nf %d\n", nf);
    for (int i = 0; i < nf; ++i) {
        const Face& face = F[i];
        std::printf("%.17g %.17g %.17g", face.A.x, face.A.y, face.A.z);
        PrintPoint(face.B);
        PrintPoint(face.C);
        PrintPoint(face.D);
        std::printf("\n");
    }
    if (nf == 0) ReportNothingToDraw(path, load);
    return std::fflush(stdout) == 0 ? 0 : 1;
}

int PrintInfo(const Arguments& arguments) {
    const char* path = arguments.operands[0];
    MeshLoad load = MeshLoadOf(arguments);
    if (!LoadMeshOrReport(path, load)) return 1;
    std::printf("file   %s\nfaces  %d\n", path, nf);
    if (nf == 0) {
        ReportNothingToDraw(path, load);
    } else {
        Range x, y, z;
        for (const xyz* p = &F[0].A; p != &F[0].A + 4 * static_cast<long>(nf); ++p) {
            x.add(p->x);
            y.add(p->y);
            z.add(p->z);
        }
        std::printf("x      %g .. %g\ny      %g .. %g\nz      %g .. %g\n", x.low, x.high, y.low, y.high,
                    z.low, z.high);
    }
    return std::fflush(stdout) == 0 ? 0 : 1;
}

constexpr Option kReadingOptions[] = {kFlattenOption, kStrictOption};

} // namespace

const Command kFacesCommand = {
    "faces",
    "FILE",
    kReadingOptions,
    "print the face table of FILE, every coordinate exactly",
    "Prints the faces read from FILE: the line \"nf COUNT\", then one line per face\n"
    "with x, y and z of its corners A, B, C and D, each exactly (\"%.17g\").\n"
    "\n"
    "Exit status: 0 done, 1 FILE could not be read, 2 bad arguments.\n",
    PrintFaces};

const Command kInfoCommand = {"info",
                              "FILE",
                              kReadingOptions,
                              "print the face count and the x, y and z ranges of FILE",
                              "Prints FILE's name, its face count and the smallest and largest x, y and z\n"
                              "over all corners of its faces. For a file with no face, standard error\n"
                              "says what it holds instead (meshes of other kinds, a binary DXF file...).\n"
                              "\n"
                              "Exit status: 0 done, 1 FILE could not be read, 2 bad arguments.\n",
                              PrintInfo};
