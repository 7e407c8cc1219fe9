#pragma once
// The viewer's small linear-algebra library over Vec4 and Matrix4: right-handed coordinates,
// column vectors (x' = m00*x + m01*y + m02*z + m03*w), single-precision results. Angles are
// degrees at the scene's interfaces and radians inside the trigonometry.
//
// The w rule: constructors, sums, differences and the cross product give w = 1 (points); scaling
// by a scalar gives w = 0; normalising keeps the input's w.

#include "scene/scene.h"
#include "scene/scene_records.h"

namespace maglorin {

float DegToRad(float degrees);
Vec4 MakeVec4(float x, float y, float z);
Vec4 AddScalar(const Vec4& v, float s);
Vec4 SubScalar(const Vec4& v, float s);
Vec4 AddVec(const Vec4& a, const Vec4& b);
Vec4 SubVec(const Vec4& a, const Vec4& b);
Vec4 ScaleVec(const Vec4& v, float s);
float Length(const Vec4& v);
// A zero vector stays zero (its length is taken as 1).
Vec4 Normalize(const Vec4& v);
float Dot(const Vec4& a, const Vec4& b);
Vec4 Cross(const Vec4& a, const Vec4& b);
float CosAngle(const Vec4& a, const Vec4& b);
// Mirror image of v about the normal n when v points against n; otherwise (0, 0, 0, 0).
Vec4 Reflect(const Vec4& v, const Vec4& n);
float Distance(const Vec4& a, const Vec4& b);
// Unnormalised normal of the triangle p, q, r: (p - q) x (r - q).
Vec4 FaceNormal(const Vec4& p, const Vec4& q, const Vec4& r);

Matrix4 IdentityMatrix();
Matrix4 RotationZ(float radians);
Vec4 MatVecMul(const Matrix4& m, const Vec4& v);
// B * A over the upper three rows, both bottom rows taken as (0, 0, 0, 1); the result's bottom
// row is (0, 0, 0, 0).
Matrix4 MatMulAffine(const Matrix4& a, const Matrix4& b);

// T * Rz * Ry * Rx * S from ModelRotation (degrees), ModelScale and ModelTranslation: the model
// is scaled, turned about x, then y, then z, then moved. Bottom row (0, 0, 0, 0).
Matrix4 BuildWorldMatrix(const Vec4& rotation, const Vec4& scale, const Vec4& translation);
Matrix4 BuildWorldMatrix(const Scene& scene);
// Look-at matrix of the camera's Position, Target and Up; the view looks down -z.
Matrix4 BuildViewMatrix(const Camera& camera);

}  // namespace maglorin
