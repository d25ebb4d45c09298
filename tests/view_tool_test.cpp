// kelvorn-tool render and segments, run as the user runs them.
#include "kelvorn.h"
#include "meshfile/reader/mesh_reader.h"
#include "support/temp_files.h"
#include "view/view.h"

#include <QImage>
#include <QString>

#include <gtest/gtest.h>

#include <sys/wait.h>

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <string>

namespace {

const std::string kFixture = std::string(KELVORN_VIEW_TEST_DATA) + "/square_and_triangle.dxf";

struct ToolRun {
    int status = -1;
    std::string out, err;
};

class ViewTool : public ::testing::Test {
protected:
    // Runs kelvorn-tool with `arguments` (shell words) and collects its output.
    ToolRun tool(const std::string& arguments) {
        const std::string errPath = (dir.path() / "stderr.txt").string();
        const std::string command = std::string("'") + KELVORN_TOOL_PATH + "' " + arguments + " 2>'" + errPath + "'";
        ToolRun run;
        std::FILE* pipe = popen(command.c_str(), "r");
        if (!pipe) return run;
        char buffer[4096];
        for (std::size_t n; (n = std::fread(buffer, 1, sizeof buffer, pipe)) > 0;) run.out.append(buffer, n);
        const int status = pclose(pipe);
        run.status = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
        run.err = ReadWholeFile(errPath);
        return run;
    }

    std::string scratch(const char* name) const { return (dir.path() / name).string(); }

    TempDir dir;
};

// The client area the viewer paints for the fixture, computed in process.
Image PaintedFixture(int width, int height) {
    EXPECT_TRUE(ReadMeshFile(kFixture.c_str(), nullptr).ok());
    Image image;
    image.reset(width, height);
    DrawContext dc(&image);
    DrawMesh(dc, Rect{0, 0, width, height});
    ReleaseMeshTable();
    return image;
}

} // namespace

TEST_F(ViewTool, SegmentsOfTheFixtureExactly) {
    // x 0 .. 16 and y 0 .. 5 in 302 × 202: scale min(300 / 16, 200 / 5) = 18.75, Rb = 201.
    const ToolRun run = tool("segments 302 202 '" + kFixture + "'");
    EXPECT_EQ(run.status, 0) << run.err;
    EXPECT_EQ(run.out, "0 201 187 201\n187 201 187 107\n187 108 0 107\n0 108 0 201\n"
                       "187 201 300 201\n300 201 300 182\n300 183 300 182\n300 183 187 201\n");
}

TEST_F(ViewTool, SegmentsAfterHalfATurnAboutYMirrorTheModel) {
    const ToolRun run = tool("segments 302 202 '" + kFixture + "' --keys pgdn*18");
    EXPECT_EQ(run.status, 0) << run.err;
    EXPECT_EQ(run.out, "300 201 112 201\n112 201 112 107\n112 108 300 107\n300 108 300 201\n"
                       "112 201 0 201\n0 201 0 182\n0 183 0 182\n0 183 112 201\n");
}

TEST_F(ViewTool, KeyStrokesApplyInOrder) {
    const ToolRun one = tool("segments 302 202 '" + kFixture + "' --keys del,pgdn*18,home*2");
    const ToolRun other = tool("segments 302 202 --keys del,pgdn*18,home,home '" + kFixture + "'");
    const ToolRun swapped = tool("segments 302 202 '" + kFixture + "' --keys pgdn*18,del,home*2");
    EXPECT_EQ(one.status, 0) << one.err;
    EXPECT_EQ(one.out, other.out);
    EXPECT_NE(one.out, swapped.out);
}

TEST_F(ViewTool, ZeroSizedClientAreaStillListsEveryEdge) {
    const ToolRun run = tool("segments 0 0 '" + kFixture + "'");
    EXPECT_EQ(run.status, 0) << run.err;
    EXPECT_EQ(std::count(run.out.begin(), run.out.end(), '\n'), 8);
}

TEST_F(ViewTool, FileWithoutFacesDrawsNothing) {
    const std::string empty = dir.write("empty.dxf", "0\nSECTION\n2\nENTITIES\n0\nENDSEC\n0\nEOF\n");
    const ToolRun run = tool("segments 100 100 '" + empty + "'");
    EXPECT_EQ(run.status, 0) << run.err;
    EXPECT_EQ(run.out, "");
}

