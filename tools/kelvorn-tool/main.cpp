// kelvorn-tool: the command-line companion of the Kelvorn viewer.
#include "commands.h"

#include <cstdio>
#include <cstring>

namespace {

struct Command {
    const char* name;
    const char* usage;
    const char* summary;
    int (*run)(int argc, char** argv);
};

constexpr Command kCommands[] = {
    {"faces", "faces FILE", "print the face table read from FILE, every coordinate exactly", FacesCommand},
    {"info", "info FILE", "print the face count and the x, y and z ranges of FILE", InfoCommand},
    {"gen", "gen SOLID [OPTIONS] -o OUT", "write a block, sphere, cone or cylinder as a DXF mesh", GenCommand},
    {"render", "render FILE -o OUT", "paint FILE as the viewer does into OUT.png (OUT.svg: as lines); options "
                                     "--size WxH (800x600), --keys KEYS (e.g. pgdn,home*2,del)", RenderCommand},
    {"segments", "segments W H FILE", "print the lines that painting a W x H client area draws, \"x1 y1 x2 y2\" "
                                      "each; option --keys KEYS", SegmentsCommand},
};

void PrintHelp(std::FILE* out) {
    std::fprintf(out, "usage: kelvorn-tool COMMAND [ARGS]\n\ncommands:\n");
    for (const Command& command : kCommands) std::fprintf(out, "  %-28s %s\n", command.usage, command.summary);
}

} // namespace

int main(int argc, char** argv) {
    if (argc < 2) {
        PrintHelp(stderr);
        return 2;
    }
    if (std::strcmp(argv[1], "--help") == 0 || std::strcmp(argv[1], "-h") == 0) {
        PrintHelp(stdout);
        return 0;
    }
    for (const Command& command : kCommands)
        if (std::strcmp(argv[1], command.name) == 0) return command.run(argc - 2, argv + 2);
    std::fprintf(stderr, "kelvorn-tool: unknown command '%s' (see kelvorn-tool --help)\n", argv[1]);
    return 2;
}
