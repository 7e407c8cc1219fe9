#include "geometry/vector_math.h"

#include <cmath>

namespace maglorin {

namespace {

float& At(Matrix4& m, int row, int column) { return m.m[row * 4 + column]; }
float At(const Matrix4& m, int row, int column) { return m.m[row * 4 + column]; }

// Trigonometry runs in double and is rounded to single, so every build gets the same bits.
float Cos(float radians) { return static_cast<float>(std::cos(static_cast<double>(radians))); }
float Sin(float radians) { return static_cast<float>(std::sin(static_cast<double>(radians))); }

void SetRow(Matrix4& m, int row, float c0, float c1, float c2, float c3) {
    At(m, row, 0) = c0;
    At(m, row, 1) = c1;
    At(m, row, 2) = c2;
    At(m, row, 3) = c3;
}

}  // namespace

float DegToRad(float degrees) { return static_cast<float>(degrees * 0.0174532925199433); }

Vec4 MakeVec4(float x, float y, float z) { return Vec4{x, y, z, 1.0f}; }

Vec4 AddScalar(const Vec4& v, float s) { return Vec4{v.x + s, v.y + s, v.z + s, 1.0f}; }

Vec4 SubScalar(const Vec4& v, float s) { return Vec4{v.x - s, v.y - s, v.z - s, 1.0f}; }

Vec4 AddVec(const Vec4& a, const Vec4& b) {
    return Vec4{a.x + b.x, a.y + b.y, a.z + b.z, 1.0f};
}

Vec4 SubVec(const Vec4& a, const Vec4& b) {
    return Vec4{a.x - b.x, a.y - b.y, a.z - b.z, 1.0f};
}

Vec4 ScaleVec(const Vec4& v, float s) { return Vec4{v.x * s, v.y * s, v.z * s, 0.0f}; }

float Length(const Vec4& v) { return std::sqrt(v.x * v.x + v.y * v.y + v.z * v.z); }

Vec4 Normalize(const Vec4& v) {
    float length = Length(v);
    if (length == 0.0f) {
        length = 1.0f;
    }
    return Vec4{v.x / length, v.y / length, v.z / length, v.w};
}

float Dot(const Vec4& a, const Vec4& b) { return a.x * b.x + a.y * b.y + a.z * b.z; }

Vec4 Cross(const Vec4& a, const Vec4& b) {
    return Vec4{a.y * b.z - a.z * b.y, a.z * b.x - a.x * b.z, a.x * b.y - a.y * b.x, 1.0f};
}

float CosAngle(const Vec4& a, const Vec4& b) { return Dot(Normalize(a), Normalize(b)); }

Vec4 Reflect(const Vec4& v, const Vec4& n) {
    if (!(CosAngle(v, n) < 0.0f)) {
        return Vec4{0.0f, 0.0f, 0.0f, 0.0f};
    }
    const Vec4 unit = Normalize(n);
    return AddVec(v, ScaleVec(ScaleVec(unit, Dot(v, unit)), -2.0f));
}

float Distance(const Vec4& a, const Vec4& b) { return Length(SubVec(a, b)); }

Vec4 FaceNormal(const Vec4& p, const Vec4& q, const Vec4& r) {
    return Cross(SubVec(p, q), SubVec(r, q));
}

Matrix4 IdentityMatrix() {
    Matrix4 m;
    for (int i = 0; i < 4; ++i) {
        At(m, i, i) = 1.0f;
    }
    return m;
}

Matrix4 RotationZ(float radians) {
    Matrix4 m = IdentityMatrix();
    const float c = Cos(radians);
    const float s = Sin(radians);
    At(m, 0, 0) = c;
    At(m, 0, 1) = -s;
    At(m, 1, 0) = s;
    At(m, 1, 1) = c;
    return m;
}

Vec4 MatVecMul(const Matrix4& m, const Vec4& v) {
    float out[4];
    for (int row = 0; row < 4; ++row) {
        out[row] = At(m, row, 0) * v.x + At(m, row, 1) * v.y + At(m, row, 2) * v.z +
                   At(m, row, 3) * v.w;
    }
    return Vec4{out[0], out[1], out[2], out[3]};
}

Matrix4 MatMulAffine(const Matrix4& a, const Matrix4& b) {
    Matrix4 result;  // bottom row stays (0, 0, 0, 0)
    for (int row = 0; row < 3; ++row) {
        for (int column = 0; column < 4; ++column) {
            float sum = At(b, row, 0) * At(a, 0, column) + At(b, row, 1) * At(a, 1, column) +
                        At(b, row, 2) * At(a, 2, column);
            if (column == 3) {
                sum += At(b, row, 3);
            }
            At(result, row, column) = sum;
        }
    }
    return result;
}

Matrix4 BuildWorldMatrix(const Vec4& rotation, const Vec4& scale, const Vec4& translation) {
    const float rx = DegToRad(rotation.x);
    const float ry = DegToRad(rotation.y);
    const float rz = DegToRad(rotation.z);
    const float cx = Cos(rx), sx = Sin(rx);
    const float cy = Cos(ry), sy = Sin(ry);
    const float cz = Cos(rz), sz = Sin(rz);
    const float scaleX = scale.x, scaleY = scale.y, scaleZ = scale.z;
    Matrix4 m;
    SetRow(m, 0, scaleX * cy * cz, scaleY * (sx * sy * cz - cx * sz),
           scaleZ * (sx * sz + cx * sy * cz), translation.x);
    SetRow(m, 1, scaleX * cy * sz, scaleY * (sx * sy * sz + cx * cz),
           scaleZ * (cx * sy * sz - sx * cz), translation.y);
    SetRow(m, 2, -scaleX * sy, scaleY * sx * cy, scaleZ * cx * cy, translation.z);
    return m;
}

Matrix4 BuildWorldMatrix(const Scene& scene) {
    return BuildWorldMatrix(scene.ModelRotation, scene.ModelScale, scene.ModelTranslation);
}

Matrix4 BuildViewMatrix(const Camera& camera) {
    Vec4 forward = SubVec(camera.Position, camera.Target);  // from the target to the eye
    if (forward.x == 0.0f && forward.y == 0.0f && forward.z == 0.0f) {
        forward = MakeVec4(0.0f, 0.0f, 1.0f);
    }
    const Vec4 n = Normalize(forward);
    const Vec4 u = Normalize(Cross(n, camera.Up));
    const Vec4 v = Cross(u, n);
    Matrix4 m;
    SetRow(m, 0, u.x, u.y, u.z, -Dot(camera.Position, u));
    SetRow(m, 1, v.x, v.y, v.z, -Dot(camera.Position, v));
    SetRow(m, 2, n.x, n.y, n.z, -Dot(camera.Position, n));
    return m;
}

}  // namespace maglorin
