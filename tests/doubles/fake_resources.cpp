// The resources of FakeDevice: vertex buffers, textures and surfaces backed by real memory
// (see fake_device.h).
#include "doubles/fake_device.h"

UINT FakeBytesPerPixel(D3DFORMAT format) {
    switch (format) {
    case D3DFMT_A8R8G8B8: case D3DFMT_X8R8G8B8: case D3DFMT_A2B10G10R10:
    case D3DFMT_G16R16: case D3DFMT_D32: case D3DFMT_D24S8: case D3DFMT_D24X8:
    case D3DFMT_D24X4S4:
        return 4;
    case D3DFMT_R8G8B8:
        return 3;
    case D3DFMT_R5G6B5: case D3DFMT_X1R5G5B5: case D3DFMT_A1R5G5B5: case D3DFMT_A4R4G4B4:
    case D3DFMT_X4R4G4B4: case D3DFMT_A8R3G3B2: case D3DFMT_A8P8: case D3DFMT_A8L8:
    case D3DFMT_D16: case D3DFMT_D15S1: case D3DFMT_D16_LOCKABLE:
        return 2;
    case D3DFMT_R3G3B2: case D3DFMT_A8: case D3DFMT_P8: case D3DFMT_L8: case D3DFMT_A4L4:
        return 1;
    default:
        return 0;
    }
}

HRESULT NextResult(std::deque<HRESULT>& queue, HRESULT sticky) {
    if (queue.empty()) return sticky;
    HRESULT result = queue.front();
    queue.pop_front();
    return result;
}

HRESULT FakeGetDevice(FakeDevice* device, IDirect3DDevice8** out) {
    if (!out) return D3DERR_INVALIDCALL;
    device->AddRef();
    *out = device;
    return D3D_OK;
}

namespace {
FakeTexture::Level MakeLevel(UINT width, UINT height, D3DFORMAT format, UINT rowPadding) {
    UINT pitch = (width * FakeBytesPerPixel(format) + rowPadding + 3) & ~3u;
    return {width, height, pitch, std::vector<BYTE>(size_t(pitch) * height, 0)};
}

void Describe(const FakeTexture::Level& level, D3DFORMAT format, DWORD usage, D3DPOOL pool,
              D3DSURFACE_DESC* desc) {
    *desc = {format, D3DRTYPE_SURFACE, usage, pool, UINT(level.memory.size()),
             D3DMULTISAMPLE_NONE, level.width, level.height};
}

HRESULT LockLevelMemory(FakeTexture::Level& level, D3DFORMAT format, D3DLOCKED_RECT* locked,
                        const RECT* rect) {
    if (!locked || level.locked) return D3DERR_INVALIDCALL;
    size_t offset = 0;
    if (rect) {
        if (rect->left < 0 || rect->top < 0 || rect->left >= rect->right ||
            rect->top >= rect->bottom || UINT(rect->right) > level.width ||
            UINT(rect->bottom) > level.height)
            return D3DERR_INVALIDCALL;
        offset = size_t(rect->top) * level.pitch + size_t(rect->left) * FakeBytesPerPixel(format);
    }
    level.locked = true;
    *locked = {INT(level.pitch), level.memory.data() + offset};
    return D3D_OK;
}

HRESULT UnlockLevelMemory(FakeTexture::Level& level) {
    if (!level.locked) return D3DERR_INVALIDCALL;
    level.locked = false;
    return D3D_OK;
}
}  // namespace

// ---- FakeVertexBuffer -----------------------------------------------------------------
FakeVertexBuffer::FakeVertexBuffer(FakeDevice* device, UINT length, DWORD usage_, DWORD fvf_,
                                   D3DPOOL pool_)
    : memory(length, 0), usage(usage_), fvf(fvf_), pool(pool_), device_(device) {
    device_->AddRef();
    label = "vb#" + std::to_string(++device_->vertexBuffersCreated);
}

FakeVertexBuffer::~FakeVertexBuffer() { device_->Release(); }

HRESULT FakeVertexBuffer::Lock(UINT offset, UINT size, BYTE** data, DWORD flags) {
    device_->Record("%s.Lock(%u,%u,%lu)", label.c_str(), offset, size, flags);
    if (!data) return D3DERR_INVALIDCALL;
    *data = nullptr;
    HRESULT result = NextResult(device_->vertexBufferLockResults);
    if (FAILED(result)) return result;
    if (locked || offset > memory.size() || size > memory.size() - offset)
        return D3DERR_INVALIDCALL;
    locked = true;
    lockCount++;
    *data = memory.data() + offset;
    return D3D_OK;
}

HRESULT FakeVertexBuffer::Unlock() {
    device_->Record("%s.Unlock()", label.c_str());
    if (!locked) return D3DERR_INVALIDCALL;
    locked = false;
    return D3D_OK;
}

