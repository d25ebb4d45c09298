// The "gen" command: boxes, spheres, cones and cylinders as DXF meshes.
#include "commands.h"
#include "dxf_output.h"
#include "gen_options.h"

#include "meshfile/writer/dxf_solids.h"
#include "meshfile/writer/dxf_writer.h"

#include <string>

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

int Generate(const Arguments& arguments) {
    GenOptions options;
    std::string error;
    if (!ReadGenOptions(arguments, options, error)) return UsageError(kGenCommand, error);
    if (const char* problem = ArgumentsProblem(options))
        return UsageError(kGenCommand, std::string(SolidName(options.solid)) + ": " + problem);
    return WriteDxfReplacing(options.output, DxfCoordinates::Fixed3, [&](DXF& dxf) {
        WriteSolid(dxf, options);
        return std::string();
    });
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
