#include "load_mesh.h"

#include "kelvorn.h"
#include "meshfile/flatten/mesh_survey.h"
#include "meshfile/reader/mesh_reader.h"

#include <algorithm>
#include <cstdio>
#include <string>

namespace {

// Items printed in full before the rest are counted by kind.
constexpr std::size_t kLeftOutInFull = 5;

} // namespace

MeshLoad MeshLoadOf(const Arguments& arguments) {
    MeshLoad load;
    load.flatten = arguments.has("--flatten");
    load.strict = arguments.has("--strict");
    return load;
}

bool LoadMeshOrReport(const char* path, MeshLoad& load) {
    if (load.flatten) {
        std::string error;
        FlattenLimits limits;
        limits.strict = load.strict;
        if (!LoadFlattenedMesh(path, load.report, error, limits)) {
            std::fprintf(stderr, "kelvorn-tool: cannot flatten %s: %s\n", path, error.c_str());
            return false;
        }
        PrintLeftOut("kelvorn-tool: ", path, load.report);
        return true;
    }
    const ReadStatus status = ReadMeshFile(path, nullptr);
    if (status.ok()) return true;
    std::fprintf(stderr, "kelvorn-tool: cannot read %s: %s\n", path, DescribeReadError(status).c_str());
    return false;
}

void ReportNothingToDraw(const char* path, const MeshLoad& load) {
    std::string text = load.flatten ? DescribeFacelessDrawing(path, load.report)
                                    : DescribeFacelessFile(path, SurveyMeshFile(path));
    std::replace(text.begin(), text.end(), '\n', ' ');
    std::fflush(stdout);
    std::fprintf(stderr, "kelvorn-tool: %s\n", text.c_str());
}

void PrintLeftOut(const char* prefix, const char* path, const FlattenReport& report) {
    for (const std::string& line : LeftOutLines(path, report.leftOut, kLeftOutInFull))
        std::fprintf(stderr, "%s%s\n", prefix, line.c_str());
}