HRESULT FakeVertexBuffer::GetDesc(D3DVERTEXBUFFER_DESC* desc) {
    if (!desc) return D3DERR_INVALIDCALL;
    *desc = {D3DFMT_VERTEXDATA, D3DRTYPE_VERTEXBUFFER, usage, pool, UINT(memory.size()), fvf};
    return D3D_OK;
}

// ---- FakeTexture ----------------------------------------------------------------------
FakeTexture::FakeTexture(FakeDevice* device, UINT width, UINT height, UINT levelCount,
                         DWORD usage_, D3DFORMAT format_, D3DPOOL pool_)
    : usage(usage_), format(format_), pool(pool_), device_(device) {
    device_->AddRef();
    label = "texture#" + std::to_string(++device_->texturesCreated);
    // Level count 0 asks for the whole chain down to 1 x 1.
    for (UINT i = 0; levelCount == 0 || i < levelCount; i++) {
        levels.push_back(MakeLevel(width, height, format, device_->rowPadding));
        if (width == 1 && height == 1) break;
        width = width > 1 ? width / 2 : 1;
        height = height > 1 ? height / 2 : 1;
    }
}

FakeTexture::~FakeTexture() { device_->Release(); }

void FakeTexture::DescribeLevel(UINT level, D3DSURFACE_DESC* desc) const {
    Describe(levels[level], format, usage, pool, desc);
}

HRESULT FakeTexture::GetLevelDesc(UINT level, D3DSURFACE_DESC* desc) {
    if (level >= levels.size() || !desc) return D3DERR_INVALIDCALL;
    DescribeLevel(level, desc);
    return D3D_OK;
}

HRESULT FakeTexture::GetSurfaceLevel(UINT level, IDirect3DSurface8** surface) {
    device_->Record("%s.GetSurfaceLevel(%u)", label.c_str(), level);
    if (!surface) return D3DERR_INVALIDCALL;
    *surface = level < levels.size() ? new FakeSurface(this, level) : nullptr;
    return *surface ? D3D_OK : D3DERR_INVALIDCALL;
}

HRESULT FakeTexture::LockLevel(UINT level, D3DLOCKED_RECT* locked, const RECT* rect) {
    HRESULT result = NextResult(device_->lockRectResults);
    if (FAILED(result)) return result;
    if (level >= levels.size()) return D3DERR_INVALIDCALL;
    return LockLevelMemory(levels[level], format, locked, rect);
}

HRESULT FakeTexture::UnlockLevel(UINT level) {
    return level < levels.size() ? UnlockLevelMemory(levels[level]) : D3DERR_INVALIDCALL;
}

HRESULT FakeTexture::LockRect(UINT level, D3DLOCKED_RECT* locked, const RECT* rect, DWORD flags) {
    device_->Record("%s.LockRect(%u,%lu)", label.c_str(), level, flags);
    return LockLevel(level, locked, rect);
}

HRESULT FakeTexture::UnlockRect(UINT level) {
    device_->Record("%s.UnlockRect(%u)", label.c_str(), level);
    return UnlockLevel(level);
}

// ---- FakeSurface ----------------------------------------------------------------------
FakeSurface::FakeSurface(FakeDevice* device, UINT width, UINT height, D3DFORMAT format,
                         D3DPOOL pool, DWORD usage, const char* name)
    : label(name), device_(device), format_(format), pool_(pool), usage_(usage) {
    device_->AddRef();
    own = MakeLevel(width, height, format, device_->rowPadding);
}

FakeSurface::FakeSurface(FakeTexture* texture, UINT level)
    : device_(texture->Device()), texture_(texture), level_(level) {
    texture_->AddRef();
    label = texture_->label + ".level" + std::to_string(level);
}

FakeSurface::~FakeSurface() {
    if (texture_)
        texture_->Release();
    else
        device_->Release();
}

HRESULT FakeSurface::GetContainer(REFIID, void** container) {
    if (!container) return D3DERR_INVALIDCALL;
    *container = nullptr;
    if (!texture_) return E_NOINTERFACE;
    texture_->AddRef();
    *container = static_cast<IDirect3DTexture8*>(texture_);
    return D3D_OK;
}

HRESULT FakeSurface::GetDesc(D3DSURFACE_DESC* desc) {
    if (!desc) return D3DERR_INVALIDCALL;
    if (texture_)
        texture_->DescribeLevel(level_, desc);
    else
        Describe(own, format_, usage_, pool_, desc);
    return D3D_OK;
}

HRESULT FakeSurface::LockRect(D3DLOCKED_RECT* locked, const RECT* rect, DWORD flags) {
    device_->Record("%s.LockRect(%lu)", label.c_str(), flags);
    if (texture_) return texture_->LockLevel(level_, locked, rect);
    HRESULT result = NextResult(device_->lockRectResults);
    if (FAILED(result)) return result;
    return LockLevelMemory(own, format_, locked, rect);
}

HRESULT FakeSurface::UnlockRect() {
    device_->Record("%s.UnlockRect()", label.c_str());
    return texture_ ? texture_->UnlockLevel(level_) : UnlockLevelMemory(own);
}
