#include "gen_options.h"

#include "meshfile/writer/dxf_solids.h"

#include "whole_number.h"

#include <climits>
#include <string>
#include <string_view>

namespace {

constexpr const char* kSolidNames[] = {"block", "sphere", "cone", "cylinder"};
constexpr const char* kSeeHelp = " (see kelvorn-tool gen --help)";

// Each count alone as far as its solid's face count allows with the other
// at its least; together they are checked by the solid itself.
constexpr int kMaxAround = INT_MAX / 3, kMaxAlong = INT_MAX / 3 - 2;

constexpr Option kOptions[] = {
    {"-o", "OUT.dxf", "the file to write", true, "--output"},
    {"--min", "X,Y,Z", "block: one corner (-1,-1,-1)"},
    {"--max", "X,Y,Z", "block: the opposite corner (1,1,1)"},
    {"--center", "X,Y,Z", "sphere: its centre (0,0,0)"},
    {"--radius", "R", "sphere, cylinder: the radius (1)"},
    {"--segments", "N", "sphere: segments around the z axis (16)"},
    {"--from", "X,Y,Z", "cone, cylinder: the centre of one end (0,0,0)"},
    {"--to", "X,Y,Z", "cone, cylinder: the centre of the other end (0,0,2)"},
    {"--radius1", "R1", "cone: the radius at --from (1)"},
    {"--radius2", "R2", "cone: the radius at --to; 0 makes an apex (0)"},
    {"--around", "N", "cone, cylinder: segments around the axis (16)"},
    {"--along", "M", "cone, cylinder: segments along the axis (1)"},
};

unsigned Bit(Solid solid) {
    return 1u << static_cast<unsigned>(solid);
}

bool ParsePoint(std::string_view text, xyz& point) {
    const auto first = text.find(','), second = text.find(',', first + 1);
    if (first == std::string_view::npos || second == std::string_view::npos) return false;
    return ParseWholeDouble(text.substr(0, first), point.x) &&
           ParseWholeDouble(text.substr(first + 1, second - first - 1), point.y) &&
           ParseWholeDouble(text.substr(second + 1), point.z);
}

bool ParseSolid(std::string_view name, Solid& solid) {
    for (unsigned i = 0; i < std::size(kSolidNames); ++i)
        if (name == kSolidNames[i]) {
            solid = static_cast<Solid>(i);
            return true;
        }
    return false;
}

// Reads the options of the solid chosen: each reader call takes the value of
// one option, if given, for the solids in its mask, and stops at the first
// problem with the reason in `error`.
struct OptionReader {
    const Arguments& arguments;
    Solid solid;
    std::string& error;

    template <class Value, class Parse>
    bool read(const char* name, unsigned solids, const char* what, Value& value, Parse parse) {
        const char* text = arguments.value(name);
        if (!text) return true;
        if (!(solids & Bit(solid)))
            error = std::string("option '") + name + "' does not apply to " + SolidName(solid) + kSeeHelp;
        else if (!parse(text, value))
            error = std::string(name) + ": '" + text + "' is not " + what;
        return error.empty();
    }
    bool point(const char* name, unsigned solids, xyz& value) {
        return read(name, solids, "X,Y,Z", value, ParsePoint);
    }
    bool number(const char* name, unsigned solids, double& value) {
        return read(name, solids, "a number", value, ParseWholeDouble);
    }
    bool count(const char* name, unsigned solids, int& value, int low, int high) {
        const std::string what = "a whole number from " + std::to_string(low) + " to " + std::to_string(high);
        return read(name, solids, what.c_str(), value,
                    [=](std::string_view t, int& v) { return ParseWholeInt(t, v, low, high); });
    }
};

} // namespace

const std::span<const Option> kGenOptionTable = kOptions;

const char* SolidName(Solid solid) {
    return kSolidNames[static_cast<unsigned>(solid)];
}

bool ReadGenOptions(const Arguments& arguments, GenOptions& o, std::string& error) {
    if (!ParseSolid(arguments.operands[0], o.solid)) {
        error =
            std::string("unknown solid '") + arguments.operands[0] + "' (block, sphere, cone or cylinder)";
        return false;
    }
    o.output = arguments.value("-o");
    if (o.output.empty()) {
        error = "-o needs a file name";
        return false;
    }
    const unsigned block = Bit(Solid::Block), sphere = Bit(Solid::Sphere), cone = Bit(Solid::Cone),
                   round = cone | Bit(Solid::Cylinder);
    OptionReader read{arguments, o.solid, error};
    return read.point("--min", block, o.min) && read.point("--max", block, o.max) &&
           read.point("--center", sphere, o.center) &&
           read.number("--radius", sphere | Bit(Solid::Cylinder), o.radius) &&
           read.count("--segments", sphere, o.segments, 3, kMaxSphereSegments) &&
           read.point("--from", round, o.from) &&
           read.point("--to", round, o.to) && read.number("--radius1", cone, o.radius1) &&
           read.number("--radius2", cone, o.radius2) && read.count("--around", round, o.around, 3, kMaxAround) &&
           read.count("--along", round, o.along, 1, kMaxAlong);
}
