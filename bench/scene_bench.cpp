// Benchmark: the cost of the scene's device objects and of one frame.
//
// On the platform's Direct3D 8 (a 600 x 400 window, needs a display): the median time of
// RestoreSceneObjects (geometry and all four textures from their bitmaps), of BuildGeometry
// alone, and of one DrawScene without presenting; every C++ allocation is counted
// (allocation_counter.cpp) over many frames to show that drawing allocates nothing.
// On the recording test device: the median time of one DrawScene, the device's own
// recording of every call included.
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <new>
#include <vector>

#include "doubles/fake_direct3d.h"
#include "host/direct3d_loader.h"
#include "host/release.h"
#include "allocation_counter.h"
#include "scene/sky_scene.h"

namespace {

double Seconds() {
    LARGE_INTEGER now, frequency;
    ::QueryPerformanceCounter(&now);
    ::QueryPerformanceFrequency(&frequency);
    return double(now.QuadPart) / double(frequency.QuadPart);
}

// Median milliseconds of `runs` calls of `step`.
template <class Step>
double MedianMs(int runs, Step step) {
    std::vector<double> times;
    times.reserve(runs);
    for (int i = 0; i < runs; ++i) {
        const double start = Seconds();
        step();
        times.push_back((Seconds() - start) * 1000.0);
    }
    std::sort(times.begin(), times.end());
    return times[times.size() / 2];
}

HWND MakeWindow() {
    WNDCLASSA windowClass = {};
    windowClass.lpfnWndProc = ::DefWindowProcA;
    windowClass.hInstance = ::GetModuleHandleA(nullptr);
    windowClass.lpszClassName = "CirraneSceneBench";
    ::RegisterClassA(&windowClass);
    RECT frame = {0, 0, 600, 400};
    ::AdjustWindowRect(&frame, WS_OVERLAPPEDWINDOW, FALSE);
    return ::CreateWindowExA(0, "CirraneSceneBench", "scene bench", WS_OVERLAPPEDWINDOW | WS_VISIBLE,
                             40, 40, frame.right - frame.left, frame.bottom - frame.top, nullptr,
                             nullptr, windowClass.hInstance, nullptr);
}

// One windowed unit on the default adapter, selected; false when there is no device.
bool MakeRealUnit(SkyScene& scene, HWND window) {
    scene.direct3d = CreateDirect3D();
    if (!scene.direct3d) return false;
    D3DDISPLAYMODE desktop = {};
    scene.direct3d->GetAdapterDisplayMode(D3DADAPTER_DEFAULT, &desktop);
    RenderUnit& unit = scene.units[0];
    unit.presentParams.BackBufferFormat = desktop.Format;
    unit.presentParams.BackBufferCount = 1;
    unit.presentParams.SwapEffect = D3DSWAPEFFECT_COPY;
    unit.presentParams.hDeviceWindow = window;
    unit.presentParams.Windowed = TRUE;
    unit.presentParams.EnableAutoDepthStencil = TRUE;
    unit.presentParams.AutoDepthStencilFormat = D3DFMT_D16;
    if (FAILED(scene.direct3d->CreateDevice(D3DADAPTER_DEFAULT, D3DDEVTYPE_HAL, window,
                                            D3DCREATE_SOFTWARE_VERTEXPROCESSING,
                                            &unit.presentParams, &unit.device)))
        return false;
    scene.unitCount = 1;
    scene.windowed = 1;
    ::GetClientRect(window, &scene.windowRect);
    scene.renderRect = scene.windowRect;
    scene.SelectRenderUnit(0);
    return true;
}

void RealDevice() {
    SkyScene scene;
    HWND window = MakeWindow();
    if (!window || !MakeRealUnit(scene, window)) {
        std::printf("real device: none (is there a display?)\n");
        ReleaseAndClear(scene.direct3d);
        return;
    }
    std::printf("real device (600 x 400 window, format %d)\n", int(scene.backBufferDesc.Format));
    std::printf("  RestoreSceneObjects  median %.2f ms (15 runs)\n",
                MedianMs(15, [&] { scene.RestoreSceneObjects(); }));
    std::printf("  BuildGeometry        median %.3f ms (15 runs)\n",
                MedianMs(15, [&] { scene.BuildGeometry(); }));
    scene.time = 3.0;
    scene.AdvanceScene();
    scene.DrawScene();   // the first frame uploads the managed objects
    std::printf("  DrawScene            median %.3f ms (200 runs, not presented)\n",
                MedianMs(200, [&] { scene.DrawScene(); }));
    const long before = AllocationCount();
    for (int i = 0; i < 500; ++i) {
        scene.time = 3.0 + i * 0.016;
        scene.AdvanceScene();
        scene.DrawScene();
        scene.activeDevice->Present(nullptr, nullptr, nullptr, nullptr);
    }
    std::printf("  C++ allocations over 500 advanced, drawn and presented frames: %ld\n",
                AllocationCount() - before);
    scene.ReleaseSceneObjects();
    ReleaseAndClear(scene.units[0].device);
    scene.activeDevice = nullptr;
    ReleaseAndClear(scene.direct3d);
    ::DestroyWindow(window);
}

void RecordingDevice() {
    FakeRef<FakeDirect3D> d3d(new FakeDirect3D);
    SkyScene scene;
    D3DPRESENT_PARAMETERS params = {};
    params.BackBufferWidth = 600;
    params.BackBufferHeight = 400;
    params.BackBufferFormat = D3DFMT_X8R8G8B8;
    params.BackBufferCount = 1;
    params.Windowed = TRUE;
    auto* device = new FakeDevice(d3d.get(), nullptr, params);
    scene.units[0].device = device;
    scene.unitCount = 1;
    scene.windowed = 1;
    scene.windowRect = scene.renderRect = RECT{0, 0, 600, 400};
    scene.SelectRenderUnit(0);
    scene.RestoreSceneObjects();
    scene.AdvanceScene();
    std::printf("recording test device\n");
    std::printf("  DrawScene            median %.4f ms (2000 runs, recording included)\n",
                MedianMs(2000, [&] {
                    device->ClearLog();
                    scene.DrawScene();
                }));
    std::printf("  draws per frame: %zu\n", device->draws.size());
    scene.ReleaseSceneObjects();
    ReleaseAndClear(scene.units[0].device);
    scene.activeDevice = nullptr;
}

}  // namespace

int main() {
    RecordingDevice();
    RealDevice();
    return 0;
}
