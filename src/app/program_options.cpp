#include "program_options.h"

#include "kelvorn_version.h"

#include <cstring>

namespace {

// The keys are the menu's and the help box's; the mouse is the view's.
constexpr const char* kUsage =
    "usage: kelvorn [--flatten] [FILE]\n"
    "       kelvorn --help | -h\n"
    "       kelvorn --version\n"
    "\n"
    "Opens a window that draws the 3DFACE entities of the DXF text file FILE as a\n"
    "wireframe, fitted to the window. Without FILE, choose one with \"read meshfile\".\n"
    "\n"
    "  --flatten               show FILE's drawing as CAD programs show it: blocks\n"
    "                          placed, polyface, polygon and MESH meshes drawn, hidden\n"
    "                          edges left out; binary DXF too\n"
    "\n"
    "keys:\n"
    "  Insert, Delete          turn the model 10 degrees in the x-y plane\n"
    "  Home, End               turn it 10 degrees in the y-z plane\n"
    "  Page Up, Page Down      turn it 10 degrees in the x-z plane\n"
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

bool IsHelpOption(const char* argument) { return std::strcmp(argument, "--help") == 0 || std::strcmp(argument, "-h") == 0; }

} // namespace

std::string ProgramOptionAnswer(int argc, char** argv) {
    if (argc > 1 && std::strcmp(argv[1], "--version") == 0) return std::string("kelvorn ") + kKelvornVersion + "\n";
    if (argc == 2 && IsHelpOption(argv[1])) return kUsage;
    return {};
}

ViewerCommandLine ReadViewerCommandLine(int argc, char** argv) {
    ViewerCommandLine commandLine;
    for (int i = 1; i < argc; ++i) {
        if (std::strcmp(argv[i], "--flatten") == 0)
            commandLine.drawing = true;
        else if (!commandLine.file)
            commandLine.file = argv[i];
    }
    return commandLine;
}

int PrintProgramAnswer(std::FILE* out, const std::string& answer) {
    const bool written = std::fputs(answer.c_str(), out) >= 0;
    return written && std::fflush(out) == 0 ? 0 : 1;
}
