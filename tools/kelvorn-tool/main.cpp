// kelvorn-tool: the command-line companion of the Kelvorn viewer.
#include "commands.h"

#include "kelvorn_version.h"

#include <cstdio>
#include <cstring>

namespace {

constexpr const Command* kCommands[] = {
    &kFacesCommand, &kInfoCommand, &kGenCommand, &kRenderCommand, &kSegmentsCommand, &kFlattenCommand,
};

void PrintHelp(std::FILE* out) {
    std::fprintf(out, "usage: kelvorn-tool COMMAND [ARGS]\n"
                      "       kelvorn-tool COMMAND --help\n"
                      "       kelvorn-tool --version\n\ncommands:\n");
    PrintCommandList(kCommands, out);
}

} // namespace

int main(int argc, char** argv) {
    if (argc < 2) {
        PrintHelp(stderr);
        return 2;
    }
    if (IsHelp(argv[1])) {
        PrintHelp(stdout);
        return std::fflush(stdout) == 0 ? 0 : 1;
    }
    if (std::strcmp(argv[1], "--version") == 0) {
        std::printf("kelvorn-tool %s\n", kKelvornVersion);
        return std::fflush(stdout) == 0 ? 0 : 1;
    }
    for (const Command* command : kCommands)
        if (std::strcmp(argv[1], command->name) == 0) return RunCommand(*command, argc - 2, argv + 2);
    std::fprintf(stderr, "kelvorn-tool: unknown command '%s' (see kelvorn-tool --help)\n", argv[1]);
    return 2;
}
