// FakeDevice and its resources (see fake_device.h).
#include "doubles/fake_device.h"

#include <algorithm>

HRESULT NextResult(std::deque<HRESULT>& queue, HRESULT sticky) {
    if (queue.empty()) return sticky;
    HRESULT result = queue.front();
    queue.pop_front();
    return result;
}

// ---- Vertex buffer and texture ---------------------------------------------------------
FakeVertexBuffer::FakeVertexBuffer(FakeDevice* device_, UINT length, D3DPOOL pool_)
    : device(device_), pool(pool_), memory(length, 0) {
    device->AddRef();
}

FakeVertexBuffer::~FakeVertexBuffer() { device->Release(); }

HRESULT FakeVertexBuffer::Lock(UINT offset, UINT size, BYTE** data, DWORD) {
    HRESULT result = NextResult(device->vertexBufferLockResults);
    if (FAILED(result)) return result;
    if (locked || offset > memory.size() || size > memory.size() - offset) return D3DERR_INVALIDCALL;
    locked = true;
    *data = memory.data() + offset;
    return D3D_OK;
}

FakeTexture::FakeTexture(FakeDevice* device_, UINT width, UINT height, UINT levelCount,
                         D3DFORMAT format_, D3DPOOL pool_)
    : device(device_), format(format_), pool(pool_) {
    device->AddRef();
    for (UINT i = 0; levelCount == 0 || i < levelCount; i++) {
        levels.emplace_back(new MemorySurface(width, height, format, pool, this));
        if (width == 1 && height == 1) break;
        width = std::max(width / 2, 1u);
        height = std::max(height / 2, 1u);
    }
}

FakeTexture::~FakeTexture() { device->Release(); }

HRESULT FakeTexture::GetSurfaceLevel(UINT level, IDirect3DSurface8** surface) {
    *surface = nullptr;
    HRESULT result = level < levels.size() ? NextResult(device->surfaceLevelResults) : D3DERR_INVALIDCALL;
    if (FAILED(result)) return result;
    levels[level]->AddRef();
    *surface = levels[level].get();
    return D3D_OK;
}

// ---- Device -------------------------------------------------------------------------
FakeDevice::FakeDevice(IDirect3D8* direct3d, HWND focusWindow_, const D3DPRESENT_PARAMETERS& params)
    : focusWindow(focusWindow_), presentParams(params), direct3d_(direct3d) {
    direct3d_->AddRef();
    renderStates = {{D3DRS_ZENABLE, params.EnableAutoDepthStencil}, {D3DRS_ZWRITEENABLE, TRUE},
                    {D3DRS_ALPHABLENDENABLE, FALSE}, {D3DRS_SRCBLEND, D3DBLEND_ONE},
                    {D3DRS_DESTBLEND, D3DBLEND_ZERO}, {D3DRS_CULLMODE, D3DCULL_CCW}};
    MakeBackBuffer();
}

// A windowed device of size 0 takes its window's client size, as Direct3D does.
void FakeDevice::MakeBackBuffer() {
    RECT client = {0, 0, LONG(presentParams.BackBufferWidth), LONG(presentParams.BackBufferHeight)};
    if (presentParams.Windowed && (!client.right || !client.bottom))
        ::GetClientRect(presentParams.hDeviceWindow ? presentParams.hDeviceWindow : focusWindow, &client);
    backBuffer_.reset(new MemorySurface(UINT(client.right), UINT(client.bottom),
                                        presentParams.BackBufferFormat, D3DPOOL_DEFAULT, this));
}

HRESULT FakeDevice::Reset(D3DPRESENT_PARAMETERS* params) {
    Note("Reset");
    if (SUCCEEDED(resetResult)) {
        presentParams = *params;
        MakeBackBuffer();
    }
    return resetResult;
}

HRESULT FakeDevice::CreateTexture(UINT width, UINT height, UINT levels, DWORD, D3DFORMAT format,
                                  D3DPOOL pool, IDirect3DTexture8** created) {
    HRESULT result = NextResult(createTextureResults);
    *created = SUCCEEDED(result) ? new FakeTexture(this, width, height, levels, format, pool) : nullptr;
    return result;
}

HRESULT FakeDevice::CreateVertexBuffer(UINT length, DWORD, DWORD, D3DPOOL pool,
                                       IDirect3DVertexBuffer8** buffer) {
    HRESULT result = NextResult(createVertexBufferResults);
    *buffer = SUCCEEDED(result) ? new FakeVertexBuffer(this, length, pool) : nullptr;
    return result;
}
