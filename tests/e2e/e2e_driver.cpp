// The Windows-side driver of the end-to-end runs. It knows the program only by its window
// class and its resources. One subcommand per call; <window> is a window class, else a
// caption; numbers are decimal or 0x-prefixed; exit code 0 on success, 1 when a window or
// string is missing, 2 on a bad command line.
//   windows <seconds>          the saver's visible top-level windows, the first one first:
//                              "window x y w h client x y w h topmost 0|1" (screen coordinates)
//   find <window> <seconds> [id...]   waits for a visible top-level window; prints "class:",
//                              "window x y w h", "text: <text>" per static control, and per
//                              listed control "control <id> <x> <y>" (its centre), for a tab
//                              control "tabs <id> <count> <x> <y>", for a drop-down list
//                              "item <id> <n> <text>" per entry
//   post <window> <message> <wParam> <lParam>      posts a message
//   cursor                     "cursor: hidden" or "cursor: shown"
//   adapters                   "adapter <n> <x> <y> <w> <h> <id>" per Direct3D 8 adapter: its
//                              monitor's rectangle and its device identifier in hexadecimal
//   box <scr> <string id> <out.bmp>   paints the error box as the saver shows it (300 x 150,
//                              window colour, black frame, the string centred and wrapped)
//   foreground <seconds>       a window of another program takes the foreground; prints
//                              "back after <ms> ms" once the saver is in front again
//   host                       a host window for "/p <host>": prints "host: <handle>", then
//                              "child: x y w h fills 0|1" once the saver's child is in it;
//                              ends when the host is closed
#include <windows.h>
#include <commctrl.h>
#include <d3d8.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <vector>

