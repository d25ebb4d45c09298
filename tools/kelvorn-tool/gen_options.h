// The command line of "kelvorn-tool gen": which solid to write, its
// arguments and the output file.
#pragma once

#include "geometry/xyz.h"

#include <cstdio>
#include <string>

enum class Solid { Block, Sphere, Cone, Cylinder };

// Every argument with its default; each solid reads the ones named after its
// own arguments (see PrintGenHelp).
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
    bool help = false;
};

// Reads the arguments after "gen": SOLID, then options "--name VALUE" (or
// "--name=VALUE") and "-o OUT". Points are written "X,Y,Z". A request for
// help ("--help", "-h") anywhere sets `help` and ends the parse. On a bad
// command line returns false with the reason in `error`.
bool ParseGenOptions(int argc, char** argv, GenOptions& options, std::string& error);

// The name of a solid as the command line spells it.
const char* SolidName(Solid solid);

void PrintGenHelp(std::FILE* out);
