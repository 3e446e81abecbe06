// Test driver: plays the desktop's display properties for the preview.
//
//   preview_host_driver scr <path of cirrane.scr> <seconds>
//       Makes a host window, starts "<scr> /p <host>", and reports on the saver's child
//       window: "child: 1", "fills: 1" (its client area is the host's), "client: x y w h"
//       (on the screen), "alive after start-up: 1" three seconds later and, after <seconds>
//       more (for the script's real input), "alive before destroy: 1"; then destroys the
//       host and reports "exit: <code>" once the saver has ended ("exit: timeout" if not).
//   preview_host_driver inproc <seconds> [capture.bmp]
//       The same preview inside this process, with this program's window as the host:
//       prints "client: x y w h", runs the saver's preview for <seconds>, saves what the
//       preview's device shows (its front buffer, cut to the child) as a bitmap, destroys
//       the host and prints "error: 0|1", "captured: 0|1" and "ended: 1" once the saver's
//       loop has returned.
#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "host/direct3d_loader.h"
#include "scene/sky_scene.h"

namespace {

const char kSaverClass[] = "Cirrane ScreensaverWndClass";
const int kHostWidth = 152, kHostHeight = 112;   // the preview monitor's screen

HWND MakeHost() {
    RECT rect = {0, 0, kHostWidth, kHostHeight};
    const DWORD style = WS_OVERLAPPED | WS_CAPTION | WS_VISIBLE;
    ::AdjustWindowRect(&rect, style, FALSE);
    return ::CreateWindowExA(0, "STATIC", "Preview host", style | SS_BLACKRECT, 100, 100,
                             rect.right - rect.left, rect.bottom - rect.top, nullptr, nullptr,
                             nullptr, nullptr);
}

void PumpFor(DWORD milliseconds) {
    DWORD end = ::GetTickCount() + milliseconds;
    while (LONG(end - ::GetTickCount()) > 0) {
        MSG message;
        while (::PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) {
            ::TranslateMessage(&message);
            ::DispatchMessageA(&message);
        }
        ::Sleep(20);
    }
}

void PrintClient(HWND window) {
    RECT client;
    ::GetClientRect(window, &client);
    POINT origin = {0, 0};
    ::ClientToScreen(window, &origin);
    std::printf("client: %ld %ld %ld %ld\n", origin.x, origin.y, client.right, client.bottom);
    std::fflush(stdout);
}

HWND FindChild(HWND host) { return ::FindWindowExA(host, nullptr, kSaverClass, nullptr); }

int RunScr(const char* scr, int seconds) {
    HWND host = MakeHost();
    char commandLine[MAX_PATH + 64];
    std::snprintf(commandLine, sizeof(commandLine), "\"%s\" /p %lu", scr,
                  static_cast<unsigned long>(reinterpret_cast<ULONG_PTR>(host)));
    STARTUPINFOA startup = {};
    startup.cb = sizeof(startup);
    PROCESS_INFORMATION process = {};
    if (!host || !::CreateProcessA(nullptr, commandLine, nullptr, nullptr, FALSE, 0, nullptr,
                                   nullptr, &startup, &process)) {
        std::printf("could not start\n");
        return 1;
    }
    HWND child = nullptr;
    for (int i = 0; i < 100 && !child; i++) {
        PumpFor(100);
        child = FindChild(host);
    }
    std::printf("child: %d\n", child ? 1 : 0);
    if (child) {
        RECT childClient, hostClient;
        ::GetClientRect(child, &childClient);
        ::GetClientRect(host, &hostClient);
        std::printf("fills: %d\n", ::EqualRect(&childClient, &hostClient) ? 1 : 0);
        PrintClient(child);
        PumpFor(3000);   // past the preview's start-up wait and its first frames
        auto alive = [&] { return ::WaitForSingleObject(process.hProcess, 0) == WAIT_TIMEOUT ? 1 : 0; };
        std::printf("alive after start-up: %d\n", alive());
        std::fflush(stdout);
        PumpFor(DWORD(seconds * 1000));   // the script's own input arrives meanwhile
        std::printf("alive before destroy: %d\n", alive());
    }
    ::DestroyWindow(host);
    DWORD waited = ::WaitForSingleObject(process.hProcess, 15000);
    DWORD code = 0;
    ::GetExitCodeProcess(process.hProcess, &code);
    std::printf(waited == WAIT_OBJECT_0 ? "exit: %lu\n" : "exit: timeout\n", code);
    if (waited != WAIT_OBJECT_0) ::TerminateProcess(process.hProcess, 1);
    ::CloseHandle(process.hThread);
    ::CloseHandle(process.hProcess);
    return 0;
}

// ---- In-process preview ------------------------------------------------------------

HWND hostToDestroy = nullptr;
SkyScene* previewScene = nullptr;
const char* capturePath = nullptr;
bool captured = false;

// Writes the w x h pixels at `pixels` (32-bit, top row first, `pitch` bytes a row) as a
// 24-bit bottom-up BMP.
bool WriteBitmap(const char* path, const BYTE* pixels, int pitch, int width, int height) {
    BITMAPINFOHEADER header = {sizeof(BITMAPINFOHEADER), width, height, 1, 24};
    const int stride = (width * 3 + 3) & ~3;
    BITMAPFILEHEADER file = {};
    file.bfType = 0x4D42;
    file.bfOffBits = sizeof(file) + sizeof(header);
    file.bfSize = file.bfOffBits + DWORD(stride * height);
    FILE* out = std::fopen(path, "wb");
    if (!out) return false;
    std::fwrite(&file, sizeof(file), 1, out);
    std::fwrite(&header, sizeof(header), 1, out);
    BYTE row[4096 * 3] = {};
    for (int y = height - 1; y >= 0; y--) {
        const BYTE* source = pixels + y * pitch;
        for (int x = 0; x < width; x++) std::memcpy(row + 3 * x, source + 4 * x, 3);
        std::fwrite(row, size_t(stride), 1, out);
    }
    std::fclose(out);
    return true;
}

// What the preview's device drew last: its back buffer (kept after presenting, as the
// windowed swap effect copies), read through a system-memory copy. Wine 8 does not show
// a child window's rendering on the screen, so the pixels are checked here.
void CapturePreview() {
    if (!previewScene || previewScene->unitCount == 0 || !previewScene->units[0].device) return;
    IDirect3DDevice8* device = previewScene->units[0].device;
    IDirect3DSurface8* backBuffer = nullptr;
    IDirect3DSurface8* copy = nullptr;
    D3DSURFACE_DESC desc = {};
    if (SUCCEEDED(device->GetBackBuffer(0, D3DBACKBUFFER_TYPE_MONO, &backBuffer)) &&
        SUCCEEDED(backBuffer->GetDesc(&desc)) && (desc.Format == D3DFMT_X8R8G8B8 || desc.Format == D3DFMT_A8R8G8B8) &&
        SUCCEEDED(device->CreateImageSurface(desc.Width, desc.Height, desc.Format, &copy)) &&
        SUCCEEDED(device->CopyRects(backBuffer, nullptr, 0, copy, nullptr))) {
        D3DLOCKED_RECT locked;
        if (SUCCEEDED(copy->LockRect(&locked, nullptr, D3DLOCK_READONLY))) {
            captured = WriteBitmap(capturePath, static_cast<const BYTE*>(locked.pBits), locked.Pitch,
                                   int(desc.Width), int(desc.Height));
            copy->UnlockRect();
        }
    }
    if (copy) copy->Release();
    if (backBuffer) backBuffer->Release();
}

void CALLBACK DestroyHost(HWND, UINT, UINT_PTR timer, DWORD) {
    ::KillTimer(nullptr, timer);
    if (capturePath) CapturePreview();
    ::DestroyWindow(hostToDestroy);
}

// The start-up of the saver's Preview mode, with this program's window as the host.
int RunInProcess(int seconds, const char* capture) {
    HWND host = MakeHost();
    SkyScene scene;
    scene.instance = ::GetModuleHandleA(nullptr);
    scene.mode = SaverMode::Preview;
    scene.parentWindow = host;
    scene.EnumerateMonitors();
    if (FAILED(scene.CreateSaverWindows())) return 1;
    PrintClient(scene.mainWindow);
    scene.direct3d = CreateDirect3D();
    if (!scene.direct3d || FAILED(scene.EnumerateAdapters())) return 1;
    scene.LoadSettings();
    hostToDestroy = host;
    previewScene = &scene;
    capturePath = capture;
    ::SetTimer(nullptr, 0, UINT(seconds * 1000), DestroyHost);
    scene.Run();
    std::printf("error: %d\ncaptured: %d\nended: 1\n", int(scene.errorMode), captured ? 1 : 0);
    return 0;
}

}  // namespace

int main(int argc, char** argv) {
    int status = 2;
    if (argc >= 4 && std::strcmp(argv[1], "scr") == 0) status = RunScr(argv[2], std::atoi(argv[3]));
    if (argc >= 3 && std::strcmp(argv[1], "inproc") == 0)
        status = RunInProcess(std::atoi(argv[2]), argc >= 4 ? argv[3] : nullptr);
    std::fflush(stdout);
    return status;
}
