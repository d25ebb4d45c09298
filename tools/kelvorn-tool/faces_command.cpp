// The "faces" and "info" subcommands: the face table as the viewer reads it.
#include "commands.h"

#include "kelvorn.h"
#include "meshfile/mesh_reader.h"
#include "meshfile/mesh_survey.h"

#include <algorithm>
#include <cstdio>
#include <limits>
#include <string>

bool LoadMeshOrReport(const char* path) {
    const ReadStatus status = ReadMeshFile(path, nullptr);
    if (status.ok()) return true;
    std::fprintf(stderr, "kelvorn-tool: cannot read %s: %s\n", path, DescribeReadError(status).c_str());
    return false;
}

namespace {

bool TakeOneFile(const char* command, int argc) {
    if (argc == 1) return true;
    std::fprintf(stderr, "usage: kelvorn-tool %s FILE\n", command);
    return false;
}

constexpr const char* kFileExitStatus = "Exit status: 0 done, 1 FILE could not be read, 2 bad arguments.\n";

void PrintPoint(const xyz& p) { std::printf(" %.17g %.17g %.17g", p.x, p.y, p.z); }

struct Range {
    double low = std::numeric_limits<double>::infinity();
    double high = -std::numeric_limits<double>::infinity();
    void add(double v) {
        low = std::min(low, v);
        high = std::max(high, v);
    }
};

} // namespace

int FacesCommand(int argc, char** argv) {
    if (AsksForHelp(argc, argv))
        return PrintCommandHelp(
            "usage: kelvorn-tool faces FILE\n",
            {"Prints the faces read from FILE: the line \"nf COUNT\", then one line per face\n"
             "with x, y and z of its corners A, B, C and D, each exactly (\"%.17g\").\n",
             kFileExitStatus});
    if (!TakeOneFile("faces", argc)) return 2;
    if (!LoadMeshOrReport(argv[0])) return 1;
    std::printf("nf %d\n", nf);
    for (int i = 0; i < nf; ++i) {
        const Face& face = F[i];
        std::printf("%.17g %.17g %.17g", face.A.x, face.A.y, face.A.z);
        PrintPoint(face.B);
        PrintPoint(face.C);
        PrintPoint(face.D);
        std::printf("\n");
    }
    return std::fflush(stdout) == 0 ? 0 : 1;
}

int InfoCommand(int argc, char** argv) {
    if (AsksForHelp(argc, argv))
        return PrintCommandHelp(
            "usage: kelvorn-tool info FILE\n",
            {"Prints FILE's name, its face count and the smallest and largest x, y and z\n"
             "over all corners of its faces. For a file with no face, standard error\n"
             "says what it holds instead (meshes of other kinds, a binary DXF file...).\n",
             kFileExitStatus});
    if (!TakeOneFile("info", argc)) return 2;
    if (!LoadMeshOrReport(argv[0])) return 1;
    std::printf("file   %s\nfaces  %d\n", argv[0], nf);
    if (nf == 0) {
        std::string text = DescribeFacelessFile(argv[0], SurveyMeshFile(argv[0]));
        std::replace(text.begin(), text.end(), '\n', ' '); // one diagnostic line
        std::fflush(stdout);
        std::fprintf(stderr, "kelvorn-tool: %s\n", text.c_str());
    } else {
        Range x, y, z;
        for (const xyz* p = &F[0].A; p != &F[0].A + 4 * static_cast<long>(nf); ++p) {
            x.add(p->x);
            y.add(p->y);
            z.add(p->z);
        }
        std::printf("x      %g .. %g\ny      %g .. %g\nz      %g .. %g\n", x.low, x.high, y.low, y.high, z.low,
                    z.high);
    }
    return std::fflush(stdout) == 0 ? 0 : 1;
}
