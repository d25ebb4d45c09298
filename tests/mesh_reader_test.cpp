#include "kelvorn.h"
#include "meshfile/reader/mesh_reader.h"
#include "meshfile/writer/dxf_writer.h"
#include "support/temp_files.h"
#include "tuning.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <cmath>
#include <cstring>
#include <string>
#include <vector>

namespace {

constexpr const char* kUnitSquare = "0\nSECTION\n2\nENTITIES\n0\n3DFACE\n8\n0\n"
                                    "10\n0.0\n20\n0.0\n30\n0.0\n"
                                    "11\n1.0\n21\n0.0\n31\n0.0\n"
                                    "12\n1.0\n22\n1.0\n32\n0.5\n"
                                    "13\n0.0\n23\n1.0\n33\n-2.5\n"
                                    "0\nENDSEC\n0\nEOF\n";

class MeshReader : public ::testing::Test {
protected:
    void SetUp() override { ReleaseMeshTable(); }
    void TearDown() override { ReleaseMeshTable(); }

    ReadStatus load(std::string_view bytes, std::string_view name = "mesh.dxf") {
        const std::string path = dir.write(name, bytes);
        return ReadMeshFile(path.c_str(), nullptr);
    }

    TempDir dir;
};

void ExpectPoint(const xyz& p, double x, double y, double z) {
    EXPECT_EQ(p.x, x);
    EXPECT_EQ(p.y, y);
    EXPECT_EQ(p.z, z);
}

TEST_F(MeshReader, ReadsAllFourCornersOfA3dFace) {
    ASSERT_TRUE(load(kUnitSquare).ok());
    ASSERT_EQ(nf, 1);
    ExpectPoint(F[0].A, 0, 0, 0);
    ExpectPoint(F[0].B, 1, 0, 0);
    ExpectPoint(F[0].C, 1, 1, 0.5);
    ExpectPoint(F[0].D, 0, 1, -2.5);
}

TEST_F(MeshReader, CrLfFileReadsExactlyLikeLfFile) {
    ASSERT_TRUE(load(kUnitSquare).ok());
    const Face lf = F[0];
    ASSERT_TRUE(load(WithCrLf(kUnitSquare)).ok());
    ASSERT_EQ(nf, 1);
    EXPECT_EQ(0, std::memcmp(&lf, &F[0], sizeof(Face)));
}

TEST_F(MeshReader, TriangleWithoutFourthCornerKeepsDAtOrigin) {
    ASSERT_TRUE(load("0\n3DFACE\n10\n1\n20\n2\n30\n3\n11\n4\n21\n5\n31\n6\n12\n7\n22\n8\n32\n9\n0\nEOF\n").ok());
    ASSERT_EQ(nf, 1);
    ExpectPoint(F[0].C, 7, 8, 9);
    ExpectPoint(F[0].D, 0, 0, 0);
}

TEST_F(MeshReader, CornerCodesBeforeTheFirstFaceAreIgnored) {
    ASSERT_TRUE(load("9\n$EXTMIN\n10\n-100\n20\n-100\n30\n-100\n0\n3DFACE\n10\n1\n0\nEOF\n").ok());
    ASSERT_EQ(nf, 1);
    ExpectPoint(F[0].A, 1, 0, 0);
}

TEST_F(MeshReader, EntityAfterAFaceDoesNotTouchIt) {
    // Group code 0 ends the face's entity: the LINE's points and the paper
    // limits of a later LAYOUT object must not overwrite corners of the face.
    ASSERT_TRUE(load("0\n3DFACE\n10\n1\n20\n1\n11\n2\n21\n2\n0\nLINE\n10\n50\n20\n60\n30\n70\n11\n80\n21\n90\n31\n"
                     "99\n0\nLAYOUT\n10\n-5\n12\n420\n22\n297\n0\nEOF\n")
                    .ok());
    ASSERT_EQ(nf, 1);
    ExpectPoint(F[0].A, 1, 1, 0);
    ExpectPoint(F[0].B, 2, 2, 0);
    ExpectPoint(F[0].C, 0, 0, 0);
}

TEST_F(MeshReader, CodeLineWithoutANumberAlsoEndsTheFace) {
    ASSERT_TRUE(load("0\n3DFACE\n10\n1\nXYZ\nwhatever\n10\n5\n0\nEOF\n").ok());
    ExpectPoint(F[0].A, 1, 0, 0);
}

TEST_F(MeshReader, RepeatedCodeOverwritesWithTheLastValue) {
    ASSERT_TRUE(load("0\n3DFACE\n10\n1\n10\n2\n10\n3\n").ok());
    ExpectPoint(F[0].A, 3, 0, 0);
}

TEST_F(MeshReader, FaceMarkerIsDecidedByTheValueLineOnly) {
    // "3DFACE" in value position starts a face whatever its code; in code
    // position it only counts, so that face keeps zero corners.
    ASSERT_TRUE(load("5\n3DFACEXYZ\n10\n4\n3DFACE\n10\n0\nEOF\n").ok());
    ASSERT_EQ(nf, 2);
    ExpectPoint(F[0].A, 4, 0, 0);
    ExpectPoint(F[1].A, 0, 0, 0);
}

TEST_F(MeshReader, PrefixTestIsCaseSensitiveAndAtLineStart) {
    ASSERT_TRUE(load("0\n3dface\n0\n 3DFACE\n0\n3DFAC\n").ok());
    EXPECT_EQ(nf, 0);
}

TEST_F(MeshReader, FacesAfterTheEofPairAreCountedWithZeroCorners) {
    ASSERT_TRUE(load("0\n3DFACE\n10\n7\n0\nEOF\n0\n3DFACE\n10\n9\n").ok());
    ASSERT_EQ(nf, 2);
    ExpectPoint(F[0].A, 7, 0, 0);
    ExpectPoint(F[1].A, 0, 0, 0);
}

TEST_F(MeshReader, EofMarkerNeedsItsLineEndAndNothingElse) {
    // A last line "EOF" without a line end is not the marker; the pass simply runs out.
    ASSERT_TRUE(load("0\n3DFACE\n10\n7\n0\nEOF").ok());
    ExpectPoint(F[0].A, 7, 0, 0);
    // "EOF " is no marker either: the pass goes on, but code 0 has closed the face.
    ASSERT_TRUE(load("0\n3DFACE\n10\n7\n0\nEOF \n0\n3DFACE\n10\n8\n").ok());
    ASSERT_EQ(nf, 2);
    ExpectPoint(F[1].A, 8, 0, 0);
}

TEST_F(MeshReader, EofMarkerWithCrLfEndsThePass) {
    ASSERT_TRUE(load("0\r\n3DFACE\r\n10\r\n7\r\n0\r\nEOF\r\n0\r\n3DFACE\r\n10\r\n9\r\n").ok());
    ASSERT_EQ(nf, 2);
    ExpectPoint(F[0].A, 7, 0, 0);
    ExpectPoint(F[1].A, 0, 0, 0);
}

TEST_F(MeshReader, LastLineWithLineEndIsCountedOnce) {
    ASSERT_TRUE(load("0\n3DFACE\n").ok());
    EXPECT_EQ(nf, 1);
}

TEST_F(MeshReader, FileWithoutFacesKeepsTheTableButDrawsNothing) {
    ASSERT_TRUE(load(kUnitSquare).ok());
    const Face* before = F;
    ASSERT_TRUE(load("0\nSECTION\n0\nEOF\n", "empty.dxf").ok());
    EXPECT_EQ(nf, 0);
    EXPECT_EQ(F, before);
    ASSERT_TRUE(load("", "nothing.dxf").ok());
    EXPECT_EQ(nf, 0);
    EXPECT_EQ(F, before);
}

TEST_F(MeshReader, LoadingTwiceGivesIdenticalTables) {
    ASSERT_TRUE(load(kUnitSquare).ok());
    const Face first = F[0];
    F[0].A.x = 42; // what a rotation would do
    ASSERT_TRUE(load(kUnitSquare).ok());
    EXPECT_EQ(0, std::memcmp(&first, &F[0], sizeof(Face)));
}

TEST_F(MeshReader, TableHasFourClearedSpareFaces) {
    ASSERT_TRUE(load(kUnitSquare).ok());
    for (int i = 1; i <= 4; ++i) {
        ExpectPoint(F[i].A, 0, 0, 0);
        ExpectPoint(F[i].D, 0, 0, 0);
    }
}

TEST_F(MeshReader, LongLineArrivesAsPiecesOf255) {
    // 255 characters then "3DFACE": the second piece begins with the marker and counts.
    const std::string long_line = std::string(255, 'x') + "3DFACE\n";
    ASSERT_TRUE(load("999\n" + long_line).ok());
    EXPECT_EQ(nf, 1);
    // 254 characters and CR LF fit one piece: the CR LF is one line end, so
    // the pairs after it stay in step.
    const std::string fits = std::string(253, ' ') + "5\r\n";
    ASSERT_TRUE(load("0\n3DFACE\n10\n" + fits + "20\n6\n").ok());
    ExpectPoint(F[0].A, 5, 6, 0);
    // 255 characters and CR LF do not: the line end becomes a piece of its own.
    const std::string splits = std::string(254, ' ') + "5\r\n";
    ASSERT_TRUE(load("0\n3DFACE\n10\n" + splits + "20\n6\n").ok());
    ExpectPoint(F[0].A, 5, 0, 0);
}

TEST_F(MeshReader, PairingIsStrictAndNeverResynchronises) {
    // The blank line shifts every later pair: "10" becomes a value, "5" a code.
    ASSERT_TRUE(load("0\n3DFACE\n\n10\n5\n20\n7\n").ok());
    ExpectPoint(F[0].A, 0, 0, 0);
}

TEST_F(MeshReader, AnnounceIsCalledOnceAfterOpeningWithNfZero) {
    ASSERT_TRUE(load(kUnitSquare).ok());
    const std::string path = dir.write("again.dxf", kUnitSquare);
    int calls = 0, nf_seen = -1;
    ASSERT_TRUE(ReadMeshFile(path.c_str(), [&] { ++calls, nf_seen = nf; }).ok());
    EXPECT_EQ(calls, 1);
    EXPECT_EQ(nf_seen, 0);
}

TEST_F(MeshReader, MissingFileKeepsTheModelAndSaysWhy) {
    ASSERT_TRUE(load(kUnitSquare).ok());
    const Face* before = F;
    int calls = 0;
    const std::string missing = (dir.path() / "missing.dxf").string();
    const ReadStatus status = ReadMeshFile(missing.c_str(), [&] { ++calls; });
    EXPECT_EQ(status.error, ReadError::CannotOpen);
    EXPECT_EQ(status.systemError, ENOENT);
    EXPECT_EQ(calls, 0);
    EXPECT_EQ(nf, 1);
    EXPECT_EQ(F, before);
    EXPECT_EQ(DescribeReadError(status), std::strerror(ENOENT));
}

TEST_F(MeshReader, DirectoryAndEmptyPathAreRefused) {
    ASSERT_TRUE(load(kUnitSquare).ok());
    ReadStatus status = ReadMeshFile(dir.path().string().c_str(), nullptr);
    EXPECT_EQ(status.error, ReadError::CannotOpen);
    EXPECT_EQ(status.systemError, EISDIR);
    status = ReadMeshFile("", nullptr);
    EXPECT_EQ(status.error, ReadError::CannotOpen);
    EXPECT_EQ(nf, 1);
}

TEST_F(MeshReader, PathLongerThan255CharactersIsRefusedNotCut) {
    const std::string path = std::string(256, 'a');
    const ReadStatus status = ReadMeshFile(path.c_str(), nullptr);
    EXPECT_EQ(status.error, ReadError::PathTooLong);
    EXPECT_EQ(nf, 0);
}

// A file large enough to be read in windows and parsed on two threads: its
// bytes in a buffer, the file mapped and the file read in pieces give the
// same table, bit for bit.
TEST_F(MeshReader, BufferReadsLikeTheSameFileMappedOrInPieces) {
    std::string bytes;
    {
        DXF dxf(MemorySink(bytes));
        for (int i = 0; i < 60000; ++i)
            dxf.face(xyz(i, -0.5 * i, 1e-3 * i), xyz(i % 7, 3.25, -i), xyz(1, 2, 3), xyz(i / 3.0, 0, 0));
        ASSERT_TRUE(dxf.close());
    }
    ASSERT_GE(bytes.size(), g_tuning.readInTwoFrom) << "too small to be split";
    ASSERT_GE(bytes.size(), g_tuning.mapFilesFrom) << "too small to be mapped";
    const std::string path = dir.write("large.dxf", bytes);
    ASSERT_TRUE(ReadMeshFile(path.c_str(), nullptr).ok());
    ASSERT_EQ(nf, 60000);
    const std::vector<Face> mapped(F, F + nf + 4);
    EXPECT_EQ(F[59999].D.x, 19999.667);

    const std::size_t map_from = g_tuning.mapFilesFrom;
    g_tuning.mapFilesFrom = static_cast<std::size_t>(-1);
    const ReadStatus in_pieces = ReadMeshFile(path.c_str(), nullptr);
    g_tuning.mapFilesFrom = map_from;
    ASSERT_TRUE(in_pieces.ok());
    ASSERT_EQ(nf, 60000);
    EXPECT_EQ(0, std::memcmp(F, mapped.data(), mapped.size() * sizeof(Face))) << "file in pieces";

    ASSERT_TRUE(ReadMeshBytes(bytes).ok());
    ASSERT_EQ(nf, 60000);
    EXPECT_EQ(0, std::memcmp(F, mapped.data(), mapped.size() * sizeof(Face))) << "buffer";
}

TEST_F(MeshReader, BufferWithoutFacesKeepsTheTableButDrawsNothing) {
    ASSERT_TRUE(ReadMeshBytes(kUnitSquare).ok());
    ASSERT_EQ(nf, 1);
    const Face* before = F;
    ASSERT_TRUE(ReadMeshBytes("0\nEOF\n").ok());
    EXPECT_EQ(nf, 0);
    EXPECT_EQ(F, before);
}

} // namespace
