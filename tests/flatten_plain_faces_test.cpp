// The plain 3DFACE runs read straight from the bytes (plain_faces.h) against
// the general group reader, which reads a small file through its window:
// every file, mutated at random, must give the same faces bit for bit, the
// same counts and the same refusal, with the runs read on one thread or two.
#include "support/dxf_pairs.h"
#include "support/flatten_run.h"
#include "support/temp_files.h"

#include "meshfile/flatten/plain_faces.h"
#include "tuning.h"

#include <gtest/gtest.h>

#include <atomic>
#include <cstdint>
#include <cstring>
#include <random>
#include <string>
#include <vector>

namespace {

// Faces of the writer's layout, with coordinates of every kind of text; one
// in three hides edges (group 70), written in one of the ways CAD programs do.
std::string PlainFaces(int count, std::mt19937& random) {
    static const char* const kValues[] = {"0", "-0", "1.5", "-12.345", "100000", "0.000001", "1e3", "7"};
    static const char* const kHiddenEdges[] = {"0", "1", "     6", "15", "+8", "-1", "20"};
    std::string pairs;
    for (int f = 0; f < count; ++f) {
        pairs += "0 3DFACE\n8 0\n";
        for (const int code : {10, 20, 30, 11, 21, 31, 12, 22, 32, 13, 23, 33})
            pairs += std::to_string(code) + " " + kValues[random() % 8] + "\n";
        if (random() % 3 == 0) pairs += std::string("70") + " " + kHiddenEdges[random() % 7] + "\n";
    }
    return pairs;
}

// Model space before or after the block that it inserts, so that the middle of
// the file falls among the faces of either.
std::string Drawing(bool entitiesFirst, std::mt19937& random) {
    const std::string entities = "0 SECTION\n2 ENTITIES\n" + PlainFaces(30, random) + "0 INSERT\n2 B\n10 5\n" +
                                 PlainFaces(30, random) + "0 ENDSEC\n";
    const std::string blocks = "0 SECTION\n2 BLOCKS\n0 BLOCK\n2 B\n10 0\n20 0\n30 0\n" + PlainFaces(40, random) +
                               "0 ENDBLK\n0 ENDSEC\n";
    return DxfText(entitiesFirst ? entities + blocks + "0 EOF\n" : blocks + entities + "0 EOF\n");
}

// One random change at the start of a random line, or a cut: what makes an
// entity plain or not, and what makes a file unreadable.
std::string Mutated(std::string bytes, std::mt19937& random) {
    static const char* const kInserts[] = {" ", "\t", "\r", "0", "67\n1\n", "67\n0\n", "5\nAB\n", "x",
                                           "1e", "+", "-", "\n", ".", "99999\n", "10\n1e400\n", "70\n5\n"};
    std::size_t at = random() % bytes.size();
    at = bytes.rfind('\n', at) == std::string::npos ? 0 : bytes.rfind('\n', at) + 1;
    switch (random() % 4) {
    case 0: return bytes.substr(0, at + random() % 8);
    case 1: return bytes.erase(at, bytes.find('\n', at) - at + 1);
    case 2: return bytes.insert(at, "\r\n"); // an empty value or code line
    default: return bytes.insert(at, kInserts[random() % std::size(kInserts)]);
    }
}

FlattenRun ReadThroughWindow(const TempDir& dir, const std::string& bytes) {
    FlattenRun run;
    FlatDrawing drawing;
    run.ok = drawing.readFile(dir.write("drawing.dxf", bytes).c_str(), {}, run.error);
    if (run.ok) TakeFaces(drawing, run);
    return run;
}

void ExpectSameRun(const FlattenRun& got, const FlattenRun& want, const std::string& bytes) {
    ASSERT_EQ(got.ok, want.ok) << bytes;
    ASSERT_EQ(got.error, want.error) << bytes;
    EXPECT_EQ(got.report.facesFrom, want.report.facesFrom) << bytes;
    EXPECT_EQ(got.report.unconverted, want.report.unconverted) << bytes;
    ASSERT_EQ(got.faces.size(), want.faces.size()) << bytes;
    if (!want.faces.empty()) {
        EXPECT_EQ(std::memcmp(got.faces.data(), want.faces.data(), want.faces.size() * sizeof(Face)), 0) << bytes;
    }
    EXPECT_EQ(got.hiddenEdges, want.hiddenEdges) << bytes;
}

class PlainFacesInTwoFrom {
public:
    explicit PlainFacesInTwoFrom(std::size_t bytes) : saved_(g_tuning.readInTwoFrom) { g_tuning.readInTwoFrom = bytes; }
    ~PlainFacesInTwoFrom() { g_tuning.readInTwoFrom = saved_; }

private:
    std::size_t saved_;
};

// The middle of a file of CR LF entities at every byte of one of them, its
// line ends included: the runs read on two threads as on one.
TEST(FlattenPlainFaces, MiddleAtEveryByteOfACrLfEntityReadsAsOnOneThread) {
    std::mt19937 random(5);
    const std::string faces = WithCrLf(DxfText(PlainFaces(8, random)));
    for (std::size_t pad = 0; pad < faces.size() / 4; ++pad) {
        const std::string bytes = faces + WithCrLf(DxfText("999 " + std::string(pad, 'c') + "\n0 EOF\n"));
        FlattenRun one, two;
        {
            const PlainFacesInTwoFrom oneThread(static_cast<std::size_t>(-1));
            one = FlattenBytes(bytes);
        }
        {
            const PlainFacesInTwoFrom twoThreads(0);
            two = FlattenBytes(bytes);
        }
        ASSERT_TRUE(one.ok) << one.error;
        EXPECT_EQ(one.faces.size(), 8u);
        ExpectSameRun(two, one, bytes);
    }
}

TEST(FlattenPlainFaces, MutatedFilesReadAsTheGroupReaderReadsThem) {
    TempDir dir;
    std::mt19937 random(29);
    for (int i = 0; i < 1500; ++i) {
        std::string bytes = Drawing(i % 2 == 0, random);
        if (i % 3 == 0) bytes = WithCrLf(bytes);
        for (int changes = 1 + i % 3; changes > 0; --changes) bytes = Mutated(bytes, random);
        const FlattenRun window = ReadThroughWindow(dir, bytes);
        {
            const PlainFacesInTwoFrom oneThread(SIZE_MAX);
            ExpectSameRun(FlattenBytes(bytes), window, bytes);
        }
        const PlainFacesInTwoFrom twoThreads(0);
        ExpectSameRun(FlattenBytes(bytes), window, bytes);
        if (HasFatalFailure()) return;
    }
}

TEST(FlattenPlainFaces, RunStopsBeforeTheFirstEntityNotTaken) {
    const std::string face = "0 3DFACE\n8 0\n10 1\n20 2\n30 3\n11 -4.5\n21 0\n31 0\n12 0\n22 0\n32 0\n"
                             "13 0.125\n23 0\n33 0\n";
    const std::string first = DxfText(face), faces = first + DxfText(face);
    const std::string bytes = faces + DxfText("0 3DFACE\n67 1\n0 EOF\n");
    std::vector<Face> read;
    std::vector<unsigned char> hidden;
    const PlainFaceRun run = ReadPlainFaces(bytes, 0, std::string::npos, read, hidden);
    EXPECT_EQ(read.size(), 2u);
    EXPECT_EQ(run.end, faces.size());
    EXPECT_EQ(run.lines, 2 * 2 * 14);
    const PlainFaceRun stopped = ReadPlainFaces(bytes, 0, first.size(), read, hidden);
    EXPECT_TRUE(hidden.empty());
    EXPECT_EQ(read.size(), 3u);
    EXPECT_EQ(stopped.lines, 2 * 14);
    EXPECT_EQ(stopped.end, first.size());
}

TEST(FlattenPlainFaces, AbandonedRunStopsWithinAFewThousandFaces) {
    std::string faces;
    for (int f = 0; f < 5000; ++f) faces += "0\n3DFACE\n10\n" + std::to_string(f) + "\n";
    const std::string bytes = faces + "0\nEOF\n";
    std::vector<Face> read;
    std::vector<unsigned char> hidden;
    const std::atomic<bool> abandoned{true}, wanted{false};
    const PlainFaceRun stopped = ReadPlainFaces(bytes, 0, std::string::npos, read, hidden, &abandoned);
    EXPECT_EQ(read.size(), 4096u);
    EXPECT_EQ(stopped.lines, 4096 * 4);
    read.clear();
    EXPECT_EQ(ReadPlainFaces(bytes, 0, std::string::npos, read, hidden, &wanted).end, faces.size());
    ASSERT_EQ(read.size(), 5000u);
    EXPECT_EQ(read[4999].A.x, 4999);
}

TEST(FlattenPlainFaces, EntityCutAfterItsLastCodeIsLeftToTheGroupReader) {
    const std::string bytes = DxfText("0 3DFACE\n10 1\n") + "0\n";
    std::vector<Face> read;
    std::vector<unsigned char> hidden;
    EXPECT_EQ(ReadPlainFaces(bytes, 0, std::string::npos, read, hidden).end, 0u);
    EXPECT_TRUE(read.empty());
    EXPECT_EQ(FlattenBytes(bytes).error, "line 5: the file ends after a group code, before its value");
}

} // namespace

