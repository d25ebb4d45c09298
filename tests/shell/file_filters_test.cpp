#include "app/qt/file_filters.h"

#include <QRegularExpression>

#include <gtest/gtest.h>

namespace {

bool Matches(const QString& pattern, const QString& name) {
    return QRegularExpression(QRegularExpression::wildcardToRegularExpression(pattern)).match(name).hasMatch();
}

TEST(FileFilters, DxfFilterMatchesTheExtensionInAnyCase) {
    const QStringList filters = NameFiltersFromWindows("DXF files\0*.DXF\0");
    ASSERT_EQ(filters, QStringList{"DXF files (*.[dD][xX][fF])"});
    const QString pattern = "*.[dD][xX][fF]";
    EXPECT_TRUE(Matches(pattern, "part.dxf"));
    EXPECT_TRUE(Matches(pattern, "PART.DXF"));
    EXPECT_TRUE(Matches(pattern, "Part.Dxf"));
    EXPECT_FALSE(Matches(pattern, "part.dwg"));
    EXPECT_FALSE(Matches(pattern, "part.dxf.bak"));
}

TEST(FileFilters, SeveralPairsAndPatternsSeparatedBySemicolons) {
    const QStringList filters = NameFiltersFromWindows("Meshes\0*.dxf;*.3d\0All files\0*.*\0");
    EXPECT_EQ(filters, (QStringList{"Meshes (*.[dD][xX][fF] *.3[dD])", "All files (*.*)"}));
}

TEST(FileFilters, NullEmptyAndUnpairedFiltersGiveNoFilter) {
    EXPECT_TRUE(NameFiltersFromWindows(nullptr).isEmpty());
    EXPECT_TRUE(NameFiltersFromWindows("").isEmpty());
    EXPECT_TRUE(NameFiltersFromWindows("Name without patterns\0").isEmpty());
}

} // namespace
