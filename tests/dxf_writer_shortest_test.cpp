// The writer's exact coordinates: the shortest text that reads back as the same double.
#include "meshfile/writer/dxf_writer.h"
#include "support/read_back.h"
#include "support/temp_files.h"

#include <gtest/gtest.h>

#include <bit>
#include <cerrno>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <limits>
#include <random>
#include <string>
#include <vector>

namespace {

// The twelve value lines of the only face of `text`.
std::vector<std::string> CoordinateLines(const std::string& text) {
    std::vector<std::string> lines;
    std::size_t at = text.find("3DFACE\r\n8\r\n0\r\n") + 14;
    for (int i = 0; i < 12; ++i) {
        const std::size_t value = text.find("\r\n", at) + 2, end = text.find("\r\n", value);
        lines.push_back(text.substr(value, end - value));
        at = end + 2;
    }
    return lines;
}

TEST(DxfWriterShortest, WritesTheShortestTextThatReadsBack) {
    std::string bytes;
    DXF dxf(MemorySink(bytes));
    dxf.setCoordinates(DxfCoordinates::Shortest);
    dxf.face({0.1, -0.0, 1e300}, {0.1 + 0.2, 12345.6789, -2}, {5e-324, 1e-7, 100}, {123456789012345678.0, 0.5, 1});
    ASSERT_TRUE(dxf.close());
    const std::vector<std::string> want = {"0.1", "-0",  "1e+300", "0.30000000000000004", "12345.6789", "-2",
                                           "5e-324", "1e-07", "100", "123456789012345680", "0.5", "1"};
    EXPECT_EQ(CoordinateLines(bytes), want);
    // Header, layer, line ends and trailer are the writer's usual ones.
    EXPECT_EQ(bytes.substr(0, 46), "0\r\nSECTION\r\n2\r\nENTITIES\r\n0\r\n3DFACE\r\n8\r\n0\r\n10\r\n");
    EXPECT_EQ(bytes.substr(bytes.size() - 21), "\r\n0\r\nENDSEC\r\n0\r\nEOF\r\n");
}

TEST(DxfWriterShortest, FixedThreeDecimalsStayTheDefault) {
    std::string bytes;
    DXF dxf(MemorySink(bytes));
    dxf.face({0.1, -0.0, 2}, {0, 0, 0}, {0, 0, 0});
    ASSERT_TRUE(dxf.close());
    EXPECT_EQ(CoordinateLines(bytes)[0], "0.100");
    EXPECT_EQ(CoordinateLines(bytes)[1], "-0.000");
}

TEST(DxfWriterShortest, EveryBitComesBackThroughTheReader) {
    std::mt19937_64 random(16);
    std::vector<Face> faces;
    const auto any = [&] {
        // Random bit patterns of finite doubles, plus decimals of a few digits as drawings hold them.
        for (;;) {
            const double v = (random() & 1) ? std::bit_cast<double>(random())
                                            : static_cast<double>(static_cast<std::int64_t>(random() % 2000001) - 1000000) / 1000;
            if (std::isfinite(v)) return v;
        }
    };
    for (int i = 0; i < 2000; ++i)
        faces.push_back({{any(), any(), any()}, {any(), any(), any()}, {any(), any(), any()}, {any(), any(), any()}});
    faces.push_back({{-0.0, std::numeric_limits<double>::max(), std::numeric_limits<double>::denorm_min()},
                     {std::numeric_limits<double>::lowest(), std::numeric_limits<double>::min(), 0}, {}, {}});
    TempDir dir;
    const auto path = dir.path() / "exact.dxf";
    DXF dxf(path.string().c_str());
    dxf.setCoordinates(DxfCoordinates::Shortest);
    for (const Face& f : faces) dxf.face(f.A, f.B, f.C, f.D);
    ASSERT_TRUE(dxf.close());
    const std::vector<Face> back = ReadFacesBack(path);
    ASSERT_EQ(back.size(), faces.size());
    EXPECT_EQ(std::memcmp(back.data(), faces.data(), faces.size() * sizeof(Face)), 0);
}

// Faces written in one batch, formatted on two threads, are the bytes of
// face() for each in turn, in both formats; a coordinate too long for a line
// deep in a batch stops it where face() would stop.
TEST(DxfWriterBatch, SameBytesAsOneFaceAtATime) {
    std::mt19937_64 random(8);
    std::uniform_real_distribution<double> any(-1e5, 1e5);
    std::vector<Face> faces(50000);
    for (Face& f : faces)
        for (xyz* p : {&f.A, &f.B, &f.C, &f.D}) *p = {any(random), any(random), std::round(any(random))};
    for (const DxfCoordinates format : {DxfCoordinates::Shortest, DxfCoordinates::Fixed3}) {
        // Rounds of 16384 faces, the writer's own 4096 first. A face too long
        // nowhere; in the second thread's part of the first round; in the
        // writer's own part of the second; last in the second thread's part of
        // the last round; in the faces after the rounds.
        for (const std::size_t tooLong : {std::size_t{0}, std::size_t{8192 + 5000}, std::size_t{16384 + 7},
                                          std::size_t{49151}, std::size_t{49152 + 100}}) {
            if (tooLong) faces[tooLong].C.y = 1e300;
            std::string one, batch;
            DXF single(MemorySink(one)), many(MemorySink(batch));
            single.setCoordinates(format);
            many.setCoordinates(format);
            for (const Face& f : faces) single.face(f.A, f.B, f.C, f.D);
            many.faces(faces.data(), faces.size());
            EXPECT_EQ(many.faces(), single.faces());
            EXPECT_EQ(many.close(), single.close());
            EXPECT_EQ(many.error(), single.error());
            EXPECT_EQ(batch.size(), one.size());
            EXPECT_TRUE(batch == one) << "format " << static_cast<int>(format) << ", too long " << tooLong;
            if (tooLong) faces[tooLong].C.y = 0;
        }
    }
}

// A sink that takes blocks until `limit` bytes have come, then fails.
struct FailingSink {
    std::string taken;
    std::size_t limit;

