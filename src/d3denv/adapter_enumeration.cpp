// Adapter, device and mode enumeration.
//
// PENDING: filled by its own issue; this placeholder only keeps the program linking.
#include <new>

#include "host/saver.h"

HRESULT Saver::EnumerateAdapters() { return S_OK; }
bool Saver::FindDepthStencilFormat(UINT, D3DDEVTYPE, D3DFORMAT, D3DFORMAT*) { return false; }
HRESULT Saver::CheckWindowedFormat(UINT, D3DFORMAT, DWORD*, D3DFORMAT*) { return E_FAIL; }
bool Saver::ChooseBehavior(const D3DCAPS8&, D3DFORMAT, DWORD*) { return false; }
void Saver::FreeAdapters() {
    for (UINT a = 0; a < adapterCount && a < kMaxAdapters; a++) {
        delete adapters[a];
        adapters[a] = nullptr;
    }
    adapterCount = 0;
}
