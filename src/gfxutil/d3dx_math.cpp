// Vector and matrix operations: identity, translation, the three axis rotations, the
// product, the left-handed look-at and off-centre perspective matrices, and the vector
// normalisation the look-at uses.
//
// Only the plain versions exist: every operation computes its definition directly in single
// precision (sines and cosines are taken in double precision after bringing the angle into
// one turn, then stored as floats). No processor-specific variants and no dispatch table:
// the scene calls a handful of these per frame and they cost nanoseconds.
#include "gfxutil/d3dx_math.h"

#include <cmath>
#include <cstring>

#include "gfxutil/sin_cos.h"

namespace {

// Cosine and sine of an angle, as the floats the rotation matrices hold.
void RotationTerms(float angle, float* c, float* s) {
    double sine = 0.0, cosine = 0.0;
    SinCos(angle, &sine, &cosine);
    *c = static_cast<float>(cosine);
    *s = static_cast<float>(sine);
}

D3DXVECTOR3 Subtract(const D3DXVECTOR3& a, const D3DXVECTOR3& b) {
    return D3DXVECTOR3(a.x - b.x, a.y - b.y, a.z - b.z);
}

D3DXVECTOR3 Cross(const D3DXVECTOR3& a, const D3DXVECTOR3& b) {
    return D3DXVECTOR3(a.y * b.z - a.z * b.y, a.z * b.x - a.x * b.z, a.x * b.y - a.y * b.x);
}

float Dot(const D3DXVECTOR3& a, const D3DXVECTOR3& b) {
    return a.x * b.x + a.y * b.y + a.z * b.z;
}

}  // namespace

D3DXMATRIX* D3DXMatrixIdentity(D3DXMATRIX* out) {
    std::memset(out, 0, sizeof(*out));
    out->_11 = out->_22 = out->_33 = out->_44 = 1.0f;
    return out;
}

D3DXMATRIX* D3DXMatrixTranslation(D3DXMATRIX* out, float x, float y, float z) {
    D3DXMatrixIdentity(out);
    out->_41 = x;
    out->_42 = y;
    out->_43 = z;
    return out;
}

// The rotations turn clockwise for a positive angle, seen from the positive end of the
// axis: the left-handed sense.
D3DXMATRIX* D3DXMatrixRotationX(D3DXMATRIX* out, float angle) {
    float c, s;
    RotationTerms(angle, &c, &s);
    D3DXMatrixIdentity(out);
    out->_22 = c;  out->_23 = s;
    out->_32 = -s; out->_33 = c;
    return out;
}

D3DXMATRIX* D3DXMatrixRotationY(D3DXMATRIX* out, float angle) {
    float c, s;
    RotationTerms(angle, &c, &s);
    D3DXMatrixIdentity(out);
    out->_11 = c; out->_13 = -s;
    out->_31 = s; out->_33 = c;
    return out;
}

D3DXMATRIX* D3DXMatrixRotationZ(D3DXMATRIX* out, float angle) {
    float c, s;
    RotationTerms(angle, &c, &s);
    D3DXMatrixIdentity(out);
    out->_11 = c;  out->_12 = s;
    out->_21 = -s; out->_22 = c;
    return out;
}

// The product goes through a temporary, so out may be m1 or m2.
D3DXMATRIX* D3DXMatrixMultiply(D3DXMATRIX* out, const D3DXMATRIX* m1, const D3DXMATRIX* m2) {
    D3DXMATRIX product;
    for (int i = 0; i < 4; ++i) {
        for (int j = 0; j < 4; ++j) {
            product.m[i][j] = m1->m[i][0] * m2->m[0][j] + m1->m[i][1] * m2->m[1][j] +
                              m1->m[i][2] * m2->m[2][j] + m1->m[i][3] * m2->m[3][j];
        }
    }
    *out = product;
    return out;
}

// The squared length is summed in double precision: it neither overflows for large float
// components nor vanishes for tiny ones, so only a true zero vector gives (0, 0, 0).
D3DXVECTOR3* D3DXVec3Normalize(D3DXVECTOR3* out, const D3DXVECTOR3* v) {
    const double x = v->x, y = v->y, z = v->z;
    const double squared = x * x + y * y + z * z;
    if (squared == 0.0) {
        *out = D3DXVECTOR3(0.0f, 0.0f, 0.0f);
        return out;
    }
    const double inverse = 1.0 / std::sqrt(squared);
    *out = D3DXVECTOR3(static_cast<float>(x * inverse), static_cast<float>(y * inverse),
                       static_cast<float>(z * inverse));
    return out;
}

// Eye equal to target (or up along the view direction) leaves zero axes, not an error.
D3DXMATRIX* D3DXMatrixLookAtLH(D3DXMATRIX* out, const D3DXVECTOR3* eye, const D3DXVECTOR3* at,
                               const D3DXVECTOR3* up) {
    D3DXVECTOR3 zaxis, xaxis;
    const D3DXVECTOR3 view = Subtract(*at, *eye);
    D3DXVec3Normalize(&zaxis, &view);
    const D3DXVECTOR3 side = Cross(*up, zaxis);
    D3DXVec3Normalize(&xaxis, &side);
    const D3DXVECTOR3 yaxis = Cross(zaxis, xaxis);

    out->_11 = xaxis.x; out->_12 = yaxis.x; out->_13 = zaxis.x; out->_14 = 0.0f;
    out->_21 = xaxis.y; out->_22 = yaxis.y; out->_23 = zaxis.y; out->_24 = 0.0f;
    out->_31 = xaxis.z; out->_32 = yaxis.z; out->_33 = zaxis.z; out->_34 = 0.0f;
    out->_41 = -Dot(xaxis, *eye);
    out->_42 = -Dot(yaxis, *eye);
    out->_43 = -Dot(zaxis, *eye);
    out->_44 = 1.0f;
    return out;
}

// Maps the box between left and right, bottom and top at the near plane to -1..1 in x and
// y, and depth zNear..zFar to 0..1. Callers keep right != left and top != bottom.
D3DXMATRIX* D3DXMatrixPerspectiveOffCenterLH(D3DXMATRIX* out, float left, float right,
                                             float bottom, float top, float zNear, float zFar) {
    std::memset(out, 0, sizeof(*out));
    out->_11 = 2.0f * zNear / (right - left);
    out->_22 = 2.0f * zNear / (top - bottom);
    out->_31 = (left + right) / (left - right);
    out->_32 = (top + bottom) / (bottom - top);
    out->_33 = zFar / (zFar - zNear);
    out->_34 = 1.0f;
    out->_43 = zNear * zFar / (zNear - zFar);
    return out;
}
