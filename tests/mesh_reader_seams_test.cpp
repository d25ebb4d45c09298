// What a user cannot arrange on demand: the file changing between the count
// pass and the parse pass, and a table too large to allocate. The reader's
// internal seams stand in for both.
#include "kelvorn.h"
#include "meshfile/dxf/byte_source.h"
#include "meshfile/dxf/file_source.h"
#include "meshfile/reader/face_passes.h"
#include "meshfile/reader/mesh_reader.h"
#include "support/temp_files.h"
#include "tuning.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <climits>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <string>

namespace {

std::string Faces(int n, double x) {
    std::string text;
    for (int i = 0; i < n; ++i)
        text += "0\n3DFACE\n10\n" + std::to_string(x + i) + "\n20\n1\n30\n2\n13\n4\n";
    return text + "0\nEOF\n";
}

// The content the file gets between the passes, or empty to remove it.
std::string g_replacement;

void ReplaceFile(const char* path) {
    if (g_replacement.empty())
        std::filesystem::remove(path);
    else {
        std::FILE* out = std::fopen(path, "wb");
        if (!out) return; // the parse pass then reads the file as counted, and the test says so
        std::fwrite(g_replacement.data(), 1, g_replacement.size(), out);
        std::fclose(out);
    }
}

// Faces [from, to) of the table have four corners at the origin.
void ExpectClearFaces(int from, int to) {
    const Face zero{};
    for (int i = from; i < to; ++i)
        EXPECT_EQ(0, std::memcmp(&F[i], &zero, sizeof(Face))) << "face " << i;
}

class MeshReaderSeams : public ::testing::Test {
  protected:
    void SetUp() override { ReleaseMeshTable(); }
    void TearDown() override {
        g_tuning.betweenReaderPasses = nullptr;
        g_tuning.faceTableLimit = LLONG_MAX;
        g_tuning.readInTwoFrom = split_from_;
        ReleaseMeshTable();
    }

    // Loads a file holding `counted`, which turns into `parsed` before the parse pass.
    ReadStatus loadChanging(const std::string& counted, const std::string& parsed) {
        const std::string path = dir.write("mesh.dxf", counted);
        g_replacement = parsed;
        g_tuning.betweenReaderPasses = ReplaceFile;
        const ReadStatus status = ReadMeshFile(path.c_str(), nullptr);
        g_tuning.betweenReaderPasses = nullptr;
        return status;
    }

    // Puts a one-face model in place, as the one on screen.
    void showOneFace() {
        ASSERT_TRUE(ReadMeshFile(dir.write("shown.dxf", Faces(1, 7)).c_str(), nullptr).ok());
        ASSERT_EQ(nf, 1);
    }

    TempDir dir;
    const std::size_t split_from_ = g_tuning.readInTwoFrom;
};

TEST_F(MeshReaderSeams, MoreFacesThanCountedFillOnlyTheCountedOnes) {
    ASSERT_TRUE(loadChanging(Faces(2, 0), Faces(50, 100)).ok());
    ASSERT_EQ(nf, 2);
    EXPECT_EQ(F[0].A.x, 100);
    EXPECT_EQ(F[1].A.x, 101);
    ExpectClearFaces(2, 2 + 4); // the spare faces: nothing of faces 3 to 50 lands there
}

TEST_F(MeshReaderSeams, FewerFacesThanCountedLeaveTheRestAtTheOrigin) {
    ASSERT_TRUE(loadChanging(Faces(5, 0), Faces(2, 100)).ok());
    ASSERT_EQ(nf, 5);
    EXPECT_EQ(F[1].A.x, 101);
    EXPECT_EQ(F[1].D.x, 4);
    ExpectClearFaces(2, 5 + 4);
}

TEST_F(MeshReaderSeams, FileRemovedBetweenThePassesKeepsTheOldModel) {
    showOneFace();
    const Face* shown = F;
    const ReadStatus status = loadChanging(Faces(3, 0), "");
    EXPECT_EQ(status.error, ReadError::CannotOpen);
    EXPECT_EQ(status.systemError, ENOENT);
    EXPECT_EQ(F, shown);
    EXPECT_EQ(nf, 1);
    EXPECT_EQ(F[0].A.x, 7);
}

TEST_F(MeshReaderSeams, TableTooLargeKeepsTheOldModelAndSaysSo) {
    showOneFace();
    const Face* shown = F;
    g_tuning.faceTableLimit = 2;
    int announced = 0;
    const ReadStatus status = ReadMeshFile(dir.write("big.dxf", Faces(3, 0)).c_str(), [&] { ++announced; });
    EXPECT_EQ(status.error, ReadError::OutOfMemory);
    EXPECT_EQ(status.faces, 3);
    EXPECT_EQ(announced, 1);
    EXPECT_EQ(F, shown);
    EXPECT_EQ(nf, 1);
    EXPECT_EQ(F[0].A.x, 7);
    EXPECT_EQ(DescribeReadError(status), "not enough memory for a table of 3 faces");
}

TEST_F(MeshReaderSeams, TableAtTheLimitIsAllocated) {
    g_tuning.faceTableLimit = 3;
    ASSERT_TRUE(ReadMeshFile(dir.write("fits.dxf", Faces(3, 0)).c_str(), nullptr).ok());
    EXPECT_EQ(nf, 3);
}

} // namespace

