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

bool ParseKeysOption(const char* command, const Arguments& arguments, std::vector<KeyStroke>& strokes) {
    const auto keys = arguments.options.find("--keys");
    if (keys == arguments.options.end()) return true;
    std::string error;
    if (ParseKeyStrokes(keys->second, strokes, error)) return true;
    std::fprintf(stderr, "kelvorn-tool %s: --keys: %s\n", command, error.c_str());
    return false;
}

// Loads the file and turns it as the key strokes would; false (reported) when the file cannot be read.
bool LoadAndTurn(const char* path, const std::vector<KeyStroke>& strokes) {
    if (!LoadMeshOrReport(path)) return false;
    for (const KeyStroke& stroke : strokes) RotateMesh(stroke.key, stroke.rep);
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

} // namespace

int RenderCommand(int argc, char** argv) {
    constexpr const char* kUsage = "usage: kelvorn-tool render FILE -o OUT.png|OUT.svg [--size WxH] [--keys KEYS]\n";
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
    std::vector<KeyStroke> strokes;
    if (!ParseKeysOption("render", arguments, strokes)) return 2;
    if (!LoadAndTurn(arguments.positional[0], strokes)) return 1;
    return WritePicture(arguments.options["-o"], width, height);
}

int SegmentsCommand(int argc, char** argv) {
    Arguments arguments;
    if (!SplitArguments("segments", argc, argv, {"--keys"}, arguments)) return 2;
    int width = 0, height = 0;
    if (arguments.positional.size() != 3 || !ParseInt(arguments.positional[0], 0, INT_MAX, width) ||
        !ParseInt(arguments.positional[1], 0, INT_MAX, height)) {
        std::fputs("usage: kelvorn-tool segments W H FILE [--keys KEYS]   (W and H: client size, 0 or more)\n",
                   stderr);
        return 2;
    }
    std::vector<KeyStroke> strokes;
    if (!ParseKeysOption("segments", arguments, strokes)) return 2;
    if (!LoadAndTurn(arguments.positional[2], strokes)) return 1;
    std::vector<Segment> segments;
    PaintClientArea(width, height, nullptr, &segments);
    for (const Segment& s : segments) std::printf("%d %d %d %d\n", s.x1, s.y1, s.x2, s.y2);
    return std::fflush(stdout) == 0 ? 0 : 1;
}
