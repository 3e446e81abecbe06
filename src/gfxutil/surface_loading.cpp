// Surface loading.
//
// PENDING: filled by its own issue; this placeholder only keeps the program linking.
#include "gfxutil/d3dx_surface.h"

HRESULT D3DXLoadSurfaceFromResourceA(IDirect3DSurface8*, const PALETTEENTRY*, const RECT*, HMODULE, LPCSTR, const RECT*, DWORD, D3DCOLOR, D3DXIMAGE_INFO*) { return E_NOTIMPL; }
