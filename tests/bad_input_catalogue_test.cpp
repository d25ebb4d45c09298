// Hostile and broken input, case by case: what the model holds afterwards,
// what a paint of it shows, and whether the user is told anything (a failed
// read is reported by the window with DescribeReadError's reason; a file that
// reads, however odd, is shown as read and tells nothing).
// Files that change between the two passes are in mesh_reader_seams_test.cpp.
#include "kelvorn.h"
#include "meshfile/reader/mesh_reader.h"
#include "support/temp_files.h"
#include "view/view.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <cmath>
#include <cstring>
#include <random>
#include <string>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

namespace {

constexpr const char* kOneFace = "0\n3DFACE\n10\n0\n20\n0\n11\n4\n21\n0\n12\n4\n22\n3\n13\n0\n23\n3\n0\nEOF\n";

class BadInput : public ::testing::Test {
protected:
    void SetUp() override {
        ReleaseMeshTable();
        const std::string path = dir.write("good.dxf", kOneFace);
        ASSERT_TRUE(ReadMeshFile(path.c_str(), nullptr).ok()); // the model on screen
    }
    void TearDown() override { ReleaseMeshTable(); }

    ReadStatus load(const std::string& bytes) {
        const std::string path = dir.write("bad.dxf", bytes);
        return ReadMeshFile(path.c_str(), nullptr);
    }

    // Paints the model into an 800 × 600 client area; returns the number of black pixels.
    static long Paint() {
        Image image;
        image.reset(800, 600);
        DrawContext dc(&image);
        DrawMesh(dc, Rect{0, 0, 800, 600});
        long black = 0;
        for (auto pixel : image.pixels) black += pixel == Image::kBlack;
        return black;
    }

    void ExpectOldModelKept() {
        EXPECT_EQ(nf, 1);
        ASSERT_NE(F, nullptr);
        EXPECT_EQ(F[0].C.y, 3.0);
        EXPECT_GT(Paint(), 0);
    }

