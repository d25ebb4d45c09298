#include "meshfile/writer/dxf_writer.h"
#include "support/read_back.h"
#include "support/temp_files.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <clocale>
#include <cmath>
#include <filesystem>
#include <random>
#include <string>
#include <vector>

namespace {

constexpr const char* kEmptyFile = "0\nSECTION\n2\nENTITIES\n0\nENDSEC\n0\nEOF\n";

class DxfWriter : public ::testing::Test {
protected:
    std::string path(const char* name = "out.dxf") const { return (dir.path() / name).string(); }
    std::string written(const char* name = "out.dxf") const { return ReadWholeFile(dir.path() / name); }
    std::vector<Face> readBack() const { return ReadFacesBack(path()); }

    TempDir dir;
};

void ExpectCorners(const Face& face, const xyz& a, const xyz& b, const xyz& c, const xyz& d) {
    const xyz got[] = {face.A, face.B, face.C, face.D}, want[] = {a, b, c, d};
    for (int i = 0; i < 4; ++i) {
        EXPECT_EQ(got[i].x, want[i].x) << "corner " << i;
        EXPECT_EQ(got[i].y, want[i].y) << "corner " << i;
        EXPECT_EQ(got[i].z, want[i].z) << "corner " << i;
    }
}

// The value lines of the twelve corner codes of the first 3DFACE in `text`.
std::vector<std::string> FirstFaceCoordinates(const std::string& text) {
    std::vector<std::string> values;
    auto at = text.find("3DFACE\r\n8\r\n0\r\n");
    if (at == std::string::npos) return values;
    at += 14;
    for (int i = 0; i < 12; ++i) {
        const auto code_end = text.find("\r\n", at);
        const auto value_end = text.find("\r\n", code_end + 2);
        values.push_back(text.substr(code_end + 2, value_end - code_end - 2));
        at = value_end + 2;
    }
    return values;
}

const xyz kRing[] = {{0, 0, 0}, {1, 0, 0}, {2, 1, 0}, {1, 2, 0.5}, {0, 1, -0.5}};

TEST_F(DxfWriter, EmptyFileIsHeaderAndTrailerInEightCrLfLines) {
    {
        DXF dxf(path().c_str());
        EXPECT_TRUE(dxf.ok());
    }
    EXPECT_EQ(written(), WithCrLf(kEmptyFile));
}

TEST_F(DxfWriter, UnitSquareIsOneEntityWithThreeDecimalCoordinates) {
    {
        DXF dxf(path().c_str());
        dxf.face(xyz(0, 0, 0), xyz(1, 0, 0), xyz(1, 1, 0), xyz(0, 1, 0));
    }
    const std::vector<std::string> expected = {"0.000", "0.000", "0.000", "1.000", "0.000", "0.000",
                                               "1.000", "1.000", "0.000", "0.000", "1.000", "0.000"};
    EXPECT_EQ(FirstFaceCoordinates(written()), expected);
}

TEST_F(DxfWriter, WritesTheExactBytesOfAQuadAndATriangle) {
    {
        DXF dxf(path().c_str());
        dxf.face(xyz(0.5, -2, 12345.6789), xyz(1, 0.0005, -0.0001), xyz(-1.25, 7, 0), xyz(3, 2, 1));
        dxf.face(xyz(1, 2, 3), xyz(4, 5, 6), xyz(7, 8, 9));
        EXPECT_EQ(dxf.faces(), 2);
        EXPECT_TRUE(dxf.close());
    }
    const char* expected = "0\nSECTION\n2\nENTITIES\n"
                           "0\n3DFACE\n8\n0\n10\n0.500\n20\n-2.000\n30\n12345.679\n"
                           "11\n1.000\n21\n0.001\n31\n-0.000\n12\n-1.250\n22\n7.000\n32\n0.000\n"
                           "13\n3.000\n23\n2.000\n33\n1.000\n"
                           "0\n3DFACE\n8\n0\n10\n1.000\n20\n2.000\n30\n3.000\n"
                           "11\n4.000\n21\n5.000\n31\n6.000\n12\n7.000\n22\n8.000\n32\n9.000\n"
                           "13\n7.000\n23\n8.000\n33\n9.000\n"
                           "0\nENDSEC\n0\nEOF\n";
    EXPECT_EQ(written(), WithCrLf(expected));
}

TEST_F(DxfWriter, CoordinatesUseThePointInACommaLocale) {
    const char* comma_locales[] = {"de_DE.UTF-8", "de_DE.utf8", "fr_FR.UTF-8", "de_DE", "nl_NL.UTF-8",
                                   "German_Germany.1252"}; // the last one is the Windows name
    const char* chosen = nullptr;
    for (const char* name : comma_locales)
        if (std::setlocale(LC_ALL, name)) {
            chosen = name;
            break;
        }
    if (!chosen) GTEST_SKIP() << "no locale with a decimal comma is installed (tried de_DE.UTF-8 and others)";
    const std::string decimal_point = std::localeconv()->decimal_point;
    {
        DXF dxf(path().c_str());
        dxf.face(xyz(0.5, -1.25, 3), xyz(0, 0, 0), xyz(1, 1, 1), xyz(2.5, 2, 2));
    }
    std::setlocale(LC_ALL, "C");
    ASSERT_EQ(decimal_point, ",") << chosen << " does not use a decimal comma";
    EXPECT_EQ(FirstFaceCoordinates(written()).front(), "0.500") << "in locale " << chosen;
    EXPECT_EQ(written().find(','), std::string::npos);
}

TEST_F(DxfWriter, PolygonOfThreeIsOneTriangleRepeatingTheThirdCorner) {
    DXF(path().c_str()).face(kRing, 3);
    const auto faces = readBack();
    ASSERT_EQ(faces.size(), 1u);
    ExpectCorners(faces[0], kRing[0], kRing[1], kRing[2], kRing[2]);
}

TEST_F(DxfWriter, PolygonOfFourIsOneQuadrilateral) {
    DXF(path().c_str()).face(kRing, 4);
    const auto faces = readBack();
    ASSERT_EQ(faces.size(), 1u);
    ExpectCorners(faces[0], kRing[0], kRing[1], kRing[2], kRing[3]);
}

TEST_F(DxfWriter, PolygonOfFiveIsAFanOfThreeTrianglesFromTheFirstPoint) {
    DXF(path().c_str()).face(kRing, 5);
    const auto faces = readBack();
    ASSERT_EQ(faces.size(), 3u);
    ExpectCorners(faces[0], kRing[0], kRing[1], kRing[2], kRing[2]);
    ExpectCorners(faces[1], kRing[0], kRing[2], kRing[3], kRing[3]);
    ExpectCorners(faces[2], kRing[0], kRing[3], kRing[4], kRing[4]);
}

TEST_F(DxfWriter, PolygonBelowThreePointsWritesNothing) {
    {
        DXF dxf(path().c_str());
        dxf.face(kRing, 2);
        dxf.face(kRing, 0);
        dxf.face(kRing, -3);
        EXPECT_EQ(dxf.faces(), 0);
    }
    EXPECT_EQ(written(), WithCrLf(kEmptyFile));
}

TEST_F(DxfWriter, ConeFanEndsWithTheTriangleClosingTheRing) {
    const xyz apex(0.5, 0.5, 3);
    DXF(path().c_str()).face(kRing, 3, apex);
    const auto faces = readBack();
    ASSERT_EQ(faces.size(), 3u);
    ExpectCorners(faces[0], apex, kRing[0], kRing[1], kRing[1]);
    ExpectCorners(faces[1], apex, kRing[1], kRing[2], kRing[2]);
    ExpectCorners(faces[2], apex, kRing[2], kRing[0], kRing[0]);
}

TEST_F(DxfWriter, ConeFanOfOnePointIsOneDegenerateTriangle) {
    const xyz apex(1, 1, 1);
    DXF(path().c_str()).face(kRing, 1, apex);
    const auto faces = readBack();
    ASSERT_EQ(faces.size(), 1u);
    ExpectCorners(faces[0], apex, kRing[0], kRing[0], kRing[0]);
}

TEST_F(DxfWriter, BandWritesTheClosingQuadrilateralFirst) {
    const xyz top[] = {{0, 0, 1}, {1, 0, 1}, {0, 1, 1}};
    DXF(path().c_str()).seg(kRing, top, 3);
    const auto faces = readBack();
    ASSERT_EQ(faces.size(), 3u);
    ExpectCorners(faces[0], kRing[0], kRing[2], top[2], top[0]);
    ExpectCorners(faces[1], kRing[1], kRing[0], top[0], top[1]);
    ExpectCorners(faces[2], kRing[2], kRing[1], top[1], top[2]);
}

TEST_F(DxfWriter, ConeFanAndBandOfNoPointsWriteNothing) {
    {
        DXF dxf(path().c_str());
        dxf.face(nullptr, 0, xyz(1, 2, 3));
        dxf.face(nullptr, -1, xyz(1, 2, 3));
        dxf.seg(nullptr, nullptr, 0);
        dxf.seg(nullptr, nullptr, -5);
    }
    EXPECT_EQ(written(), WithCrLf(kEmptyFile));
}

TEST_F(DxfWriter, ReadsBackFaceByFaceInWriteOrderWithinHalfAThousandth) {
    std::mt19937_64 random(7);
    std::uniform_real_distribution<double> coordinate(-5000, 5000);
    std::vector<Face> faces(3000); // well past one 64 KiB buffer
    for (Face& f : faces)
        for (xyz* p : {&f.A, &f.B, &f.C, &f.D})
            *p = xyz(coordinate(random), coordinate(random), coordinate(random));
    {
        DXF dxf(path().c_str());
        for (const Face& f : faces) dxf.face(f.A, f.B, f.C, f.D);
        ASSERT_TRUE(dxf.close());
    }
    const auto back = readBack();
    ASSERT_EQ(back.size(), faces.size());
    for (std::size_t i = 0; i < faces.size(); ++i) {
        const xyz* want = &faces[i].A;
        const xyz* got = &back[i].A;
        for (int c = 0; c < 4; ++c) {
            ASSERT_LE(std::fabs(got[c].x - want[c].x), 0.0005) << "face " << i << " corner " << c;
            ASSERT_LE(std::fabs(got[c].y - want[c].y), 0.0005) << "face " << i << " corner " << c;
            ASSERT_LE(std::fabs(got[c].z - want[c].z), 0.0005) << "face " << i << " corner " << c;
        }
    }
}

TEST_F(DxfWriter, EveryLineEndsWithCrLf) {
    {
        DXF dxf(path().c_str());
        dxf.face(kRing, 5);
    }
    const std::string text = written();
    for (std::size_t i = 0; i < text.size(); ++i)
        if (text[i] == '\n') {
            ASSERT_TRUE(i > 0 && text[i - 1] == '\r') << "bare line feed at byte " << i;
        }
    EXPECT_EQ(text.back(), '\n');
}

TEST_F(DxfWriter, FileThatCannotBeCreatedIsReportedAndNothingIsWritten) {
    const std::string missing = (dir.path() / "no-such-dir" / "out.dxf").string();
    DXF dxf(missing.c_str());
    dxf.face(kRing, 5);
    EXPECT_FALSE(dxf.ok());
    EXPECT_EQ(dxf.error(), ENOENT);
    EXPECT_EQ(dxf.faces(), 0);
    EXPECT_FALSE(dxf.close());
    EXPECT_FALSE(std::filesystem::exists(missing));
}

TEST_F(DxfWriter, FullDiskMakesCloseFail) {
    if (!std::filesystem::exists("/dev/full")) GTEST_SKIP() << "/dev/full is not available here";
    DXF dxf("/dev/full");
    for (int i = 0; i < 1000; ++i) dxf.face(kRing, 5);
    EXPECT_FALSE(dxf.close());
    EXPECT_EQ(dxf.error(), ENOSPC);
}

TEST_F(DxfWriter, SmallFileOnFullDiskFailsAtCloseToo) {
    if (!std::filesystem::exists("/dev/full")) GTEST_SKIP() << "/dev/full is not available here";
    DXF dxf("/dev/full");
    EXPECT_TRUE(dxf.ok()); // nothing has reached the disk yet
    EXPECT_FALSE(dxf.close());
    EXPECT_EQ(dxf.error(), ENOSPC);
}

TEST_F(DxfWriter, CloseFinishesTheFileOnceAndDestructionAddsNothing) {
    {
        DXF dxf(path().c_str());
        EXPECT_TRUE(dxf.close());
        EXPECT_TRUE(dxf.close());
    }
    EXPECT_EQ(written(), WithCrLf(kEmptyFile));
}

TEST_F(DxfWriter, CoordinateTooLongForOneLineIsRefusedAndTheFileStaysReadable) {
    // 9.99e248 prints as 249 digits and ".000": 253 characters, the most a
    // value line may hold. 2e249 needs 254 and would split into two lines.
    const xyz largest(9.99e248, 0, 0), too_large(2e249, 0, 0), origin(0, 0, 0);
    DXF dxf(path().c_str());
    dxf.face(largest, origin, origin, origin);
    EXPECT_TRUE(dxf.ok());
    dxf.face(origin, too_large, origin, origin);
    EXPECT_EQ(dxf.error(), ERANGE);
    EXPECT_EQ(dxf.faces(), 1);
    EXPECT_FALSE(dxf.close());
    const auto back = readBack();
    ASSERT_EQ(back.size(), 1u);
    EXPECT_EQ(back[0].A.x, 9.99e248);
}

TEST_F(DxfWriter, FaceAfterCloseIsDroppedAndReported) {
    DXF dxf(path().c_str());
    ASSERT_TRUE(dxf.close());
    dxf.face(kRing, 4);
    EXPECT_FALSE(dxf.ok());
    EXPECT_EQ(dxf.faces(), 0);
    EXPECT_EQ(written(), WithCrLf(kEmptyFile));
}

} // namespace