TEST_F(ViewTool, RenderPngIsThePaintedClientArea) {
    const std::string png = scratch("fixture.png");
    const ToolRun run = tool("render '" + kFixture + "' -o '" + png + "' --size 302x202");
    ASSERT_EQ(run.status, 0) << run.err;
    const QImage picture(QString::fromStdString(png));
    ASSERT_EQ(picture.width(), 302);
    ASSERT_EQ(picture.height(), 202);
    const Image expected = PaintedFixture(302, 202);
    for (int y = 0; y < 202; ++y)
        for (int x = 0; x < 302; ++x)
            ASSERT_EQ(picture.pixel(x, y), expected.at(x, y)) << x << ", " << y;
    // Corners of the outline and the ends left out by LineTo.
    EXPECT_EQ(picture.pixel(0, 201), 0xFF000000u);
    EXPECT_EQ(picture.pixel(0, 108), 0xFF000000u);
    EXPECT_EQ(picture.pixel(187, 107), 0xFFFFFFFFu); // end of B→C, start of C→D is one row lower
    EXPECT_EQ(picture.pixel(187, 108), 0xFF000000u);
    EXPECT_EQ(picture.pixel(300, 201), 0xFF000000u);
    EXPECT_EQ(picture.pixel(300, 182), 0xFFFFFFFFu);
    EXPECT_EQ(picture.pixel(300, 183), 0xFF000000u);
    EXPECT_EQ(picture.pixel(301, 201), 0xFFFFFFFFu);
    EXPECT_EQ(picture.pixel(0, 0), 0xFFFFFFFFu);
}

TEST_F(ViewTool, RenderDefaultsTo800By600) {
    const std::string png = scratch("default.png");
    ASSERT_EQ(tool("render '" + kFixture + "' -o '" + png + "'").status, 0);
    const QImage picture(QString::fromStdString(png));
    EXPECT_EQ(picture.width(), 800);
    EXPECT_EQ(picture.height(), 600);
}

TEST_F(ViewTool, RenderSvgHasOneLinePerSegment) {
    const std::string svg = scratch("fixture.SVG");
    ASSERT_EQ(tool("render '" + kFixture + "' -o '" + svg + "' --size 302x202").status, 0);
    const std::string text = ReadWholeFile(svg);
    EXPECT_NE(text.find("width=\"302\" height=\"202\""), std::string::npos);
    EXPECT_NE(text.find("shape-rendering=\"crispEdges\""), std::string::npos);
    EXPECT_NE(text.find("<rect width=\"302\" height=\"202\" fill=\"white\"/>"), std::string::npos);
    EXPECT_NE(text.find("<line x1=\"187\" y1=\"108\" x2=\"0\" y2=\"107\"/>\n<line x1=\"0\" y1=\"108\""),
              std::string::npos);
    std::size_t lines = 0;
    for (std::size_t at = text.find("<line "); at != std::string::npos; at = text.find("<line ", at + 1)) ++lines;
    EXPECT_EQ(lines, 8u);
    EXPECT_EQ(text.substr(text.size() - 12), "</g>\n</svg>\n");
}

TEST_F(ViewTool, BadKeysAreAUsageError) {
    for (const char* keys : {"pgdn,left", "del*", "del*x", "del*40000", "home,,end"}) {
        const ToolRun run = tool("segments 10 10 '" + kFixture + "' --keys '" + keys + "'");
        EXPECT_EQ(run.status, 2) << keys;
        EXPECT_NE(run.err.find("--keys"), std::string::npos) << run.err;
        EXPECT_EQ(run.out, "");
    }
    EXPECT_EQ(tool("render '" + kFixture + "' -o '" + scratch("k.png") + "' --keys up").status, 2);
}

TEST_F(ViewTool, WheelZoomsAboutThePixelAndDoubleClickGoesBackToTheFit) {
    const std::string fitted = tool("segments 302 202 '" + kFixture + "'").out;
    // Two notches at the outline's bottom-left corner: the corner stays, the rest grows by 1.5625.
    const ToolRun zoomed = tool("segments 302 202 '" + kFixture + "' --keys wheel:240:0:201");
    EXPECT_EQ(zoomed.status, 0) << zoomed.err;
    EXPECT_EQ(zoomed.out.substr(0, zoomed.out.find('\n')), "0 201 292 201"); // 187.5 · 1.5625, truncated
    const ToolRun back = tool("segments 302 202 '" + kFixture + "' --keys wheel:240:0:201,pan:9:-4,dblclick,drag:0:0");
    EXPECT_EQ(back.out, fitted);
}

TEST_F(ViewTool, SizeStepMeasuresLaterDragsInTheNewClientArea) {
    // 180 degrees across the smaller side: 200 pixels in 302 × 202, 100 in 102 × 402.
    const ToolRun wide = tool("segments 302 202 '" + kFixture + "' --keys drag:202:0");
    const ToolRun narrow = tool("segments 302 202 '" + kFixture + "' --keys size:102x402,drag:102:0");
    const ToolRun keys = tool("segments 302 202 '" + kFixture + "' --keys pgdn*18");
    EXPECT_EQ(wide.status, 0) << wide.err;
    EXPECT_EQ(wide.out, keys.out);
    EXPECT_EQ(narrow.out, keys.out);
}

TEST_F(ViewTool, BadMouseStepsAreAUsageErrorNamingTheStep) {
    for (const char* keys : {"drag:1", "wheel:120:5", "pan:a:b", "size:10", "dblclick:1"}) {
        const ToolRun run = tool("segments 10 10 '" + kFixture + "' --keys '" + keys + "'");
        EXPECT_EQ(run.status, 2) << keys;
        EXPECT_NE(run.err.find(std::string("'") + keys + "'"), std::string::npos) << run.err;
        EXPECT_EQ(run.out, "");
    }
}