    static int Write(void* context, const char* bytes, std::size_t size) {
        auto& sink = *static_cast<FailingSink*>(context);
        if (sink.taken.size() + size > sink.limit) return EIO;
        sink.taken.append(bytes, size);
        return 0;
    }
};

// A write that fails deep in a batch, while the second thread formats the
// next round, leaves what face() by face() would write, cut short, and the
// failure.
TEST(DxfWriterBatch, FailedWriteLeavesABeginningOfTheFile) {
    std::mt19937_64 random(9);
    std::uniform_real_distribution<double> any(-1e3, 1e3);
    std::vector<Face> faces(60000);
    for (Face& f : faces)
        for (xyz* p : {&f.A, &f.B, &f.C, &f.D}) *p = {any(random), any(random), any(random)};
    std::string whole;
    DXF single(MemorySink(whole));
    single.setCoordinates(DxfCoordinates::Shortest);
    for (const Face& f : faces) single.face(f.A, f.B, f.C, f.D);
    ASSERT_TRUE(single.close());
    for (const std::size_t limit : {std::size_t{1} << 20, std::size_t{3} << 20, std::size_t{7} << 20}) {
        FailingSink batch{{}, limit};
        DXF many(ByteSink{FailingSink::Write, &batch});
        many.setCoordinates(DxfCoordinates::Shortest);
        many.faces(faces.data(), faces.size());
        EXPECT_FALSE(many.close());
        EXPECT_EQ(many.error(), EIO);
        EXPECT_LT(batch.taken.size(), whole.size());
        EXPECT_TRUE(whole.starts_with(batch.taken)) << "limit " << limit;
    }
}

} // namespace

// Edges a face hides go out as its group 70, after the corners, only where
// there are any: a face that hides none is the very bytes it always was.
TEST(DxfWriterHiddenEdges, Group70FollowsTheCornersOnlyWhenAnEdgeIsHidden) {
    const Face square{{0, 0, 0}, {1, 0, 0}, {1, 1, 0}, {0, 1, 0}};
    const Face faces[] = {square, square, square, square};
    const unsigned char hidden[] = {12, 0, 1, 15 | 16};
    std::string text;
    DXF dxf(MemorySink(text));
    dxf.setCoordinates(DxfCoordinates::Shortest);
    dxf.faces(faces, hidden, 4);
    ASSERT_TRUE(dxf.close());
    const std::string entity = "0\r\n3DFACE\r\n8\r\n0\r\n10\r\n0\r\n20\r\n0\r\n30\r\n0\r\n"
                               "11\r\n1\r\n21\r\n0\r\n31\r\n0\r\n12\r\n1\r\n22\r\n1\r\n32\r\n0\r\n"
                               "13\r\n0\r\n23\r\n1\r\n33\r\n0\r\n";
    EXPECT_EQ(text, "0\r\nSECTION\r\n2\r\nENTITIES\r\n" + entity + "70\r\n12\r\n" + entity + entity + "70\r\n1\r\n" +
                        entity + "70\r\n15\r\n0\r\nENDSEC\r\n0\r\nEOF\r\n");
}

TEST(DxfWriterHiddenEdges, BatchesWriteTheBytesOfOneFaceAtATime) {
    std::mt19937_64 random(9);
    std::uniform_real_distribution<double> any(-1e5, 1e5);
    std::vector<Face> faces(50000); // past three rounds of the writer's two threads
    std::vector<unsigned char> hidden(faces.size()), none(faces.size());
    for (std::size_t i = 0; i < faces.size(); ++i) {
        for (xyz* p : {&faces[i].A, &faces[i].B, &faces[i].C, &faces[i].D}) *p = {any(random), any(random), 0};
        hidden[i] = static_cast<unsigned char>(random() % 3 == 0 ? random() % 16 : 0);
    }
    std::string one, batch, plain, zeros;
    DXF single(MemorySink(one)), many(MemorySink(batch)), without(MemorySink(plain)), allZero(MemorySink(zeros));
    for (std::size_t i = 0; i < faces.size(); ++i) single.faces(&faces[i], &hidden[i], 1);
    many.faces(faces.data(), hidden.data(), faces.size());
    without.faces(faces.data(), faces.size());
    allZero.faces(faces.data(), none.data(), faces.size());
    for (DXF* dxf : {&single, &many, &without, &allZero}) ASSERT_TRUE(dxf->close());
    EXPECT_TRUE(batch == one);
    EXPECT_TRUE(zeros == plain);
    EXPECT_EQ(batch.size() - plain.size(), [&] {
        std::size_t extra = 0;
        for (unsigned char bits : hidden) extra += bits == 0 ? 0 : bits < 10 ? 7 : 8;
        return extra;
    }());
}
