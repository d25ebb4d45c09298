// The "render" and "segments" subcommands: what the viewer paints for a file
// in a client area of a given size after given key strokes, headless.
#include "commands.h"
#include "picture_files.h"

#include "kelvorn.h"
#include "view/key_strokes.h"
#include "view/view.h"

#include <charconv>
#include <climits>
#include <cstdio>
#include <cstring>
#include <map>
#include <string>
#include <string_view>
#include <vector>

namespace {

constexpr int kMaxPictureSide = 8192;

// Arguments split into positional ones and the values of options that take one.
struct Arguments {
    std::vector<const char*> positional;
    std::map<std::string, const char*> options;
};

bool SplitArguments(const char* command, int argc, char** argv, const std::vector<std::string>& known,
                    Arguments& arguments) {
    for (int i = 0; i < argc; ++i) {
        const std::string_view argument = argv[i];
        if (argument.size() < 2 || argument[0] != '-') {
            arguments.positional.push_back(argv[i]);
            continue;
        }
        bool isKnown = false;
        for (const std::string& name : known) isKnown = isKnown || argument == name;
        if (!isKnown || i + 1 == argc) {
            std::fprintf(stderr, "kelvorn-tool %s: %s '%s'\n", command,
                         isKnown ? "missing value after" : "unknown option", argv[i]);
            return false;
        }
        arguments.options[std::string(argument)] = argv[++i];
    }
    return true;
}

bool ParseInt(std::string_view text, int low, int high, int& value) {
    const char* end = text.data() + text.size();
    const auto [stop, failure] = std::from_chars(text.data(), end, value);
    return !text.empty() && failure == std::errc() && stop == end && value >= low && value <= high;
}

// "WxH" with each side from 1 to kMaxPictureSide.
bool ParseSize(std::string_view text, int& width, int& height) {
    const std::size_t x = text.find('x');
    return x != std::string_view::npos && ParseInt(text.substr(0, x), 1, kMaxPictureSide, width) &&
           ParseInt(text.substr(x + 1), 1, kMaxPictureSide, height);
}

bool ParseKeysOption(const char* command, const Arguments& arguments, std::vector<ViewStep>& steps) {
    const auto keys = arguments.options.find("--keys");
    if (keys == arguments.options.end()) return true;
    std::string error;
    if (ParseViewSteps(keys->second, steps, error)) return true;
    std::fprintf(stderr, "kelvorn-tool %s: --keys: %s\n", command, error.c_str());
    return false;
}

// Loads the file and does the steps in a width × height client area, as the
// viewer would; false (reported) when the file cannot be read.
bool LoadAndStep(const char* path, const std::vector<ViewStep>& steps, int width, int height) {
    if (!LoadMeshOrReport(path)) return false;
    Rect client{0, 0, width, height};
    for (const ViewStep& step : steps) DoViewStep(step, client);
    return true;
}

// One paint of a width × height client area: erased white, then the mesh.
void PaintClientArea(int width, int height, Image* image, std::vector<Segment>* segments) {
    if (image) image->reset(width, height, Image::kWhite);
    DrawContext dc(image, segments);
    DrawMesh(dc, Rect{0, 0, width, height});
}

bool EndsWithSvg(std::string_view path) {
    if (path.size() < 4) return false;
    const std::string_view end = path.substr(path.size() - 4);
    return end[0] == '.' && (end[1] | 0x20) == 's' && (end[2] | 0x20) == 'v' && (end[3] | 0x20) == 'g';
}

int WritePicture(const char* out, int width, int height) {
    std::string error;
    bool written;
    if (EndsWithSvg(out)) {
        std::vector<Segment> segments;
        PaintClientArea(width, height, nullptr, &segments);
        written = WriteSvg(width, height, segments, out, error);
    } else {
        Image image;
        PaintClientArea(width, height, &image, nullptr);
        written = WritePng(image, out, error);
    }
    if (written) return 0;
    std::fprintf(stderr, "kelvorn-tool: cannot write %s: %s\n", out, error.c_str());
    return 1;
}

constexpr const char* kKeysHelp =
    "KEYS: comma-separated steps, done in order, as in the viewer:\n"
    "  pgup, pgdn (x-z plane), home, end (y-z), ins, del (x-y): the keys, each\n"
    "    optionally with *N to turn N x 10 degrees in one stroke;\n"
    "  drag:DX:DY       the cursor moved DX, DY pixels (right, down) with the left\n"
    "                   button held: a turn (across the smaller side: 180 degrees);\n"
    "  shiftdrag:DX:DY  the same with Shift held (DX turns in the x-y plane);\n"
    "  pan:DX:DY        the same with the middle button held: the picture follows;\n"
    "  wheel:DELTA:X:Y  the wheel turned by DELTA (120 a notch, positive: away from\n"
    "                   you, zoom in by 1.25) with the cursor on pixel X, Y;\n"
    "  dblclick         double-click of the left button: back to the fitted view;\n"
    "  size:WxH         the window resized: later steps measure in W x H.\n";

} // namespace

