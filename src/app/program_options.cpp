#include "program_options.h"

#include "kelvorn_version.h"

#include <algorithm>

namespace {

constexpr const char* kSynopsis = "usage: kelvorn [--flatten] [FILE]\n"
                                  "       kelvorn [--flatten] [--] FILE\n"
                                  "       kelvorn --help | -h\n"
                                  "       kelvorn --version\n";

// The keys are the menu's and the help box's; the mouse is the view's.
constexpr const char* kDescription =
    "\n"
    "Opens a window that draws the 3DFACE entities of the DXF text file FILE as a\n"
    "wireframe, fitted to the window. Without FILE, choose one with \"read meshfile\".\n"
    "Of several files, the first is read; after \"--\" a name may start with '-'.\n"
    "\n"
    "  --flatten               show FILE's drawing as CAD programs show it: blocks\n"
    "                          placed, polyface, polygon and MESH meshes drawn,\n"
    "                          hidden edges left out; binary DXF too\n"
    "\n"
    "keys:\n"
    "  Insert, Delete          turn the model 10 degrees in the x-y plane\n"
    "  Home, End               turn it 10 degrees in the y-z plane\n"
    "  Page Up, Page Down      turn it 10 degrees in the x-z plane\n"
    "  1, 2, 3, 4              standard views, main row or keypad: top (x right,\n"
    "                          y up), front (x right, z up), right side (y right,\n"
    "                          z up), isometric (from (1, -1, 1), z up)\n"
    "  F12                     read the file again: back to the first view\n"
    "  F                       read it again in the other reading: its 3DFACEs, or\n"
    "                          its drawing as with --flatten\n"
    "  Alt+R, Alt+X, Alt+H     the menu: read meshfile, exit, help\n"
    "\n"
    "mouse:\n"
    "  drag                    turn the model: sideways x-z, up and down y-z\n"
    "  Shift+drag              turn it in the x-y plane\n"
    "  middle-drag, Ctrl+drag  move the picture\n"
    "  wheel                   zoom in or out about the cursor\n"
    "  double-click            back to the fitted view, the turn kept\n"
    "  drop a file             read it\n";

// What an option of the table does: answers at once, or is kept as a flag.
enum class OptionKind { Help, Version, Flag };

struct KnownOption {
    std::string_view name;
    OptionKind kind;
};

constexpr KnownOption kKnownOptions[] = {
    {"--help", OptionKind::Help},
    {"-h", OptionKind::Help},
    {"--version", OptionKind::Version},
    {"--flatten", OptionKind::Flag},
};

bool IsOption(std::string_view argument) {
    return argument.size() > 1 && argument[0] == '-';
}

const KnownOption* FindOption(std::string_view name) {
    const auto known = std::find_if(std::begin(kKnownOptions), std::end(kKnownOptions),
                                    [name](const KnownOption& option) { return option.name == name; });
    return known == std::end(kKnownOptions) ? nullptr : known;
}

} // namespace

bool ProgramArguments::has(std::string_view flag) const {
    return std::find(flags.begin(), flags.end(), flag) != flags.end();
}

ProgramArguments ReadProgramArguments(int argc, char** argv) {
    ProgramArguments arguments;
    bool help = false, version = false, options = true;
    const char* unknown = nullptr;
    for (int i = 1; i < argc; ++i) {
        const std::string_view argument = argv[i];
        if (options && argument == "--") {
            options = false;
        } else if (!options || !IsOption(argument)) {
            if (!arguments.file) arguments.file = argv[i];
        } else if (const KnownOption* known = FindOption(argument)) {
            help = help || known->kind == OptionKind::Help;
            version = version || known->kind == OptionKind::Version;
            if (known->kind == OptionKind::Flag) arguments.flags.push_back(known->name);
        } else if (!unknown) {
            unknown = argv[i];
        }
    }
    if (help) {
        arguments.answer = std::string(kSynopsis) + kDescription;
    } else if (version) {
        arguments.answer = std::string("kelvorn ") + kKelvornVersion + "\n";
    } else if (unknown) {
        arguments.refused = true;
        arguments.answer = std::string("kelvorn: unknown option '") + unknown +
                           "' (a file whose name starts with '-' goes after \"--\")\n" + kSynopsis;
    }
    return arguments;
}

int PrintProgramAnswer(std::FILE* out, const std::string& answer) {
    const bool written = std::fputs(answer.c_str(), out) >= 0;
    return written && std::fflush(out) == 0 ? 0 : 1;
}

int AnswerProgramArguments(const ProgramArguments& arguments) {
    const int status = PrintProgramAnswer(arguments.refused ? stderr : stdout, arguments.answer);
    return arguments.refused ? 2 : status;
}
