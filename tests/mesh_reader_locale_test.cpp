// The reader's numbers use the point whatever the locale: a user whose
// locale writes decimals with a comma reads the same model.
#include "kelvorn.h"
#include "meshfile/reader/mesh_reader.h"
#include "support/reference_reader.h"
#include "support/temp_files.h"

#include <gtest/gtest.h>

#include <clocale>
#include <cstdio>
#include <cstring>
#include <string>

namespace {

// Switches the whole program to a locale with a decimal comma, if one is
// installed, and back to the previous locale at the end.
class CommaLocale {
  public:
    CommaLocale() : previous_(std::setlocale(LC_ALL, nullptr)) {
        for (const char* name :
             {"de_DE.UTF-8", "de_DE.utf8", "de_DE", "fr_FR.UTF-8", "nl_NL.UTF-8", "ru_RU.UTF-8"}) {
            if (std::setlocale(LC_ALL, name) && std::strcmp(std::localeconv()->decimal_point, ",") == 0) {
                name_ = name;
                return;
            }
        }
        std::setlocale(LC_ALL, previous_.c_str());
    }
    ~CommaLocale() { std::setlocale(LC_ALL, previous_.c_str()); }
    CommaLocale(const CommaLocale&) = delete;
    CommaLocale& operator=(const CommaLocale&) = delete;

    const char* name() const { return name_; }

  private:
    std::string previous_;
    const char* name_ = nullptr;
};

TEST(MeshReaderLocale, DecimalCommaLocaleStillReadsPoints) {
    TempDir dir;
    const std::string path = dir.write("mesh.dxf", "0\n3DFACE\n10\n1.5\n20\n-0.25e1\n30\n0x1.8p1\n"
                                                   "11\n1,5\n21\n123456.789\n31\n.5\n0\nEOF\n");
    const CommaLocale locale;
    if (!locale.name())
        GTEST_SKIP()
            << "no locale with a decimal comma is installed (scripts/install-deps.sh generates de_DE.UTF-8)";
    // The locale is in force: the C library itself now stops at the point.
    double x = 0;
    ASSERT_EQ(std::sscanf("1.5", "%le", &x), 1);
    ASSERT_EQ(x, 1.0) << "in " << locale.name();

    ReleaseMeshTable();
    ASSERT_TRUE(ReadMeshFile(path.c_str(), nullptr).ok());
    ASSERT_EQ(nf, 1);
    EXPECT_EQ(F[0].A.x, 1.5);
    EXPECT_EQ(F[0].A.y, -2.5);
    EXPECT_EQ(F[0].A.z, 3.0);
    EXPECT_EQ(F[0].B.x, 1.0); // the comma is no separator in a DXF file
    EXPECT_EQ(F[0].B.y, 123456.789);
    EXPECT_EQ(F[0].B.z, 0.5);
    const ReferenceMesh expected = ReadMeshReference(path.c_str());
    ASSERT_EQ(expected.count, 1);
    EXPECT_EQ(0, std::memcmp(F, expected.faces.data(), expected.faces.size() * sizeof(Face)));
    ReleaseMeshTable();
}

} // namespace