int RenderCommand(int argc, char** argv) {
    constexpr const char* kUsage = "usage: kelvorn-tool render FILE -o OUT.png|OUT.svg [--size WxH] [--keys KEYS]\n";
    if (AsksForHelp(argc, argv))
        return PrintCommandHelp(
            kUsage,
            {"Paints FILE as the viewer does in a client area of WxH pixels (800x600 unless\n"
             "--size is given), after the key strokes KEYS, and writes the picture to OUT:\n"
             "a PNG, or its lines as SVG when OUT ends in .svg.\n",
             kKeysHelp, "Exit status: 0 written, 1 FILE not read or OUT not written, 2 bad arguments.\n"});
    Arguments arguments;
    if (!SplitArguments("render", argc, argv, {"-o", "--size", "--keys"}, arguments)) return 2;
    if (arguments.positional.size() != 1 || !arguments.options.count("-o")) {
        std::fputs(kUsage, stderr);
        return 2;
    }
    int width = 800, height = 600;
    const auto size = arguments.options.find("--size");
    if (size != arguments.options.end() && !ParseSize(size->second, width, height)) {
        std::fprintf(stderr, "kelvorn-tool render: bad --size '%s' (want WxH, each from 1 to %d)\n", size->second,
                     kMaxPictureSide);
        return 2;
    }
    std::vector<ViewStep> steps;
    if (!ParseKeysOption("render", arguments, steps)) return 2;
    if (!LoadAndStep(arguments.positional[0], steps, width, height)) return 1;
    return WritePicture(arguments.options["-o"], width, height);
}

int SegmentsCommand(int argc, char** argv) {
    constexpr const char* kUsage =
        "usage: kelvorn-tool segments W H FILE [--keys KEYS]   (W and H: client size, 0 or more)\n";
    if (AsksForHelp(argc, argv))
        return PrintCommandHelp(
            kUsage, {"Prints the lines that painting FILE in a client area of W x H pixels draws,\n"
                     "after the key strokes KEYS: one \"x1 y1 x2 y2\" per line, in drawing order.\n",
                     kKeysHelp, "Exit status: 0 done, 1 FILE could not be read, 2 bad arguments.\n"});
    Arguments arguments;
    if (!SplitArguments("segments", argc, argv, {"--keys"}, arguments)) return 2;
    int width = 0, height = 0;
    if (arguments.positional.size() != 3 || !ParseInt(arguments.positional[0], 0, INT_MAX, width) ||
        !ParseInt(arguments.positional[1], 0, INT_MAX, height)) {
        std::fputs(kUsage, stderr);
        return 2;
    }
    std::vector<ViewStep> steps;
    if (!ParseKeysOption("segments", arguments, steps)) return 2;
    if (!LoadAndStep(arguments.positional[2], steps, width, height)) return 1;
    std::vector<Segment> segments;
    PaintClientArea(width, height, nullptr, &segments);
    for (const Segment& s : segments) std::printf("%d %d %d %d\n", s.x1, s.y1, s.x2, s.y2);
    return std::fflush(stdout) == 0 ? 0 : 1;
}