TEST_F(ViewTool, BadSizeIsAUsageError) {
    for (const char* size : {"0x10", "10", "axb", "10x", "9000x10", "-5x5", "10x10x"})
        EXPECT_EQ(tool("render '" + kFixture + "' -o '" + scratch("s.png") + "' --size '" + size + "'").status, 2)
            << size;
    EXPECT_EQ(tool("segments -1 10 '" + kFixture + "'").status, 2);
    EXPECT_EQ(tool("segments 10 '" + kFixture + "'").status, 2);
}

TEST_F(ViewTool, MissingOutputOrUnknownOptionIsAUsageError) {
    EXPECT_EQ(tool("render '" + kFixture + "'").status, 2);
    EXPECT_EQ(tool("render '" + kFixture + "' -o").status, 2);
    EXPECT_EQ(tool("render '" + kFixture + "' -o x.png --zoom 2").status, 2);
}

TEST_F(ViewTool, UnreadableFileIsOneLineNamingIt) {
    const std::string missing = scratch("missing.dxf");
    for (const std::string& arguments :
         {"segments 10 10 '" + missing + "'", "render '" + missing + "' -o '" + scratch("m.png") + "'"}) {
        const ToolRun run = tool(arguments);
        EXPECT_EQ(run.status, 1);
        EXPECT_NE(run.err.find(missing), std::string::npos) << run.err;
        EXPECT_EQ(std::count(run.err.begin(), run.err.end(), '\n'), 1);
    }
}

TEST_F(ViewTool, UnwritableOutputIsReported) {
    const ToolRun run = tool("render '" + kFixture + "' -o '" + scratch("no/such/dir/out.svg") + "'");
    EXPECT_EQ(run.status, 1);
    EXPECT_NE(run.err.find("out.svg"), std::string::npos);
}

namespace {

// The first bytes of a file.
std::string Head(const std::string& path, std::size_t n) { return ReadWholeFile(path).substr(0, n); }

TEST_F(ViewTool, RenderWritesTheFormatTheExtensionNamesInAnyCase) {
    const struct {
        const char* name;
        std::string magic;
    } pictures[] = {{"a.png", "\x89PNG"}, {"b.JPG", "\xFF\xD8\xFF"}, {"c.jpeg", "\xFF\xD8\xFF"},
                    {"d.Bmp", "BM"},      {"e.PPM", "P6\n"},         {"f.svg", "<?xml"}};
    const Image expected = PaintedFixture(62, 42);
    for (const auto& picture : pictures) {
        const std::string path = scratch(picture.name);
        const ToolRun run = tool("render '" + kFixture + "' -o '" + path + "' --size 62x42");
        ASSERT_EQ(run.status, 0) << picture.name << ": " << run.err;
        EXPECT_EQ(Head(path, picture.magic.size()), picture.magic) << picture.name;
        if (picture.magic == "<?xml" || picture.magic == "\xFF\xD8\xFF") continue; // lines; lossy
        const QImage image(QString::fromStdString(path));
        ASSERT_EQ(image.size(), QSize(62, 42)) << picture.name;
        for (int y = 0; y < 42; ++y)
            for (int x = 0; x < 62; ++x) ASSERT_EQ(image.pixel(x, y), expected.at(x, y)) << picture.name;
    }
}

TEST_F(ViewTool, JpegKeepsTheLinesBlackOnWhite) {
    const std::string path = scratch("fixture.jpg");
    ASSERT_EQ(tool("render '" + kFixture + "' -o '" + path + "' --size 302x202").status, 0);
    const QImage image(QString::fromStdString(path));
    ASSERT_EQ(image.size(), QSize(302, 202));
    const Image expected = PaintedFixture(302, 202);
    int wrong = 0;
    for (int y = 0; y < 202; ++y)
        for (int x = 0; x < 302; ++x) wrong += (qGray(image.pixel(x, y)) < 128) != (expected.at(x, y) == 0xFF000000u);
    EXPECT_EQ(wrong, 0);
}

TEST_F(ViewTool, UnknownPictureFormatIsRefusedWithTheKnownOnes) {
    for (const char* name : {"x.gif", "x.png.tmp", "picture", "x.", "x.svgz"}) {
        const ToolRun run = tool("render '" + kFixture + "' -o '" + scratch(name) + "'");
        EXPECT_EQ(run.status, 2) << name;
        EXPECT_NE(run.err.find(".png, .jpg, .jpeg, .bmp, .ppm or .svg"), std::string::npos) << run.err;
        EXPECT_NE(run.err.find(name), std::string::npos) << run.err;
        EXPECT_FALSE(std::filesystem::exists(scratch(name))) << name;
    }
}

} // namespace
