#include "geometry/xyz.h"

#include <gtest/gtest.h>

#include <cmath>

TEST(Xyz, LengthAndSquaredLength) {
    EXPECT_EQ(xyz(3, 4, 0).r(), 5.0);
    EXPECT_EQ(xyz(3, 4, 0).rr(), 25.0);
    EXPECT_EQ(xyz(0, 0, 0).r(), 0.0);
}

TEST(Xyz, ArithmeticLeavesOperandsAlone) {
    const xyz a(1, 2, 3), b(0.5, -1, 4);
    const xyz sum = a + b, difference = a - b, scaled = a * 0.5;
    EXPECT_EQ(sum.x, 1.5);
    EXPECT_EQ(sum.y, 1.0);
    EXPECT_EQ(sum.z, 7.0);
    EXPECT_EQ(difference.x, 0.5);
    EXPECT_EQ(difference.y, 3.0);
    EXPECT_EQ(difference.z, -1.0);
    EXPECT_EQ(scaled.x, 0.5);
    EXPECT_EQ(scaled.y, 1.0);
    EXPECT_EQ(scaled.z, 1.5);
    EXPECT_EQ(a.x, 1.0);
    EXPECT_EQ(b.z, 4.0);
}

TEST(Xyz, NegationFlipsTheSignOfZeroToo) {
    const xyz n = -xyz(1, -2, 0);
    EXPECT_EQ(n.x, -1.0);
    EXPECT_EQ(n.y, 2.0);
    EXPECT_EQ(n.z, 0.0);
    EXPECT_TRUE(std::signbit(n.z));
}

TEST(Xyz, SetFillsPointsFromPackedTriples) {
    const double X[] = {1, 2, 3, 4, 5, 6};
    xyz P[3] = {xyz(9, 9, 9), xyz(9, 9, 9), xyz(9, 9, 9)};
    set(P, X, 2);
    EXPECT_EQ(P[0].x, 1);
    EXPECT_EQ(P[0].z, 3);
    EXPECT_EQ(P[1].x, 4);
    EXPECT_EQ(P[1].z, 6);
    EXPECT_EQ(P[2].x, 9) << "set must write exactly n points";
}

TEST(Xyz, SetWithNoPointsWritesNothing) {
    const double X[] = {1, 2, 3};
    xyz P[1] = {xyz(7, 7, 7)};
    set(P, X, 0);
    set(P, X, -5);
    EXPECT_EQ(P[0].x, 7);
}

TEST(Face, IsAFlatArrayOfPointsInCornerOrder) {
    Face faces[2] = {{xyz(0, 0, 0), xyz(1, 0, 0), xyz(2, 0, 0), xyz(3, 0, 0)},
                     {xyz(4, 0, 0), xyz(5, 0, 0), xyz(6, 0, 0), xyz(7, 0, 0)}};
    const xyz* points = &faces[0].A;
    for (int i = 0; i < 8; ++i) EXPECT_EQ(points[i].x, i);
}
