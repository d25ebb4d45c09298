// Bytes that a C runtime's text mode treats specially (Ctrl-Z ends a text
// file on Windows) are plain data to the reader, on every platform.
#include "kelvorn.h"
#include "meshfile/reader/mesh_reader.h"
#include "support/temp_files.h"

#include <gtest/gtest.h>

#include <string>

namespace {

constexpr char kCtrlZ = '\x1a';

std::string Face3d(int x) {
    const std::string v = std::to_string(x);
    return "0\r\n3DFACE\r\n8\r\n0\r\n10\r\n" + v + "\r\n20\r\n0\r\n30\r\n0\r\n11\r\n" + v + "\r\n21\r\n1\r\n31\r\n0\r\n" +
           "12\r\n" + v + "\r\n22\r\n2\r\n32\r\n0\r\n13\r\n" + v + "\r\n23\r\n3\r\n33\r\n0\r\n";
}

class MeshFileBytes : public ::testing::Test {
protected:
    void SetUp() override { ReleaseMeshTable(); }
    void TearDown() override { ReleaseMeshTable(); }

    ReadStatus load(const std::string& bytes) { return ReadMeshFile(dir.write("mesh.dxf", bytes).c_str(), nullptr); }

    TempDir dir;
};

TEST_F(MeshFileBytes, CtrlZInsideTheFileIsDataNotItsEnd) {
    const std::string bytes = Face3d(1) + "999\r\nnote " + kCtrlZ + " here\r\n" + Face3d(2) + "0\r\nEOF\r\n";
    ASSERT_TRUE(load(bytes).ok());
    ASSERT_EQ(nf, 2);
    EXPECT_EQ(F[0].A.x, 1);
    EXPECT_EQ(F[1].D.x, 2);
    EXPECT_EQ(F[1].D.y, 3);
}

TEST_F(MeshFileBytes, CtrlZAfterTheEofPairIsIgnored) {
    ASSERT_TRUE(load(Face3d(5) + "0\r\nEOF\r\n" + kCtrlZ).ok());
    ASSERT_EQ(nf, 1);
    EXPECT_EQ(F[0].C.x, 5);
    EXPECT_EQ(F[0].C.y, 2);
}

} // namespace
