// The still renderer's use of the scene. The host's own fields do the work they do for
// several monitors: windowRect is the whole picture, renderRect the tile being drawn, and
// SetProjection gives each tile its part of the one view. Only the device and the render
// target are made here; the scene's objects, motion and drawing are the program's own.
#include "still_render.h"

#include <algorithm>
#include <cstdio>

#include "host/direct3d_loader.h"
#include "host/release.h"
#include "scene/sky_scene.h"

namespace {

constexpr int kLargestTile = 2048;   // sides of one render target at most
constexpr int kSmallestTile = 64;

std::string Failure(const char* what, HRESULT code) {
    char text[160];
    std::snprintf(text, sizeof(text), "%s (error 0x%08lX)", what, static_cast<unsigned long>(code));
    return text;
}

// The render target and its depth buffer, one tile in size; both released together.
struct Tile {
    int width = 0, height = 0;
    IDirect3DSurface8* colour = nullptr;
    IDirect3DSurface8* depth = nullptr;
    ~Tile() {
        ReleaseAndClear(depth);
        ReleaseAndClear(colour);
    }
};

// The side of the fewest equal tiles of at most `largest` that cover `length`.
int TileSide(int length, int largest) {
    const int count = (length + largest - 1) / largest;
    return (length + count - 1) / count;
}

// Equal tiles of at most kLargestTile on a side that cover the picture, made smaller
// while the device refuses them.
HRESULT CreateTile(SkyScene& scene, D3DFORMAT depthFormat, int width, int height, Tile* tile) {
    HRESULT hr = E_FAIL;
    for (int largest = kLargestTile; largest >= kSmallestTile; largest /= 2) {
        tile->width = TileSide(width, largest);
        tile->height = TileSide(height, largest);
        IDirect3DDevice8* device = scene.activeDevice;
        hr = device->CreateRenderTarget(tile->width, tile->height, D3DFMT_X8R8G8B8,
                                        D3DMULTISAMPLE_NONE, TRUE, &tile->colour);
        if (SUCCEEDED(hr))
            hr = device->CreateDepthStencilSurface(tile->width, tile->height, depthFormat,
                                                   D3DMULTISAMPLE_NONE, &tile->depth);
        if (SUCCEEDED(hr)) hr = device->SetRenderTarget(tile->colour, tile->depth);
        if (SUCCEEDED(hr)) return hr;
        ReleaseAndClear(tile->depth);
        ReleaseAndClear(tile->colour);
    }
    return hr;
}

// Copies the tile's pixels that fall inside the picture to their place in rgb.
HRESULT ReadTile(const Tile& tile, int left, int top, int width, int height,
                 std::vector<std::uint8_t>* rgb) {
    D3DLOCKED_RECT locked = {};
    HRESULT hr = tile.colour->LockRect(&locked, nullptr, D3DLOCK_READONLY);
    if (FAILED(hr)) return hr;
    const int columns = std::min(tile.width, width - left), rows = std::min(tile.height, height - top);
    for (int y = 0; y < rows; ++y) {
        const BYTE* bgrx = static_cast<const BYTE*>(locked.pBits) + size_t(y) * locked.Pitch;
        std::uint8_t* out = rgb->data() + (size_t(top + y) * width + left) * 3;
        for (int x = 0; x < columns; ++x, bgrx += 4, out += 3) {
            out[0] = bgrx[2];
            out[1] = bgrx[1];
            out[2] = bgrx[0];
        }
    }
    tile.colour->UnlockRect();
    return S_OK;
}

// A hidden window and a windowed device on the default adapter, made the scene's one
// render unit, with the scene's objects built on it in 32-bit colour.
bool CreateUnit(SkyScene& scene, HWND window, std::string* error) {
    scene.direct3d = CreateDirect3D();
    if (!scene.direct3d) {
        *error = "Direct3D 8 is not available";
        return false;
    }
    D3DDISPLAYMODE desktop = {};
    scene.direct3d->GetAdapterDisplayMode(D3DADAPTER_DEFAULT, &desktop);
    D3DPRESENT_PARAMETERS& params = scene.units[0].presentParams;
    params = {kSmallestTile, kSmallestTile, desktop.Format, 1, D3DMULTISAMPLE_NONE,
              D3DSWAPEFFECT_DISCARD, window, TRUE, FALSE, D3DFMT_UNKNOWN, 0, 0, 0};
    HRESULT hr = scene.direct3d->CreateDevice(D3DADAPTER_DEFAULT, D3DDEVTYPE_HAL, window,
                                              D3DCREATE_SOFTWARE_VERTEXPROCESSING, &params,
                                              &scene.units[0].device);
    if (FAILED(hr)) {
        *error = Failure("cannot create a Direct3D device", hr);
        return false;
    }
    scene.unitCount = 1;
    scene.windowed = 1;
    scene.SelectRenderUnit(0);
    scene.backBufferDesc.Format = D3DFMT_X8R8G8B8;   // the textures match the render target
    hr = scene.RestoreSceneObjects();
    if (FAILED(hr)) {
        *error = Failure("cannot build the scene's geometry and textures", hr);
        return false;
    }
    scene.units[0].objectsRestored = 1;
    return true;
}

// Draws every tile of the picture at the scene's current motion.
bool DrawTiles(SkyScene& scene, int width, int height, std::vector<std::uint8_t>* rgb,
               std::string* error) {
    D3DFORMAT depthFormat = D3DFMT_D16;
    scene.FindDepthStencilFormat(D3DADAPTER_DEFAULT, D3DDEVTYPE_HAL, D3DFMT_X8R8G8B8, &depthFormat);
    Tile tile;
    HRESULT hr = CreateTile(scene, depthFormat, width, height, &tile);
    if (FAILED(hr)) {
        *error = Failure("cannot create a render target", hr);
        return false;
    }
    // Each tile is a monitor of the one view: the host's projection gives it the rows and
    // columns of the view that it covers. One tile is the whole window's view.
    scene.windowRect = {0, 0, width, height};
    for (int top = 0; top < height; top += tile.height) {
        for (int left = 0; left < width; left += tile.width) {
            scene.renderRect = {left, top, left + tile.width, top + tile.height};
            scene.DrawScene();
            hr = ReadTile(tile, left, top, width, height, rgb);
            if (FAILED(hr)) {
                *error = Failure("cannot read the picture back", hr);
                return false;
            }
        }
    }
    return true;
}

}  // namespace

bool RenderStill(const StillOptions& options, std::vector<std::uint8_t>* rgb, std::string* error) {
    HWND window = ::CreateWindowExA(0, "STATIC", "cirrane-still", WS_POPUP, 0, 0, kSmallestTile,
                                    kSmallestTile, nullptr, nullptr, nullptr, nullptr);
    if (!window) {
        *error = "cannot create a window";
        return false;
    }
    SkyScene scene;
    scene.cameraPath = options.cameraPath;
    scene.cubeAnimation = options.cubeAnimation;
    scene.skySpeed = float(options.skySpeedLevel) * 0.1f;
    scene.time = options.time;
    rgb->assign(size_t(options.width) * options.height * 3, 0);
    bool drawn = CreateUnit(scene, window, error);
    if (drawn) {
        scene.AdvanceScene();
        drawn = DrawTiles(scene, options.width, options.height, rgb, error);
    }
    scene.ReleaseEnvironment();   // the scene's objects, the device, Direct3D
    ::DestroyWindow(window);
    return drawn;
}
