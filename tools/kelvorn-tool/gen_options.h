// The command line of "kelvorn-tool gen": which solid to write, its
// arguments and the output file.
#pragma once

#include "command_line.h"

#include "geometry/xyz.h"

#include <string>

enum class Solid { Block, Sphere, Cone, Cylinder };

// Every argument with its default; each solid reads the ones named after its
// own arguments (see the gen command's --help).
struct GenOptions {
    Solid solid = Solid::Block;
    xyz min{-1, -1, -1}, max{1, 1, 1};
    xyz center{0, 0, 0};
    double radius = 1;
    int segments = 16;
    xyz from{0, 0, 0}, to{0, 0, 2};
    double radius1 = 1, radius2 = 0;
    int around = 16, along = 1;
    std::string output;
};

// The options of gen, for its command table: "-o OUT" and those of the solids.
extern const std::span<const Option> kGenOptionTable;

// Reads gen's parsed arguments: the solid, then the options that apply to
// it. Points are written "X,Y,Z". On an unknown solid, an option of another
// solid or a malformed value returns false with the reason in `error`.
bool ReadGenOptions(const Arguments& arguments, GenOptions& options, std::string& error);

// The name of a solid as the command line spells it.
const char* SolidName(Solid solid);
