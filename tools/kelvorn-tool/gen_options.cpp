#include "gen_options.h"

#include <charconv>
#include <cstring>
#include <string_view>

namespace {

constexpr const char* kSolidNames[] = {"block", "sphere", "cone", "cylinder"};
constexpr const char* kSeeHelp = " (see kelvorn-tool gen --help)";

unsigned Bit(Solid solid) { return 1u << static_cast<unsigned>(solid); }

// Whole-text numbers in the C locale's notation, whatever the user's locale.
bool ParseNumber(std::string_view text, double& value) {
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    return error == std::errc() && end == text.data() + text.size() && !text.empty();
}

bool ParseCount(std::string_view text, int& value) {
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    return error == std::errc() && end == text.data() + text.size() && !text.empty();
}

bool ParsePoint(std::string_view text, xyz& point) {
    const auto first = text.find(','), second = text.find(',', first + 1);
    if (first == std::string_view::npos || second == std::string_view::npos) return false;
    return ParseNumber(text.substr(0, first), point.x) &&
           ParseNumber(text.substr(first + 1, second - first - 1), point.y) &&
           ParseNumber(text.substr(second + 1), point.z);
}

using Text = std::string_view;

struct Option {
    const char* name;
    unsigned solids; // the solids that take it, as a mask of Bit(solid)
    const char* what;
    bool (*set)(GenOptions& options, std::string_view value);
};

const unsigned kRound = Bit(Solid::Cone) | Bit(Solid::Cylinder);
const Option kOptions[] = {
    {"--min", Bit(Solid::Block), "X,Y,Z", [](GenOptions& o, Text v) { return ParsePoint(v, o.min); }},
    {"--max", Bit(Solid::Block), "X,Y,Z", [](GenOptions& o, Text v) { return ParsePoint(v, o.max); }},
    {"--center", Bit(Solid::Sphere), "X,Y,Z",
     [](GenOptions& o, Text v) { return ParsePoint(v, o.center); }},
    {"--radius", Bit(Solid::Sphere) | Bit(Solid::Cylinder), "a number",
     [](GenOptions& o, Text v) { return ParseNumber(v, o.radius); }},
    {"--segments", Bit(Solid::Sphere), "a whole number",
     [](GenOptions& o, Text v) { return ParseCount(v, o.segments); }},
    {"--from", kRound, "X,Y,Z", [](GenOptions& o, Text v) { return ParsePoint(v, o.from); }},
    {"--to", kRound, "X,Y,Z", [](GenOptions& o, Text v) { return ParsePoint(v, o.to); }},
    {"--radius1", Bit(Solid::Cone), "a number",
     [](GenOptions& o, Text v) { return ParseNumber(v, o.radius1); }},
    {"--radius2", Bit(Solid::Cone), "a number",
     [](GenOptions& o, Text v) { return ParseNumber(v, o.radius2); }},
    {"--around", kRound, "a whole number",
     [](GenOptions& o, Text v) { return ParseCount(v, o.around); }},
    {"--along", kRound, "a whole number",
     [](GenOptions& o, Text v) { return ParseCount(v, o.along); }},
};

bool IsHelp(std::string_view argument) { return argument == "--help" || argument == "-h"; }

bool ParseSolid(std::string_view name, Solid& solid) {
    for (unsigned i = 0; i < std::size(kSolidNames); ++i)
        if (name == kSolidNames[i]) {
            solid = static_cast<Solid>(i);
            return true;
        }
    return false;
}

// One option and its value: argv[i] is "--name", "--name=VALUE" or "-o"; the
// value is argv[i + 1] unless given after '='. Advances i past what it used.
bool ParseOption(int argc, char** argv, int& i, GenOptions& options, std::string& error) {
    std::string_view name = argv[i];
    std::string_view value;
    const auto equals = name.find('=');
    const bool inline_value = name.starts_with("--") && equals != std::string_view::npos;
    if (inline_value) {
        value = name.substr(equals + 1);
        name = name.substr(0, equals);
    } else if (i + 1 < argc) {
        value = argv[i + 1];
    } else {
        error = std::string(name) + " needs a value";
        return false;
    }
    i += inline_value ? 1 : 2;
    if (name == "-o" || name == "--output") {
        options.output = value;
        if (value.empty()) error = std::string(name) + " needs a file name";
        return !value.empty();
    }
    const std::string quoted = "'" + std::string(name) + "'";
    for (const Option& option : kOptions) {
        if (name != option.name) continue;
        if (!(option.solids & Bit(options.solid))) {
            error = "option " + quoted + " does not apply to " + SolidName(options.solid) + kSeeHelp;
            return false;
        }
        if (option.set(options, value)) return true;
        error = std::string(name) + ": '" + std::string(value) + "' is not " + option.what;
        return false;
    }
    error = "unknown option " + quoted + kSeeHelp;
    return false;
}

} // namespace

const char* SolidName(Solid solid) { return kSolidNames[static_cast<unsigned>(solid)]; }

bool ParseGenOptions(int argc, char** argv, GenOptions& options, std::string& error) {
    for (int i = 0; i < argc; ++i)
        if (IsHelp(argv[i])) return options.help = true;
    if (argc < 1) {
        error = std::string("which solid?") + kSeeHelp;
        return false;
    }
    if (!ParseSolid(argv[0], options.solid)) {
        error = std::string("unknown solid '") + argv[0] + "' (block, sphere, cone or cylinder)";
        return false;
    }
    for (int i = 1; i < argc;)
        if (!ParseOption(argc, argv, i, options, error)) return false;
    if (options.output.empty()) {
        error = "missing -o OUT, the file to write";
        return false;
    }
    return true;
}

void PrintGenHelp(std::FILE* out) {
    std::fputs("usage: kelvorn-tool gen SOLID [OPTIONS] -o OUT.dxf\n"
               "\n"
               "Writes a closed mesh of 3DFACEs to OUT.dxf. OUT is replaced only once the whole\n"
               "file is written. Points are X,Y,Z.\n"
               "\n"
               "  block      --min X,Y,Z (-1,-1,-1)  --max X,Y,Z (1,1,1)\n"
               "             the axis-aligned box between two opposite corners: 6 faces\n"
               "  sphere     --center X,Y,Z (0,0,0)  --radius R (1)  --segments N (16)\n"
               "             N segments around the z axis, (N+1)/2 from pole to pole: N*((N+1)/2) faces\n"
               "  cone       --from X,Y,Z (0,0,0)  --to X,Y,Z (0,0,2)  --radius1 R1 (1)  --radius2 R2 (0)\n"
               "             --around N (16)  --along M (1)\n"
               "             radius R1 at FROM, R2 at TO (0 makes an apex): N*M side faces plus\n"
               "             N per end of nonzero radius\n"
               "  cylinder   --from X,Y,Z (0,0,0)  --to X,Y,Z (0,0,2)  --radius R (1)\n"
               "             --around N (16)  --along M (1): N*(M+2) faces\n"
               "\n"
               "Exit status: 0 written, 1 the file could not be written, 2 bad options.\n",
               out);
}