namespace {

// A sink that takes `room` bytes in all and then fails with ENOSPC, counting its calls.
struct ShortSink {
    std::string taken;
    std::size_t room = 0;
    int calls = 0;

    static int Write(void* context, const char* bytes, std::size_t size) {
        auto& sink = *static_cast<ShortSink*>(context);
        ++sink.calls;
        if (sink.taken.size() + size > sink.room) return ENOSPC;
        sink.taken.append(bytes, size);
        return 0;
    }
};

TEST_F(DxfWriter, StringAndFileGetTheSameBytes) {
    std::mt19937_64 random(11);
    std::uniform_real_distribution<double> coordinate(-1e6, 1e6);
    auto write = [&](DXF& dxf) {
        random.seed(11);
        for (int i = 0; i < 2000; ++i) // several buffers' worth
            dxf.face(xyz(coordinate(random), coordinate(random), 0), xyz(coordinate(random), 1, 2),
                     xyz(-0.0005, 1e200, coordinate(random)));
        dxf.sphere(xyz(1, 2, 3), 4, 12);
        return dxf.close();
    };
    std::string memory;
    DXF to_memory(MemorySink(memory));
    DXF to_file(path().c_str());
    ASSERT_TRUE(write(to_memory));
    ASSERT_TRUE(write(to_file));
    EXPECT_EQ(to_memory.faces(), to_file.faces());
    EXPECT_GT(memory.size(), std::size_t{1} << 17);
    EXPECT_TRUE(memory == written()) << "the string and the file differ";
}

TEST_F(DxfWriter, EmptyStringWriterHoldsHeaderAndTrailer) {
    std::string memory;
    DXF dxf(MemorySink(memory));
    EXPECT_TRUE(memory.empty()); // nothing is handed over before a buffer fills or the file ends
    EXPECT_TRUE(dxf.close());
    EXPECT_EQ(memory, WithCrLf(kEmptyFile));
}

TEST_F(DxfWriter, FailingSinkGetsNothingMoreAndCloseGivesItsReason) {
    ShortSink sink;
    sink.room = 100000;
    {
        DXF dxf(ByteSink{ShortSink::Write, &sink});
        for (int i = 0; i < 2000; ++i) dxf.face(kRing, 4);
        EXPECT_EQ(dxf.error(), ENOSPC);
        const int calls = sink.calls;
        dxf.face(kRing, 4);
        EXPECT_FALSE(dxf.close());
        EXPECT_EQ(dxf.error(), ENOSPC);
        EXPECT_EQ(sink.calls, calls) << "a failed sink was written to again";
    }
    EXPECT_LE(sink.taken.size(), sink.room);
    EXPECT_EQ(sink.taken.compare(0, 20, WithCrLf(kEmptyFile).substr(0, 20)), 0); // the header went out first
}

TEST_F(DxfWriter, SinkWithoutWriteFunctionIsRefused) {
    DXF dxf(ByteSink{});
    dxf.face(kRing, 4);
    EXPECT_EQ(dxf.error(), EINVAL);
    EXPECT_EQ(dxf.faces(), 0);
    EXPECT_FALSE(dxf.close());
}

} // namespace
