#include "support/face_table.h"
#include "view/view.h"

#include <gtest/gtest.h>

#include <climits>
#include <cmath>
#include <cstring>
#include <random>
#include <vector>

namespace {

const double kCos10 = std::cos(std::acos(-1.0) / 18), kSin10 = std::sin(std::acos(-1.0) / 18);
constexpr unsigned char kRotationKeys[] = {kKeyPageUp, kKeyPageDown, kKeyHome, kKeyEnd, kKeyInsert, kKeyDelete};

// One face whose four corners are all `p`.
Face PointFace(xyz p) { return {p, p, p, p}; }

void ExpectNear(const xyz& p, double x, double y, double z) {
    EXPECT_NEAR(p.x, x, 1e-15);
    EXPECT_NEAR(p.y, y, 1e-15);
    EXPECT_NEAR(p.z, z, 1e-15);
}

// The point `p` after one stroke.
xyz Turned(xyz p, unsigned char key, int rep = 1) {
    FaceTableScope model({PointFace(p)});
    EXPECT_TRUE(RotateMesh(key, rep));
    return F[0].C;
}

std::vector<Face> RandomFaces(int count, unsigned seed) {
    std::mt19937 random(seed);
    std::uniform_real_distribution<double> coordinate(-100, 100);
    std::vector<Face> faces(count);
    for (Face& face : faces)
        for (xyz* p : {&face.A, &face.B, &face.C, &face.D}) *p = xyz(coordinate(random), coordinate(random), coordinate(random));
    return faces;
}

bool SameBits(const std::vector<Face>& a, const std::vector<Face>& b) {
    return a.size() == b.size() && std::memcmp(a.data(), b.data(), a.size() * sizeof(Face)) == 0;
}

} // namespace

TEST(RotateMesh, DeleteTurnsXTowardsY) {
    ExpectNear(Turned(xyz(1, 0, 0), kKeyDelete), kCos10, kSin10, 0);
}

TEST(RotateMesh, InsertUndoesDelete) {
    FaceTableScope model({PointFace(xyz(1, 0, 0))});
    RotateMesh(kKeyDelete, 1);
    RotateMesh(kKeyInsert, 1);
    ExpectNear(F[0].A, 1, 0, 0);
}

TEST(RotateMesh, PageDownTurnsZTowardsXAndPageUpBack) {
    ExpectNear(Turned(xyz(0, 0, 1), kKeyPageDown), kSin10, 0, kCos10);
    ExpectNear(Turned(xyz(0, 0, 1), kKeyPageUp), -kSin10, 0, kCos10);
}

TEST(RotateMesh, EndTurnsYTowardsZAndHomeBack) {
    ExpectNear(Turned(xyz(0, 1, 0), kKeyEnd), 0, kCos10, kSin10);
    ExpectNear(Turned(xyz(0, 0, 1), kKeyEnd), 0, -kSin10, kCos10);
    ExpectNear(Turned(xyz(0, 1, 0), kKeyHome), 0, kCos10, -kSin10);
}

TEST(RotateMesh, RepeatCountThreeTurnsThirtyDegrees) {
    const double pi = std::acos(-1.0);
    ExpectNear(Turned(xyz(1, 0, 0), kKeyDelete, 3), std::cos(pi / 6), std::sin(pi / 6), 0);
    ExpectNear(Turned(xyz(0, 0, 2), kKeyPageDown, 3), 2 * std::sin(pi / 6), 0, 2 * std::cos(pi / 6));
}

TEST(RotateMesh, NegativeRepeatCountTurnsTheOtherWay) {
    for (auto [forward, back] : {std::pair{kKeyDelete, kKeyInsert}, {kKeyEnd, kKeyHome}, {kKeyPageDown, kKeyPageUp}}) {
        FaceTableScope one(RandomFaces(3, 7));
        RotateMesh(forward, -2);
        FaceTableScope other(RandomFaces(3, 7));
        RotateMesh(back, 2);
        EXPECT_TRUE(SameBits(one.faces(), other.faces()));
    }
}

TEST(RotateMesh, ThirtySixStrokesComeBackToTheStart) {
    for (unsigned char key : kRotationKeys) {
        const std::vector<Face> start = RandomFaces(5, 11);
        FaceTableScope model(start);
        for (int stroke = 0; stroke < 36; ++stroke) RotateMesh(key, 1);
        for (int i = 0; i < 5; ++i) {
            EXPECT_NEAR(F[i].A.x, start[i].A.x, 1e-11) << int(key);
            EXPECT_NEAR(F[i].B.y, start[i].B.y, 1e-11) << int(key);
            EXPECT_NEAR(F[i].D.z, start[i].D.z, 1e-11) << int(key);
        }
    }
}

