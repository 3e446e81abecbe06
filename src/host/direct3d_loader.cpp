// Run-time loading of d3d8.dll (see direct3d_loader.h).
#include "host/direct3d_loader.h"

#include "host/system_library.h"

namespace {

typedef IDirect3D8*(WINAPI* Direct3DCreate8Fn)(UINT sdkVersion);

IDirect3D8* CreateRealDirect3D() {
    // Loaded once and kept: devices made from the object need the module until exit.
    static HMODULE d3d8Module = LoadSystemLibrary("d3d8.dll");
    if (!d3d8Module) return nullptr;
    auto create = reinterpret_cast<Direct3DCreate8Fn>(
        reinterpret_cast<void*>(::GetProcAddress(d3d8Module, "Direct3DCreate8")));
    return create ? create(D3D_SDK_VERSION) : nullptr;
}

Direct3DFactory currentFactory = nullptr;

}  // namespace

IDirect3D8* CreateDirect3D() {
    return currentFactory ? currentFactory() : CreateRealDirect3D();
}

void SetDirect3DFactory(Direct3DFactory factory) { currentFactory = factory; }
