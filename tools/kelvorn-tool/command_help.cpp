// "kelvorn-tool COMMAND --help", shared by the commands.
#include "commands.h"

#include <cstdio>
#include <cstring>

bool AsksForHelp(int argc, char** argv) {
    for (int i = 0; i < argc; ++i)
        if (std::strcmp(argv[i], "--help") == 0 || std::strcmp(argv[i], "-h") == 0) return true;
    return false;
}

int PrintCommandHelp(const char* usage, std::initializer_list<const char*> paragraphs) {
    std::fputs(usage, stdout);
    for (const char* paragraph : paragraphs)
        std::printf("\n%s", paragraph);
    return std::fflush(stdout) == 0 ? 0 : 1;
}