    TempDir dir;
};

TEST_F(BadInput, BinaryFileWithoutMarkersShowsAnEmptyWindowAndTellsNothing) {
    std::mt19937 random(11);
    std::string bytes(1 << 16, '\0');
    for (char& c : bytes) c = static_cast<char>(random());
    ASSERT_TRUE(load(bytes).ok());
    EXPECT_EQ(nf, 0);
    EXPECT_EQ(Paint(), 0);
}

TEST_F(BadInput, BinaryFileWithMarkersShowsWhatItsPairsSay) {
    std::mt19937 random(12);
    std::string bytes;
    for (int i = 0; i < 200; ++i) {
        bytes += "0\n3DFACE\n";
        for (int k = 0; k < 40; ++k) bytes += static_cast<char>(random());
    }
    ASSERT_TRUE(load(bytes).ok());
    EXPECT_GE(nf, 1);
    Paint();
}

TEST_F(BadInput, FileOfNothingButMarkersShowsItsCountAtTheOriginAndTellsNothing) {
    std::string bytes;
    for (int i = 0; i < 1000; ++i) bytes += "3DFACE\n";
    ASSERT_TRUE(load(bytes).ok());
    ASSERT_EQ(nf, 1000);
    for (int i = 0; i < nf; ++i) ASSERT_EQ(F[i].B.x, 0.0);
    EXPECT_EQ(Paint(), 0); // every edge runs from the origin to itself
}

TEST_F(BadInput, LinesFarLongerThan255CharactersAreReadInPiecesWithoutHarm) {
    const std::string filler(100000, '7');
    ASSERT_TRUE(load("0\n3DFACE\n10\n" + filler + "\n20\n5\n").ok());
    EXPECT_EQ(nf, 1);
    Paint();
}

TEST_F(BadInput, DirectoryKeepsTheModelAndTellsItIsADirectory) {
    const ReadStatus status = ReadMeshFile(dir.path().c_str(), nullptr);
    EXPECT_EQ(status.error, ReadError::CannotOpen);
    EXPECT_EQ(DescribeReadError(status), std::strerror(EISDIR));
    ExpectOldModelKept();
}

TEST_F(BadInput, FifoKeepsTheModelAndTellsItIsNotARegularFileWithoutWaiting) {
    const std::string fifo = (dir.path() / "pipe.dxf").string();
    ASSERT_EQ(mkfifo(fifo.c_str(), 0600), 0);
    const ReadStatus status = ReadMeshFile(fifo.c_str(), nullptr);
    EXPECT_EQ(status.error, ReadError::CannotOpen);
    EXPECT_EQ(DescribeReadError(status), "not a regular file");
    ExpectOldModelKept();
}

TEST_F(BadInput, UnreadableFileKeepsTheModelAndTellsPermissionDenied) {
    const std::string path = dir.write("secret.dxf", kOneFace);
    ASSERT_EQ(chmod(path.c_str(), 0), 0);
    // Root reads any file, so the read runs in a child that drops to "nobody".
    const pid_t child = fork();
    ASSERT_NE(child, -1);
    if (child == 0) {
        if (geteuid() == 0 && (setgid(65534) != 0 || setuid(65534) != 0)) _exit(2);
        const ReadStatus status = ReadMeshFile(path.c_str(), nullptr);
        const bool told = status.systemError == EACCES && DescribeReadError(status) == std::strerror(EACCES);
        _exit(told && nf == 1 && F[0].C.y == 3.0 ? 0 : 1);
    }
    int status = 0;
    ASSERT_EQ(waitpid(child, &status, 0), child);
    ASSERT_TRUE(WIFEXITED(status));
    EXPECT_EQ(WEXITSTATUS(status), 0) << "1: wrong reason or model lost; 2: could not drop root";
}

TEST_F(BadInput, EmptyPathKeepsTheModelAndTellsNoSuchFile) {
    const ReadStatus status = ReadMeshFile("", nullptr);
    EXPECT_EQ(status.systemError, ENOENT);
    ExpectOldModelKept();
}

TEST_F(BadInput, PathsOf256And4096CharactersKeepTheModelAndTellTheyAreTooLong) {
    for (std::size_t length : {256u, 4096u}) {
        const ReadStatus status = ReadMeshFile(std::string(length, 'a').c_str(), nullptr);
        EXPECT_EQ(status.error, ReadError::PathTooLong);
        EXPECT_EQ(DescribeReadError(status), "the path is longer than 255 characters");
        ExpectOldModelKept();
    }
}

TEST_F(BadInput, HugeCoordinatesAreReadExactlyAndPaintWithoutHarm) {
    ASSERT_TRUE(load("0\n3DFACE\n10\n1e308\n20\n-1e308\n11\n-1e308\n21\n1e308\n12\n1e400\n0\nEOF\n").ok());
    EXPECT_EQ(F[0].A.x, 1e308);
    EXPECT_EQ(F[0].B.x, -1e308);
    EXPECT_TRUE(std::isinf(F[0].C.x));
    Paint();
}

TEST_F(BadInput, NanAndInfinitiesAreReadAsSuchAndPaintWithoutHarm) {
    ASSERT_TRUE(load("0\n3DFACE\n10\nnan\n20\n-inf\n11\nINFINITY\n21\n-NaN\n0\nEOF\n").ok());
    EXPECT_TRUE(std::isnan(F[0].A.x));
    EXPECT_EQ(F[0].A.y, -INFINITY);
    EXPECT_EQ(F[0].B.x, INFINITY);
    EXPECT_TRUE(std::isnan(F[0].B.y) && std::signbit(F[0].B.y));
    Paint();
}

TEST_F(BadInput, SubnormalsAndNegativeZeroAreReadExactly) {
    ASSERT_TRUE(load("0\n3DFACE\n10\n4.9406564584124654e-324\n20\n-0\n11\n2.2250738585072009e-308\n0\nEOF\n").ok());
    EXPECT_EQ(F[0].A.x, 4.9406564584124654e-324);
    EXPECT_EQ(F[0].A.y, 0.0);
    EXPECT_TRUE(std::signbit(F[0].A.y));
    EXPECT_EQ(F[0].B.x, 2.2250738585072009e-308);
    Paint();
}

TEST_F(BadInput, GroupCodesBeyondTheIntRangeActAsTheirLow32Bits) {
    // 4294967306 is 2^32 + 10: its low 32 bits are code 10. 2^64 saturates to
    // LONG_MAX, whose low 32 bits are -1: no corner code.
    ASSERT_TRUE(load("0\n3DFACE\n4294967306\n7\n18446744073709551616\n9\n0\nEOF\n").ok());
    EXPECT_EQ(F[0].A.x, 7.0);
    EXPECT_EQ(F[0].A.y, 0.0);
}

} // namespace