TEST(RotateMesh, KeepsEveryPointsDistanceFromTheOrigin) {
    const std::vector<Face> start = RandomFaces(50, 3);
    FaceTableScope model(start);
    for (unsigned char key : kRotationKeys) RotateMesh(key, 7);
    for (int i = 0; i < 50; ++i) {
        EXPECT_NEAR(F[i].A.r(), start[i].A.r(), 1e-12);
        EXPECT_NEAR(F[i].D.r(), start[i].D.r(), 1e-12);
    }
}

TEST(RotateMesh, TurnsEveryCornerOfEveryFaceAndNothingBeyond) {
    std::vector<Face> faces = RandomFaces(9, 5);
    const Face spare = faces.back();
    FaceTableScope model(faces);
    nf = 8; // the ninth face stands for the spare room after the table
    RotateMesh(kKeyInsert, 1);
    const double c = kCos10, s = -kSin10;
    for (int i = 0; i < 8; ++i)
        for (auto [before, after] : {std::pair{faces[i].A, F[i].A}, {faces[i].B, F[i].B}, {faces[i].C, F[i].C},
                                     {faces[i].D, F[i].D}}) {
            EXPECT_NEAR(after.x, c * before.x - s * before.y, 1e-13);
            EXPECT_NEAR(after.y, s * before.x + c * before.y, 1e-13);
            EXPECT_EQ(after.z, before.z);
        }
    EXPECT_EQ(std::memcmp(&F[8], &spare, sizeof(Face)), 0);
}

TEST(RotateMesh, OtherKeysReturnFalseAndChangeNothing) {
    const std::vector<Face> start = RandomFaces(4, 9);
    FaceTableScope model(start);
    for (int key = 0; key < 256; ++key) {
        bool rotation = false;
        for (unsigned char k : kRotationKeys) rotation = rotation || key == k;
        if (rotation) continue;
        EXPECT_FALSE(RotateMesh(static_cast<unsigned char>(key), 1)) << key;
    }
    EXPECT_TRUE(SameBits(model.faces(), start));
}

TEST(RotateMesh, NoModelStillAnswersTrue) {
    FaceTableScope model({});
    for (unsigned char key : kRotationKeys) EXPECT_TRUE(RotateMesh(key, 1));
    nf = 2; // a count without a table turns nothing
    EXPECT_TRUE(RotateMesh(kKeyEnd, 1));
}

TEST(RotateMesh, ExtremeRepeatCountsStayDefined) {
    FaceTableScope model({PointFace(xyz(1, 2, 3))});
    EXPECT_TRUE(RotateMesh(kKeyDelete, INT_MAX));
    EXPECT_TRUE(RotateMesh(kKeyHome, INT_MIN));
    EXPECT_NEAR(F[0].A.r(), xyz(1, 2, 3).r(), 1e-12);
}

// A drag turns by any angle with the key turns' formulas: ten degrees either
// way give the key strokes' corners bit for bit.
TEST(TurnMesh, TenDegreesEqualsTheKeyStrokeInEveryPlane) {
    const double tenDegrees = 10 * (std::atan(1.0) / 45);
    const struct {
        Plane plane;
        unsigned char positiveKey, negativeKey;
    } planes[] = {{Plane::XZ, kKeyPageDown, kKeyPageUp},
                  {Plane::YZ, kKeyEnd, kKeyHome},
                  {Plane::XY, kKeyDelete, kKeyInsert}};
    for (const auto& p : planes) {
        for (const auto& [angle, key] : {std::pair{tenDegrees, p.positiveKey}, std::pair{-tenDegrees, p.negativeKey}}) {
            FaceTableScope byKey(RandomFaces(50, 7));
            RotateMesh(key, 1);
            const std::vector<Face> expected = byKey.faces();
            FaceTableScope byAngle(RandomFaces(50, 7));
            TurnMesh(p.plane, angle);
            EXPECT_TRUE(SameBits(byAngle.faces(), expected)) << "key " << int(key);
        }
    }
}

TEST(TurnMesh, QuarterTurnInXyMovesXOntoY) {
    FaceTableScope model({PointFace(xyz(2, 0, 5))});
    TurnMesh(Plane::XY, std::acos(-1.0) / 2);
    ExpectNear(F[0].D, 0, 2, 5);
}
