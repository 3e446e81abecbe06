// The matrix operations: products, look-at and projection.
#include <gtest/gtest.h>

#include <cmath>

#include "gfxutil/d3dx_math.h"
#include "gfxutil/sin_cos.h"

namespace {

const float kHalfPi = 1.57079632679f;

D3DXVECTOR3 Apply(const D3DXVECTOR3& p, const D3DXMATRIX& m) {
    float r[4];
    for (int j = 0; j < 4; ++j) r[j] = p.x * m.m[0][j] + p.y * m.m[1][j] + p.z * m.m[2][j] + m.m[3][j];
    return D3DXVECTOR3(r[0] / r[3], r[1] / r[3], r[2] / r[3]);
}

void ExpectNear(const D3DXVECTOR3& v, float x, float y, float z, float tolerance = 1e-6f) {
    EXPECT_NEAR(v.x, x, tolerance);
    EXPECT_NEAR(v.y, y, tolerance);
    EXPECT_NEAR(v.z, z, tolerance);
}

void ExpectSame(const D3DXMATRIX& a, const D3DXMATRIX& b) {
    for (int i = 0; i < 16; ++i) EXPECT_EQ(a.m[i / 4][i % 4], b.m[i / 4][i % 4]) << i;
}

}  // namespace

TEST(MatrixMultiply, FirstFactorActsFirstAlsoIntoOneOfItsInputs) {
    D3DXMATRIX turn, move, product;
    D3DXMatrixRotationY(&turn, kHalfPi);
    D3DXMatrixTranslation(&move, 1, 2, 3);
    ExpectNear(Apply({0, 0, 1}, *D3DXMatrixMultiply(&product, &turn, &move)), 2, 2, 3);
    D3DXMATRIX intoFirst = turn, intoSecond = move;
    ExpectSame(*D3DXMatrixMultiply(&intoFirst, &intoFirst, &move), product);
    ExpectSame(*D3DXMatrixMultiply(&intoSecond, &turn, &intoSecond), product);
}

TEST(MatrixLookAt, FramesEyeAndTargetAndGivesZeroAxesForEyeOnTarget) {
    const D3DXVECTOR3 up(0, 1, 0), origin(0, 0, 0), back(0, 0, -1);
    D3DXMATRIX view, expected;
    ExpectSame(*D3DXMatrixLookAtLH(&view, &back, &origin, &up),
               *D3DXMatrixTranslation(&expected, 0, 0, 1));

    const D3DXVECTOR3 eye(0.3f, 0.7f, 1.47f), at(0, 0.2f, 0);
    D3DXMatrixLookAtLH(&view, &eye, &at, &up);
    ExpectNear(Apply(eye, view), 0, 0, 0);
    ExpectNear(Apply(at, view), 0, 0, std::sqrt(0.09f + 0.25f + 1.47f * 1.47f));

    D3DXMATRIX zero{};
    zero._44 = 1.0f;
    ExpectSame(*D3DXMatrixLookAtLH(&view, &eye, &eye, &up), zero);
}

TEST(MatrixPerspective, MapsTheNearBoxToTheUnitSquareAndDepthToZeroOne) {
    D3DXMATRIX m;
    D3DXMatrixPerspectiveOffCenterLH(&m, -0.2f, 0.6f, -0.3f, 0.1f, 0.5f, 100.0f);
    ExpectNear(Apply({0.6f, -0.3f, 0.5f}, m), 1, -1, 0);             // right, bottom, near
    ExpectNear(Apply({-40.0f, 20.0f, 100.0f}, m), -1, 1, 1, 1e-5f);  // left, top, far
    D3DXMatrixPerspectiveOffCenterLH(&m, -0.4f, 0.4f, -0.3f, 0.3f, 1.0f, 10.0f);
    EXPECT_EQ(m._31, 0.0f);
    EXPECT_EQ(m._32, 0.0f);
}
