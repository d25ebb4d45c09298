// The "render" and "segments" commands: what the viewer paints for a file
// in a client area of a given size after given key strokes and mouse steps,
// headless.
#include "commands.h"
#include "load_mesh.h"
#include "output_file.h"
#include "picture_files.h"

#include "kelvorn.h"
#include "view/key_strokes.h"
#include "view/view.h"
#include "whole_number.h"

#include <climits>
#include <cstdio>
#include <string>
#include <string_view>
#include <vector>

namespace {

constexpr int kMaxPictureSide = 8192;

// "WxH" with each side from 1 to kMaxPictureSide.
bool ParseSize(std::string_view text, int& width, int& height) {
    const std::size_t x = text.find('x');
    return x != std::string_view::npos && ParseWholeInt(text.substr(0, x), width, 1, kMaxPictureSide) &&
           ParseWholeInt(text.substr(x + 1), height, 1, kMaxPictureSide);
}

bool ParseKeysOption(const Command& command, const Arguments& arguments, std::vector<ViewStep>& steps) {
    const char* keys = arguments.value("--keys");
    std::string error;
    if (!keys || ParseViewSteps(keys, steps, error)) return true;
    UsageError(command, "--keys: " + error);
    return false;
}

// Loads the file and does the steps in a width × height client area, as the
// viewer would; false (reported) when the file cannot be read. A file with
// nothing to draw is reported too, and painted (white).
bool LoadAndStep(const char* path, const Arguments& arguments, const std::vector<ViewStep>& steps, int width,
                 int height) {
    MeshLoad load = MeshLoadOf(arguments);
    if (!LoadMeshOrReport(path, load)) return false;
    if (nf == 0) ReportNothingToDraw(path, load);
    Rect client{0, 0, width, height};
    for (const ViewStep& step : steps) DoViewStep(step, client);
    return true;
}

// One paint of a width × height client area: erased white, then the mesh.
void PaintClientArea(int width, int height, Image* image, std::vector<Segment>* segments) {
    const Rect client{0, 0, width, height};
    if (image) {
        PaintMeshImage(*image, client);
        return;
    }
    DrawContext dc(nullptr, segments);
    DrawMesh(dc, client);
}

int WritePicture(const char* out, PictureFormat format, int width, int height) {
    std::string bytes, error;
    if (format == PictureFormat::Svg) {
        std::vector<Segment> segments;
        PaintClientArea(width, height, nullptr, &segments);
        bytes = SvgText(width, height, segments);
    } else {
        Image image;
        PaintClientArea(width, height, &image, nullptr);
        if (!EncodeRasterPicture(image, format, bytes, error)) {
            std::fprintf(stderr, "kelvorn-tool: cannot write %s: %s\n", out, error.c_str());
            return 1;
        }
    }
    return WriteFileReplacing(out, bytes, format == PictureFormat::Svg);
}

int Render(const Arguments& arguments) {
    int width = 800, height = 600;
    const char* size = arguments.value("--size");
    if (size && !ParseSize(size, width, height))
        return UsageError(kRenderCommand, "bad --size '" + std::string(size) +
                                              "' (want WxH, each from 1 to " +
                                              std::to_string(kMaxPictureSide) + ")");
    const char* out = arguments.value("-o");
    const PictureFormat format = PictureFormatOf(out);
    if (format == PictureFormat::Unknown)
        return UsageError(kRenderCommand, "cannot tell the picture format of '" + std::string(out) +
                                              "': name a file ending in " + kPictureExtensions + " (any case)");
    std::vector<ViewStep> steps;
    if (!ParseKeysOption(kRenderCommand, arguments, steps)) return 2;
    if (!LoadAndStep(arguments.operands[0], arguments, steps, width, height)) return 1;
    return WritePicture(out, format, width, height);
}

// A side of the segments' client area, W or H: from 0 on; refused as a usage error.
bool ParseSide(const char* text, const char* name, int& side) {
    if (ParseWholeInt(text, side, 0)) return true;
    UsageError(kSegmentsCommand, std::string("bad ") + name + " '" + text + "' (want a whole number from 0 to " +
                                     std::to_string(INT_MAX) + ")");
    return false;
}

int PrintSegments(const Arguments& arguments) {
    int width = 0, height = 0;
    if (!ParseSide(arguments.operands[0], "W", width) || !ParseSide(arguments.operands[1], "H", height)) return 2;
    std::vector<ViewStep> steps;
    if (!ParseKeysOption(kSegmentsCommand, arguments, steps)) return 2;
    if (!LoadAndStep(arguments.operands[2], arguments, steps, width, height)) return 1;
    std::vector<Segment> segments;
    PaintClientArea(width, height, nullptr, &segments);
    for (const Segment& s : segments) std::printf("%d %d %d %d\n", s.x1, s.y1, s.x2, s.y2);
    return std::fflush(stdout) == 0 ? 0 : 1;
}

constexpr Option kKeysOption = {"--keys", "KEYS",
                                "first do these comma-separated steps, in order,\n"
                                "as keys and the mouse do in the viewer (below)"};

// A macro, so that both commands' help literals can take it in.
#define KELVORN_STEPS_HELP                                                              \
    "KEYS, the steps, each as in the viewer:\n"                                          \
    "  pgup, pgdn (x-z plane), home, end (y-z), ins, del (x-y): a key, with an\n"        \
    "      optional *N to turn N x 10 degrees at once (N from -32768 to 32767);\n"     \
    "  top, front, right, iso: the keys 1 to 4, the standard views: top (x right,\n" \
    "      y up), front (x right, z up), right side (y right, z up), isometric;\n"   \
    "  drag:DX:DY       the cursor moved DX, DY pixels (right, down) with the left\n"   \
    "      button held: a turn, 180 degrees across the client area's smaller side;\n"  \
    "  shiftdrag:DX:DY  the same with Shift held: DX turns in the x-y plane;\n"         \
    "  pan:DX:DY        the same with the middle button (or Ctrl) held: a pan;\n"       \
    "  wheel:DELTA:X:Y  the wheel turned by DELTA (120 a notch; positive: away from\n"  \
    "      you, zoom in by 1.25) with the cursor on client pixel X, Y;\n"              \
    "  dblclick         a double-click of the left button: back to the fitted view;\n" \
    "  size:WxH         the window resized: later steps measure in W x H pixels.\n"     \
    "Example: --keys pgdn,drag:40:-25,wheel:240:300:200,pan:-30:10\n"

constexpr Option kRenderOptions[] = {
    {"-o", "OUT", "the picture, in the format its extension names in\nany case: .png, .jpg or .jpeg, .bmp, .ppm, or .svg\n(the lines as SVG)", true,
     "--output"},
    {"--size", "WxH", "the client area in pixels, each side from 1 to 8192\n(800x600)"},
    kKeysOption,
    kFlattenOption,
    kStrictOption,
};

constexpr Option kSegmentsOptions[] = {kKeysOption, kFlattenOption, kStrictOption};

} // namespace

const Command kRenderCommand = {
    "render", "FILE", kRenderOptions, "paint FILE as the viewer does, into a picture file",
    "Paints FILE as the viewer does in a client area of WxH pixels after the\n"
    "steps KEYS, and writes the picture to OUT.\n"
    "\n" KELVORN_STEPS_HELP "\n"
    "Exit status: 0 written, 1 FILE not read or OUT not written, 2 bad arguments.\n",
    Render};

const Command kSegmentsCommand = {
    "segments", "W H FILE", kSegmentsOptions, "print the lines that painting FILE in W x H pixels draws",
    "Prints the lines that painting FILE in a client area of W x H pixels (each 0 or\n"
    "more) draws, after the steps KEYS: one \"x1 y1 x2 y2\" per line, in drawing\n"
    "order. Pixel 0 0 is the top-left pixel of the client area: x grows to the\n"
    "right, y downward.\n"
    "\n" KELVORN_STEPS_HELP "\n"
    "Exit status: 0 done, 1 FILE could not be read, 2 bad arguments.\n",
    PrintSegments};