namespace {

const char kSaverClass[] = "Cirrane ScreensaverWndClass";

long Number(const char* text) { return std::strtol(text, nullptr, 0); }

// ---- Finding windows ---------------------------------------------------------------------

// Asks `found` every 100 ms until it says yes or `seconds` have passed.
template <class Found>
bool Poll(int seconds, Found found) {
    for (DWORD deadline = ::GetTickCount() + DWORD(seconds * 1000); !found(); ::Sleep(100))
        if (LONG(deadline - ::GetTickCount()) <= 0) return false;
    return true;
}

BOOL CALLBACK CollectSaverWindow(HWND window, LPARAM list) {
    char className[64] = {};
    ::GetClassNameA(window, className, sizeof(className));
    if (std::strcmp(className, kSaverClass) == 0 && ::IsWindowVisible(window))
        reinterpret_cast<std::vector<HWND>*>(list)->push_back(window);
    return TRUE;
}

HWND WaitForWindow(const char* name, int seconds) {
    HWND window = nullptr;
    return Poll(seconds, [&] {
        window = ::FindWindowA(name, nullptr);
        if (!window) window = ::FindWindowA(nullptr, name);
        return window && ::IsWindowVisible(window);
    }) ? window : nullptr;
}

void PrintClient(const char* label, HWND window) {
    RECT client;
    ::GetClientRect(window, &client);
    POINT origin = {0, 0};
    ::ClientToScreen(window, &origin);
    std::printf("%s %ld %ld %ld %ld", label, origin.x, origin.y, client.right, client.bottom);
}

int Windows(int seconds) {
    std::vector<HWND> found;
    Poll(seconds, [&] { return ::EnumWindows(CollectSaverWindow, LPARAM(&found)), !found.empty(); });
    for (HWND window : found) {
        RECT rect;
        ::GetWindowRect(window, &rect);
        std::printf("window %ld %ld %ld %ld ", rect.left, rect.top, rect.right - rect.left,
                    rect.bottom - rect.top);
        PrintClient("client", window);
        std::printf(" topmost %d\n", (::GetWindowLongA(window, GWL_EXSTYLE) & WS_EX_TOPMOST) ? 1 : 0);
    }
    return found.empty() ? 1 : 0;
}

BOOL CALLBACK PrintStaticText(HWND child, LPARAM) {
    char className[64] = {}, text[1024] = {};
    ::GetClassNameA(child, className, sizeof(className));
    if (::lstrcmpiA(className, "Static") == 0 && ::GetWindowTextA(child, text, sizeof(text)))
        std::printf("text: %s\n", text);
    return TRUE;
}

int Find(const char* name, int seconds, char** ids, int idCount) {
    HWND window = WaitForWindow(name, seconds);
    if (!window) return 1;
    ::Sleep(300);   // let the window finish placing and painting its controls
    char className[64] = {};
    ::GetClassNameA(window, className, sizeof(className));
    std::printf("class: %s\n", className);
    RECT frame;
    ::GetWindowRect(window, &frame);
    std::printf("window %ld %ld %ld %ld\n", frame.left, frame.top, frame.right - frame.left,
                frame.bottom - frame.top);
    ::EnumChildWindows(window, PrintStaticText, 0);
    for (int i = 0; i < idCount; i++) {
        HWND control = ::GetDlgItem(window, int(Number(ids[i])));
        RECT rect;
        if (!::GetWindowRect(control, &rect)) continue;
        std::printf("control %s %ld %ld\n", ids[i], (rect.left + rect.right) / 2, (rect.top + rect.bottom) / 2);
        ::GetClassNameA(control, className, sizeof(className));
        if (::lstrcmpiA(className, "SysTabControl32") == 0)
            std::printf("tabs %s %ld %ld %ld\n", ids[i], long(::SendMessageA(control, TCM_GETITEMCOUNT, 0, 0)),
                        rect.left, rect.top);
        if (::lstrcmpiA(className, "ComboBox") != 0) continue;
        LRESULT count = ::SendMessageA(control, CB_GETCOUNT, 0, 0);
        for (LRESULT item = 0; item < count; item++) {   // Wide: Wine marshals it whole
            WCHAR text[256] = {};
            if (::SendMessageW(control, CB_GETLBTEXTLEN, item, 0) < 256)
                ::SendMessageW(control, CB_GETLBTEXT, item, LPARAM(text));
            std::printf("item %s %ld %ls\n", ids[i], long(item), text);
        }
    }
    return 0;
}

int Post(char** args) {
    HWND window = WaitForWindow(args[0], 0);
    return window && ::PostMessageA(window, UINT(Number(args[1])), WPARAM(Number(args[2])),
                                    LPARAM(Number(args[3]))) ? 0 : 1;
}

int Cursor() {
    CURSORINFO info = {sizeof(info)};
    if (!::GetCursorInfo(&info)) return 1;
    std::printf("cursor: %s\n", (info.flags & CURSOR_SHOWING) && info.hCursor ? "shown" : "hidden");
    return 0;
}

// Direct3D 8 loaded at run time, as the saver loads it (there is no import library).
int Adapters() {
    typedef IDirect3D8*(WINAPI * CreateFn)(UINT);
    HMODULE module = ::LoadLibraryA("d3d8.dll");
    CreateFn create = module ? reinterpret_cast<CreateFn>(::GetProcAddress(module, "Direct3DCreate8")) : nullptr;
    IDirect3D8* d3d = create ? create(D3D_SDK_VERSION) : nullptr;
    if (!d3d) return 1;
    for (UINT a = 0; a < d3d->GetAdapterCount(); a++) {
        D3DADAPTER_IDENTIFIER8 identifier = {};
        MONITORINFO monitor = {sizeof(monitor)};
        d3d->GetAdapterIdentifier(a, 0, &identifier);
        ::GetMonitorInfoA(d3d->GetAdapterMonitor(a), &monitor);
        const RECT& r = monitor.rcMonitor;
        std::printf("adapter %u %ld %ld %ld %ld ", a, r.left, r.top, r.right - r.left, r.bottom - r.top);
        const BYTE* id = reinterpret_cast<const BYTE*>(&identifier.DeviceIdentifier);
        for (size_t i = 0; i < sizeof(GUID); i++) std::printf("%02X", id[i]);
        std::printf("\n");
    }
    d3d->Release();
    return 0;
}

// The box as the saver shows it, painted here independently of the saver's code.
int Box(const char* scr, int stringId, const char* path) {
    HMODULE module = ::LoadLibraryExA(scr, nullptr, LOAD_LIBRARY_AS_DATAFILE);
    char text[400] = {};
    if (!module || !::LoadStringA(module, UINT(stringId), text, sizeof(text))) return 1;
    const int width = 300, height = 150;
    BITMAPINFO info = {{sizeof(BITMAPINFOHEADER), width, -height, 1, 32}};
    void* pixels = nullptr;
    HDC dc = ::CreateCompatibleDC(nullptr);
    HBITMAP bitmap = ::CreateDIBSection(dc, &info, DIB_RGB_COLORS, &pixels, nullptr, 0);
    HGDIOBJ old = ::SelectObject(dc, bitmap);
    RECT box = {0, 0, width, height};
    ::FillRect(dc, &box, ::GetSysColorBrush(COLOR_WINDOW));
    ::FrameRect(dc, &box, static_cast<HBRUSH>(::GetStockObject(BLACK_BRUSH)));
    RECT measured = box;
    int textHeight = ::DrawTextA(dc, text, -1, &measured, DT_CALCRECT | DT_WORDBREAK | DT_CENTER);
    RECT placed = {0, (height - textHeight) / 2, width, height};
    ::DrawTextA(dc, text, -1, &placed, DT_WORDBREAK | DT_CENTER);
    ::GdiFlush();
    const DWORD bytes = 4 * width * height, offset = sizeof(BITMAPFILEHEADER) + sizeof(BITMAPINFOHEADER);
    BITMAPFILEHEADER file = {0x4D42, offset + bytes, 0, 0, offset};
    FILE* out = std::fopen(path, "wb");
    bool saved = out && std::fwrite(&file, sizeof(file), 1, out) &&
                 std::fwrite(&info.bmiHeader, sizeof(info.bmiHeader), 1, out) &&
                 std::fwrite(pixels, bytes, 1, out);
    saved = out && std::fclose(out) == 0 && saved;
    ::SelectObject(dc, old);
    ::DeleteObject(bitmap);
    ::DeleteDC(dc);
    return saved ? 0 : 1;
}

// ---- Taking the foreground -----------------------------------------------------------------

int Foreground(int seconds) {
    HWND own = ::CreateWindowExA(0, "STATIC", "Another program", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 100, 100,
                                 200, 100, nullptr, nullptr, nullptr, nullptr);
    DWORD start = ::GetTickCount();
    if (!own || !::SetForegroundWindow(own)) return 1;
    bool back = Poll(seconds, [] {
        MSG message;
        while (::PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) ::DispatchMessageA(&message);
        return ::GetForegroundWindow() == ::FindWindowA(kSaverClass, nullptr);
    });
    if (back) std::printf("back after %lu ms\n", ::GetTickCount() - start);
    ::DestroyWindow(own);
    return back ? 0 : 1;
}

// ---- The preview's host --------------------------------------------------------------------

// A captioned window whose client area is the preview monitor's screen, 152 x 112.
int Host() {
    RECT rect = {0, 0, 152, 112};
    const DWORD style = WS_OVERLAPPED | WS_CAPTION | WS_VISIBLE;
    ::AdjustWindowRect(&rect, style, FALSE);
    HWND host = ::CreateWindowExA(0, "STATIC", "Preview host", style | SS_BLACKRECT, 100, 100,
                                  rect.right - rect.left, rect.bottom - rect.top, nullptr, nullptr,
                                  nullptr, nullptr);
    HWND child = nullptr;
    std::printf("host: %llu\n", (unsigned long long)(ULONG_PTR)host);
    std::fflush(stdout);
    while (::IsWindow(host)) {
        MSG message;
        while (::PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) ::DispatchMessageA(&message);
        ::Sleep(50);
        if (child || !(child = ::FindWindowExA(host, nullptr, kSaverClass, nullptr))) continue;
        RECT childClient, hostClient;
        ::GetClientRect(child, &childClient);
        ::GetClientRect(host, &hostClient);
        PrintClient("child:", child);
        std::printf(" fills %d\n", ::EqualRect(&childClient, &hostClient) ? 1 : 0);
        std::fflush(stdout);
    }
    return 0;
}

}  // namespace

int main(int argc, char** argv) {
    const char* command = argc > 1 ? argv[1] : "";
    auto is = [&](const char* name, int arguments) {
        return std::strcmp(command, name) == 0 && argc >= 2 + arguments;
    };
    int status = 2;
    if (is("windows", 1)) status = Windows(int(Number(argv[2])));
    if (is("find", 2)) status = Find(argv[2], int(Number(argv[3])), argv + 4, argc - 4);
    if (is("post", 4)) status = Post(argv + 2);
    if (is("cursor", 0)) status = Cursor();
    if (is("adapters", 0)) status = Adapters();
    if (is("box", 3)) status = Box(argv[2], int(Number(argv[3])), argv[4]);
    if (is("foreground", 1)) status = Foreground(int(Number(argv[2])));
    if (is("host", 0)) status = Host();
    std::fflush(stdout);
    return status;
}
