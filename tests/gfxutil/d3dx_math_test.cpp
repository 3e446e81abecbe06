// The matrix operations: rotation sense, products (also into one of their own inputs),
// look-at frames, normalisation at the ends of the float range, the off-centre projection,
// and sines and cosines of large angles.
#include <gtest/gtest.h>

#include <cmath>

#include "gfxutil/d3dx_math.h"
#include "gfxutil/sin_cos.h"

namespace {

const float kHalfPi = 1.57079632679f;

struct Point4 { float x, y, z, w; };

// p x M for the row vector (x, y, z, 1).
Point4 Transform(float x, float y, float z, const D3DXMATRIX& m) {
    Point4 r;
    r.x = x * m._11 + y * m._21 + z * m._31 + m._41;
    r.y = x * m._12 + y * m._22 + z * m._32 + m._42;
    r.z = x * m._13 + y * m._23 + z * m._33 + m._43;
    r.w = x * m._14 + y * m._24 + z * m._34 + m._44;
    return r;
}

void ExpectPoint(const Point4& p, float x, float y, float z, float tolerance = 1e-6f) {
    EXPECT_NEAR(p.x, x, tolerance);
    EXPECT_NEAR(p.y, y, tolerance);
    EXPECT_NEAR(p.z, z, tolerance);
}

}  // namespace

TEST(MatrixRotation, QuarterTurnsTurnTheLeftHandedWay) {
    D3DXMATRIX m;
    ExpectPoint(Transform(0, 0, 1, *D3DXMatrixRotationY(&m, kHalfPi)), 1, 0, 0);
    ExpectPoint(Transform(0, 1, 0, *D3DXMatrixRotationX(&m, kHalfPi)), 0, 0, 1);
    ExpectPoint(Transform(1, 0, 0, *D3DXMatrixRotationZ(&m, kHalfPi)), 0, 1, 0);
    // The fourth row and column stay those of the identity.
    EXPECT_EQ(m._44, 1.0f);
    EXPECT_EQ(m._41 + m._42 + m._43 + m._14 + m._24 + m._34, 0.0f);
}

TEST(MatrixRotation, LargeAnglesKeepFullPrecision) {
    // A million radians: what eleven days of running time turns into.
    D3DXMATRIX m;
    D3DXMatrixRotationX(&m, 1e6f);
    EXPECT_NEAR(m._22, 0.9367521275331447, 1e-7);
    EXPECT_NEAR(m._23, -0.34999350217129294, 1e-7);
    double s = 0, c = 0;
    SinCos(1e9, &s, &c);
    EXPECT_NEAR(s, 0.5458434494486996, 1e-12);
    EXPECT_NEAR(c, 0.8378871813639024, 1e-12);
    SinCos(-123456789.0, &s, &c);
    EXPECT_NEAR(s, -0.9901147518020355, 1e-12);
    EXPECT_NEAR(c, 0.14025968153390964, 1e-12);
}

TEST(MatrixMultiply, FirstFactorActsFirstAndOutputMayBeAnInput) {
    D3DXMATRIX rotate, move, product;
    D3DXMatrixRotationY(&rotate, kHalfPi);
    D3DXMatrixTranslation(&move, 1, 2, 3);
    // Turn (0, 0, 1) to (1, 0, 0), then move it.
    ExpectPoint(Transform(0, 0, 1, *D3DXMatrixMultiply(&product, &rotate, &move)), 2, 2, 3);

    D3DXMATRIX left = rotate, right = move;
    D3DXMatrixMultiply(&left, &left, &move);
    D3DXMatrixMultiply(&right, &rotate, &right);
    for (int i = 0; i < 16; ++i) {
        EXPECT_EQ(left.m[i / 4][i % 4], product.m[i / 4][i % 4]);
        EXPECT_EQ(right.m[i / 4][i % 4], product.m[i / 4][i % 4]);
    }
}

TEST(MatrixLookAt, LooksDownPositiveZFromOneUnitBack) {
    const D3DXVECTOR3 eye(0, 0, -1), at(0, 0, 0), up(0, 1, 0);
    D3DXMATRIX view, expected;
    D3DXMatrixLookAtLH(&view, &eye, &at, &up);
    D3DXMatrixTranslation(&expected, 0, 0, 1);
    for (int i = 0; i < 16; ++i) EXPECT_EQ(view.m[i / 4][i % 4], expected.m[i / 4][i % 4]);
}

TEST(MatrixLookAt, PutsTheEyeAtTheOriginAndTheTargetOnPositiveZ) {
    const D3DXVECTOR3 eye(0.3f, 0.7f, 1.47f), at(0, 0.2f, 0), up(0, 1, 0);
    D3DXMATRIX view;
    D3DXMatrixLookAtLH(&view, &eye, &at, &up);
    ExpectPoint(Transform(eye.x, eye.y, eye.z, view), 0, 0, 0);
    const float distance = std::sqrt(0.09f + 0.25f + 1.47f * 1.47f);
    ExpectPoint(Transform(at.x, at.y, at.z, view), 0, 0, distance);
}

TEST(MatrixLookAt, EyeOnTheTargetGivesZeroAxes) {
    const D3DXVECTOR3 eye(1, 2, 3), up(0, 1, 0);
    D3DXMATRIX view;
    D3DXMatrixLookAtLH(&view, &eye, &eye, &up);
    for (int i = 0; i < 15; ++i) EXPECT_EQ(view.m[i / 4][i % 4], 0.0f) << i;
    EXPECT_EQ(view._44, 1.0f);
}

TEST(VectorNormalize, WorksAcrossTheFloatRangeAndLeavesZeroAlone) {
    const D3DXVECTOR3 inputs[] = {{3, 4, 0}, {0, 0, 3e30f}, {-1e-30f, 0, 0}, {0, 0, 0}};
    const D3DXVECTOR3 expected[] = {{0.6f, 0.8f, 0}, {0, 0, 1}, {-1, 0, 0}, {0, 0, 0}};
    for (int i = 0; i < 4; ++i) {
        D3DXVECTOR3 v;
        D3DXVec3Normalize(&v, &inputs[i]);
        EXPECT_NEAR(v.x, expected[i].x, 1e-7f) << i;
        EXPECT_NEAR(v.y, expected[i].y, 1e-7f) << i;
        EXPECT_NEAR(v.z, expected[i].z, 1e-7f) << i;
    }
}

TEST(MatrixPerspective, MapsTheNearBoxToTheUnitSquareAndDepthToZeroOne) {
    D3DXMATRIX m;
    D3DXMatrixPerspectiveOffCenterLH(&m, -0.2f, 0.6f, -0.3f, 0.1f, 0.5f, 100.0f);
    Point4 p = Transform(0.6f, -0.3f, 0.5f, m);  // right, bottom, near
    ExpectPoint({p.x / p.w, p.y / p.w, p.z / p.w, 1}, 1, -1, 0);
    p = Transform(-0.2f * 200, 0.1f * 200, 100.0f, m);  // left, top, far
    ExpectPoint({p.x / p.w, p.y / p.w, p.z / p.w, 1}, -1, 1, 1, 1e-5f);

    D3DXMatrixPerspectiveOffCenterLH(&m, -0.4f, 0.4f, -0.3f, 0.3f, 1.0f, 10.0f);
    EXPECT_EQ(m._31, 0.0f);
    EXPECT_EQ(m._32, 0.0f);
}