TEST(FlattenPlainFaces, HiddenEdgesOfEitherHalfOfALargeFileLandOnTheirFaces) {
    // Edges hidden only in the first half, only in the second, in both, and
    // group 70 values the run leaves to the group reader.
    const auto file = [](int hidingFrom, int hidingTo, const char* value) {
        std::string pairs = "0 SECTION\n2 ENTITIES\n";
        for (int f = 0; f < 2000; ++f)
            pairs += "0 3DFACE\n10 " + std::to_string(f) + "\n" +
                     (f >= hidingFrom && f < hidingTo && f % 7 == 0 ? std::string("70 ") + value + "\n" : "");
        return DxfText(pairs + "0 ENDSEC\n0 EOF\n");
    };
    const PlainFacesInTwoFrom twoThreads(0);
    for (const auto& [from, to] : {std::pair{0, 1000}, {1000, 2000}, {0, 2000}, {1990, 2000}}) {
        for (const char* value : {"12", " 3", "0x5", "2.0"}) {
            const std::string bytes = file(from, to, value);
            const FlattenRun run = FlattenBytes(bytes);
            std::vector<unsigned char> want(2000);
            const bool integer = value == std::string("12") || value == std::string(" 3");
            for (int f = from; f < to; ++f)
                if (f % 7 == 0) want[static_cast<std::size_t>(f)] = value[1] == '3' ? 3 : 12;
            if (!integer) { // those faces left out, each with its place
                ASSERT_TRUE(run.ok) << run.error;
                const long long hiding = (to - 1) / 7 - (from + 6) / 7 + 1;
                EXPECT_EQ(run.report.leftOut.count(), hiding) << value;
                EXPECT_EQ(static_cast<long long>(run.faces.size()), 2000 - hiding) << value;
                continue;
            }
            ASSERT_TRUE(run.ok) << run.error;
            EXPECT_EQ(run.hiddenEdges, want) << from << ".." << to;
            EXPECT_EQ(run.faces[1999].A.x, 1999);
        }
    }
}
