// Vector and matrix operations.
//
// PENDING: filled by its own issue; this placeholder only keeps the program linking.
#include <cstring>

#include "gfxutil/d3dx_math.h"

D3DXMATRIX* D3DXMatrixIdentity(D3DXMATRIX* out) {
    std::memset(out, 0, sizeof(*out));
    out->_11 = out->_22 = out->_33 = out->_44 = 1.0f;
    return out;
}
D3DXMATRIX* D3DXMatrixTranslation(D3DXMATRIX* out, float x, float y, float z) {
    D3DXMatrixIdentity(out);
    out->_41 = x; out->_42 = y; out->_43 = z;
    return out;
}