namespace {

// The count pass's middle face line belongs to the bytes it counted; the
// parse pass of a file changed since must read the new bytes as one pass.
TEST_F(MeshReaderSeams, SplitPointOfTheCountedFileMisleadsNoParseOfTheChangedOne) {
    g_tuning.readInTwoFrom = 0;
    ASSERT_TRUE(loadChanging(Faces(6, 0), "999\nshifted\n" + Faces(6, 100)).ok());
    ASSERT_EQ(nf, 6);
    for (int i = 0; i < 6; ++i)
        EXPECT_EQ(F[i].A.x, 100 + i) << "face " << i;

    ASSERT_TRUE(loadChanging(Faces(6, 0), Faces(1, 100)).ok()); // ends before the middle
    ASSERT_EQ(nf, 6);
    EXPECT_EQ(F[0].A.x, 100);
    EXPECT_EQ(F[5].A.x, 0);

    ASSERT_TRUE(loadChanging(Faces(6, 0), Faces(60, 100)).ok());
    ASSERT_EQ(nf, 6);
    EXPECT_EQ(F[5].A.x, 105);
    ExpectClearFaces(6, 6 + 4);
}

TEST_F(MeshReaderSeams, TableTooLargeForABufferKeepsTheOldModel) {
    showOneFace();
    const Face* shown = F;
    g_tuning.faceTableLimit = 2;
    const ReadStatus status = ReadMeshBytes(Faces(3, 0));
    EXPECT_EQ(status.error, ReadError::OutOfMemory);
    EXPECT_EQ(status.faces, 3);
    EXPECT_EQ(F, shown);
    EXPECT_EQ(nf, 1);
}

#if defined(__unix__)
TEST_F(MeshReaderSeams, MappedFileCutShortReadsAsZerosAndFailsThePass) {
    const std::string content = Faces(20000, 0);
    const std::string path = dir.write("cut.dxf", content);
    FileSource file;
    ASSERT_EQ(file.open(path.c_str()), 0);
    const std::string_view bytes = file.map();
    ASSERT_GT(bytes.size(), 3u * 65536);
    EXPECT_EQ(bytes[0], '0');
    EXPECT_FALSE(file.mappingFaulted());
    std::filesystem::resize_file(path, 1000); // as another program might, during a load
    EXPECT_EQ(bytes[999], content[999]);
    EXPECT_FALSE(file.mappingFaulted());
    EXPECT_EQ(bytes[2 * 65536 + 7], 0) << "a page beyond the new end";
    EXPECT_TRUE(file.mappingFaulted());

    ByteSource source(file); // the same mapping
    long long count = 0;
    EXPECT_FALSE(CountFaceLines(source, count)) << "a pass over a faulted mapping reads nothing true";
    EXPECT_EQ(source.lastError(), EIO);
}
#endif

} // namespace
