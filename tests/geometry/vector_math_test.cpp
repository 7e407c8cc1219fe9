// Vector and matrix operations, the world and view matrices.
#include "geometry/vector_math.h"

#include <gtest/gtest.h>

#include <cmath>

namespace maglorin {
namespace {

void ExpectVecNear(const Vec4& v, float x, float y, float z, float w, float tolerance = 1e-5f) {
    EXPECT_NEAR(v.x, x, tolerance);
    EXPECT_NEAR(v.y, y, tolerance);
    EXPECT_NEAR(v.z, z, tolerance);
    EXPECT_NEAR(v.w, w, tolerance);
}

void ExpectMatrixNear(const Matrix4& a, const Matrix4& b, float tolerance = 1e-5f) {
    for (int i = 0; i < 16; ++i) {
        EXPECT_NEAR(a.m[i], b.m[i], tolerance) << "element " << i / 4 << "," << i % 4;
    }
}

Matrix4 Diagonal(float x, float y, float z) {
    Matrix4 m = IdentityMatrix();
    m.m[0] = x;
    m.m[5] = y;
    m.m[10] = z;
    return m;
}

Matrix4 Translation(float x, float y, float z) {
    Matrix4 m = IdentityMatrix();
    m.m[3] = x;
    m.m[7] = y;
    m.m[11] = z;
    return m;
}

Matrix4 RotationX(float radians) {
    Matrix4 m = IdentityMatrix();
    m.m[5] = std::cos(radians);
    m.m[6] = -std::sin(radians);
    m.m[9] = std::sin(radians);
    m.m[10] = std::cos(radians);
    return m;
}

Matrix4 RotationY(float radians) {
    Matrix4 m = IdentityMatrix();
    m.m[0] = std::cos(radians);
    m.m[2] = std::sin(radians);
    m.m[8] = -std::sin(radians);
    m.m[10] = std::cos(radians);
    return m;
}

TEST(VectorOps, FollowTheWRule) {
    const Vec4 a{1, 2, 3, 0};
    const Vec4 b{4, -5, 6, 0};
    ExpectVecNear(MakeVec4(1, 2, 3), 1, 2, 3, 1);
    ExpectVecNear(AddScalar(a, 1), 2, 3, 4, 1);
    ExpectVecNear(SubScalar(a, 1), 0, 1, 2, 1);
    ExpectVecNear(AddVec(a, b), 5, -3, 9, 1);
    ExpectVecNear(SubVec(a, b), -3, 7, -3, 1);
    ExpectVecNear(ScaleVec(Vec4{1, 2, 3, 1}, 2), 2, 4, 6, 0);  // never a point
    ExpectVecNear(Cross(Vec4{1, 0, 0, 0}, Vec4{0, 1, 0, 0}), 0, 0, 1, 1);
    ExpectVecNear(Normalize(Vec4{3, 0, 4, 7}), 0.6f, 0, 0.8f, 7);  // keeps w
}

TEST(VectorOps, ScalarResults) {
    EXPECT_FLOAT_EQ(Length(Vec4{3, 4, 12, 9}), 13.0f);  // w does not count
    EXPECT_FLOAT_EQ(Dot(Vec4{1, 2, 3, 5}, Vec4{4, -5, 6, 5}), 12.0f);
    EXPECT_FLOAT_EQ(Distance(Vec4{1, 1, 1, 1}, Vec4{4, 5, 1, 1}), 5.0f);
    EXPECT_NEAR(CosAngle(Vec4{2, 0, 0, 1}, Vec4{1, 1, 0, 1}), std::sqrt(0.5f), 1e-6f);
    EXPECT_FLOAT_EQ(DegToRad(180.0f), 3.14159265f);
}

TEST(VectorOps, NormalizingTheZeroVectorKeepsItZero) {
    ExpectVecNear(Normalize(Vec4{0, 0, 0, 1}), 0, 0, 0, 1, 0);
}

TEST(VectorOps, ReflectMirrorsAgainstTheNormalOnly) {
    // Coming down onto a floor with normal +y: bounces up.
    ExpectVecNear(Reflect(Vec4{1, -1, 0, 0}, Vec4{0, 5, 0, 1}), 1, 1, 0, 1);
    // Pointing along the normal (or across it): no reflection.
    ExpectVecNear(Reflect(Vec4{0, 2, 0, 1}, Vec4{0, 1, 0, 1}), 0, 0, 0, 0, 0);
    ExpectVecNear(Reflect(Vec4{1, 0, 0, 1}, Vec4{0, 1, 0, 1}), 0, 0, 0, 0, 0);
}

TEST(VectorOps, FaceNormalIsTheUnnormalisedCrossOfTheEdgesAtQ) {
    // (p - q) x (r - q) for p on +x and r on +y points along +z.
    const Vec4 n = FaceNormal(Vec4{2, 0, 0, 1}, Vec4{0, 0, 0, 1}, Vec4{0, 3, 0, 1});
    ExpectVecNear(n, 0, 0, 6, 1);
}

TEST(MatrixOps, IdentityAndRotationZ) {
    const Vec4 p{1, 2, 3, 1};
    ExpectVecNear(MatVecMul(IdentityMatrix(), p), 1, 2, 3, 1);
    ExpectVecNear(MatVecMul(RotationZ(DegToRad(90)), Vec4{1, 0, 0, 1}), 0, 1, 0, 1);
}

TEST(MatrixOps, MatVecMulUsesTheFullMatrixAndW) {
    Matrix4 m;
    for (int i = 0; i < 16; ++i) {
        m.m[i] = static_cast<float>(i + 1);
    }
    ExpectVecNear(MatVecMul(m, Vec4{1, 0, 0, 2}), 1 + 8, 5 + 16, 9 + 24, 13 + 32);
}

TEST(MatrixOps, MatMulAffineAppliesAFirstThenBWithAZeroBottomRow) {
    const Matrix4 a = Translation(1, 2, 3);
    const Matrix4 b = Diagonal(2, 2, 2);
    const Matrix4 product = MatMulAffine(a, b);  // scale after the move
    ExpectVecNear(MatVecMul(product, Vec4{1, 1, 1, 1}), 4, 6, 8, 0);
    for (int c = 0; c < 4; ++c) {
        EXPECT_EQ(product.m[12 + c], 0.0f);
    }
    ExpectMatrixNear(MatMulAffine(IdentityMatrix(), b), [&] {
        Matrix4 m = b;
        m.m[15] = 0;
        return m;
    }());
}

TEST(WorldMatrix, ZeroAnglesGiveScaleOnTheDiagonalAndTheMoveInColumnThree) {
    const Matrix4 m = BuildWorldMatrix(Vec4{0, 0, 0, 1}, Vec4{3, 3, 3, 1}, Vec4{4, 5, 6, 1});
    Matrix4 expected = Diagonal(3, 3, 3);
    expected.m[3] = 4;
    expected.m[7] = 5;
    expected.m[11] = 6;
    expected.m[15] = 0;
    ExpectMatrixNear(m, expected, 0);
}

TEST(WorldMatrix, IsMoveAfterTurnsZYXAfterScale) {
    const Vec4 rotation{30, -70, 125, 1};
    const Vec4 scale{0.5f, 2, 3, 1};
    const Vec4 move{-1, 7, 2, 1};
    Matrix4 expected = Diagonal(scale.x, scale.y, scale.z);
    expected = MatMulAffine(expected, RotationX(DegToRad(rotation.x)));
    expected = MatMulAffine(expected, RotationY(DegToRad(rotation.y)));
    expected = MatMulAffine(expected, RotationZ(DegToRad(rotation.z)));
    expected = MatMulAffine(expected, Translation(move.x, move.y, move.z));
    ExpectMatrixNear(BuildWorldMatrix(rotation, scale, move), expected);

    Scene scene;
    scene.ModelRotation = rotation;
    scene.ModelScale = scale;
    scene.ModelTranslation = move;
    ExpectMatrixNear(BuildWorldMatrix(scene), expected, 0);
}

TEST(ViewMatrix, DefaultCameraLooksDownMinusZWithXMirrored) {
    Camera camera;  // eye (0, 0, 120), target origin, up +y
    const Matrix4 m = BuildViewMatrix(camera);
    ExpectVecNear(Vec4{m.m[0], m.m[1], m.m[2], 0}, -1, 0, 0, 0);
    ExpectVecNear(Vec4{m.m[4], m.m[5], m.m[6], 0}, 0, 1, 0, 0);
    ExpectVecNear(Vec4{m.m[8], m.m[9], m.m[10], 0}, 0, 0, 1, 0);
    ExpectVecNear(MatVecMul(m, Vec4{0, 0, 0, 1}), 0, 0, -120, 0);
    ExpectVecNear(MatVecMul(m, Vec4{10, 0, 0, 1}), -10, 0, -120, 0);
    for (int c = 0; c < 4; ++c) {
        EXPECT_EQ(m.m[12 + c], 0.0f);
    }
}

TEST(ViewMatrix, EyeOnTheTargetLooksAlongPlusZ) {
    Camera camera;
    camera.Position = Vec4{1, 2, 3, 1};
    camera.Target = camera.Position;
    const Matrix4 m = BuildViewMatrix(camera);
    ExpectVecNear(Vec4{m.m[8], m.m[9], m.m[10], 0}, 0, 0, 1, 0);
    ExpectVecNear(MatVecMul(m, camera.Position), 0, 0, 0, 0);
}

TEST(ViewMatrix, RowsAreOrthonormalForAnyCamera) {
    Camera camera;
    camera.Position = Vec4{40, -30, 90, 1};
    camera.Target = Vec4{5, 10, -3, 1};
    camera.Up = Vec4{0.2f, 1, 0.1f, 1};
    const Matrix4 m = BuildViewMatrix(camera);
    const Vec4 rows[3] = {{m.m[0], m.m[1], m.m[2], 0}, {m.m[4], m.m[5], m.m[6], 0},
                          {m.m[8], m.m[9], m.m[10], 0}};
    for (int i = 0; i < 3; ++i) {
        EXPECT_NEAR(Length(rows[i]), 1.0f, 1e-5f);
        for (int j = i + 1; j < 3; ++j) {
            EXPECT_NEAR(Dot(rows[i], rows[j]), 0.0f, 1e-5f);
        }
    }
    // The target lies straight ahead, on the -z axis of the view.
    const Vec4 target = MatVecMul(m, camera.Target);
    EXPECT_NEAR(target.x, 0.0f, 1e-4f);
    EXPECT_NEAR(target.y, 0.0f, 1e-4f);
    EXPECT_NEAR(target.z, -Distance(camera.Position, camera.Target), 1e-3f);
}

}  // namespace
}  // namespace maglorin
