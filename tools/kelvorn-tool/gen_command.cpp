// The "gen" command: boxes, spheres, cones and cylinders as DXF meshes.
#include "commands.h"
#include "gen_options.h"

#include "meshfile/dxf_solids.h"
#include "meshfile/dxf_writer.h"

#include <cstdio>
#include <cstring>
#include <filesystem>
#include <random>
#include <string>
#include <system_error>

namespace {

const char* ArgumentsProblem(const GenOptions& o) {
    switch (o.solid) {
    case Solid::Block: return BlockArgumentsProblem(o.min.x, o.min.y, o.min.z, o.max.x, o.max.y, o.max.z);
    case Solid::Sphere: return SphereArgumentsProblem(o.center, o.radius, o.segments);
    case Solid::Cone: return ConeArgumentsProblem(o.from, o.to, o.radius1, o.radius2, o.around, o.along);
    case Solid::Cylinder: return CylinderArgumentsProblem(o.from, o.to, o.radius, o.around, o.along);
    }
    return "unknown solid";
}

void WriteSolid(DXF& dxf, const GenOptions& o) {
    switch (o.solid) {
    case Solid::Block: dxf.block(o.min.x, o.min.y, o.min.z, o.max.x, o.max.y, o.max.z); break;
    case Solid::Sphere: dxf.sphere(o.center, o.radius, o.segments); break;
    case Solid::Cone: dxf.cone(o.from, o.to, o.radius1, o.radius2, o.around, o.along); break;
    case Solid::Cylinder: dxf.cylinder(o.from, o.to, o.radius, o.around, o.along); break;
    }
}

// A name beside `output` that no file has yet, so the finished file can be
// renamed over `output` within one directory.
std::string ScratchPathBeside(const std::string& output) {
    std::random_device seed;
    std::string candidate;
    std::error_code ignored;
    do {
        char suffix[32];
        std::snprintf(suffix, sizeof suffix, ".%08x.part", static_cast<unsigned>(seed()));
        candidate = output + suffix;
    } while (std::filesystem::exists(candidate, ignored));
    return candidate;
}

int ReportWriteFailure(const std::string& output, const std::string& scratch, const std::string& reason) {
    std::error_code ignored;
    std::filesystem::remove(scratch, ignored);
    std::fprintf(stderr, "kelvorn-tool: cannot write %s: %s\n", output.c_str(), reason.c_str());
    return 1;
}

// Writes the whole file under a scratch name and only then puts it in
// place, so a failed write never leaves a partial file or loses an old one.
int WriteReplacing(const GenOptions& options) {
    const std::string scratch = ScratchPathBeside(options.output);
    DXF dxf(scratch.c_str());
    WriteSolid(dxf, options);
    if (!dxf.close()) return ReportWriteFailure(options.output, scratch, std::strerror(dxf.error()));
    std::error_code error;
    std::filesystem::rename(scratch, options.output, error);
    if (error) return ReportWriteFailure(options.output, scratch, error.message());
    return 0;
}

int Generate(const Arguments& arguments) {
    GenOptions options;
    std::string error;
    if (!ReadGenOptions(arguments, options, error)) return UsageError(kGenCommand, error);
    if (const char* problem = ArgumentsProblem(options))
        return UsageError(kGenCommand, std::string(SolidName(options.solid)) + ": " + problem);
    return WriteReplacing(options);
}

} // namespace

const Command kGenCommand = {
    "gen", "SOLID", kGenOptionTable, "write a block, sphere, cone or cylinder as a DXF mesh",
    "Writes a closed mesh of 3DFACEs to OUT.dxf. OUT is replaced only once the whole\n"
    "file is written. Points are X,Y,Z. The solids, and the faces they make:\n"
    "\n"
    "  block      the axis-aligned box between two opposite corners: 6 faces\n"
    "  sphere     N segments around the z axis, (N+1)/2 from pole to pole:\n"
    "             N*((N+1)/2) faces\n"
    "  cone       radius R1 at FROM, R2 at TO: N*M side faces plus N per end of\n"
    "             nonzero radius\n"
    "  cylinder   N*(M+2) faces\n"
    "\n"
    "Exit status: 0 written, 1 the file could not be written, 2 bad options.\n",
    Generate, "which solid?"};
