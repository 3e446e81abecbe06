// Test driver: looks at the windows of a running cirrane.scr from outside.
//
//   saver_window_driver find <seconds>     waits for the saver's top-level window; prints
//                                          "windows: N", "window: x y w h", "client: x y w h"
//                                          (client origin on the screen) and "topmost: 0|1"
//   saver_window_driver cursor             prints "cursor: hidden" or "cursor: shown"
//   saver_window_driver close              closes the saver window as its close box does
//   saver_window_driver reference <scr> <string id> <out.bmp>
//                                          paints the error box (300 x 150, window colour,
//                                          black frame, the string of the .scr centred and
//                                          wrapped) into a bitmap file, for comparison with
//                                          a screenshot
// Exit code 0 on success, 1 when the window or the string is missing.
#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace {

const char kSaverClass[] = "Cirrane ScreensaverWndClass";

struct Found {
    HWND first;
    int count;
};

BOOL CALLBACK CollectSaverWindow(HWND window, LPARAM context) {
    char className[64] = {};
    ::GetClassNameA(window, className, sizeof(className));
    if (std::strcmp(className, kSaverClass) != 0 || !::IsWindowVisible(window)) return TRUE;
    Found* found = reinterpret_cast<Found*>(context);
    if (!found->first) found->first = window;
    found->count++;
    return TRUE;
}

Found FindSaverWindows(int seconds) {
    Found found = {nullptr, 0};
    DWORD deadline = ::GetTickCount() + DWORD(seconds * 1000);
    do {
        found = {nullptr, 0};
        ::EnumWindows(CollectSaverWindow, LPARAM(&found));
        if (!found.first) ::Sleep(100);
    } while (!found.first && ::GetTickCount() < deadline);
    return found;
}

int Find(int seconds) {
    Found found = FindSaverWindows(seconds);
    if (!found.first) {
        std::printf("not found\n");
        return 1;
    }
    RECT window, client;
    ::GetWindowRect(found.first, &window);
    ::GetClientRect(found.first, &client);
    POINT origin = {0, 0};
    ::ClientToScreen(found.first, &origin);
    std::printf("windows: %d\n", found.count);
    std::printf("window: %ld %ld %ld %ld\n", window.left, window.top, window.right - window.left,
                window.bottom - window.top);
    std::printf("client: %ld %ld %ld %ld\n", origin.x, origin.y, client.right, client.bottom);
    std::printf("topmost: %d\n", (::GetWindowLongA(found.first, GWL_EXSTYLE) & WS_EX_TOPMOST) ? 1 : 0);
    return 0;
}

int Cursor() {
    CURSORINFO info = {};
    info.cbSize = sizeof(info);
    if (!::GetCursorInfo(&info)) return 1;
    bool shown = (info.flags & CURSOR_SHOWING) && info.hCursor;
    std::printf("cursor: %s\n", shown ? "shown" : "hidden");
    return 0;
}

int Close() {
    Found found = FindSaverWindows(5);
    if (!found.first) return 1;
    ::PostMessageA(found.first, WM_SYSCOMMAND, SC_CLOSE, 0);
    return 0;
}

bool SaveBitmap(HDC dc, HBITMAP bitmap, int width, int height, const char* path) {
    BITMAPINFOHEADER header = {sizeof(BITMAPINFOHEADER), width, height, 1, 24};
    DWORD stride = DWORD((width * 3 + 3) & ~3);
    DWORD size = stride * DWORD(height);
    BYTE* pixels = static_cast<BYTE*>(std::malloc(size));
    if (!pixels) return false;
    ::GetDIBits(dc, bitmap, 0, UINT(height), pixels, reinterpret_cast<BITMAPINFO*>(&header),
                DIB_RGB_COLORS);
    BITMAPFILEHEADER file = {};
    file.bfType = 0x4D42;
    file.bfOffBits = sizeof(file) + sizeof(header);
    file.bfSize = file.bfOffBits + size;
    FILE* out = std::fopen(path, "wb");
    bool written = out && std::fwrite(&file, sizeof(file), 1, out) == 1 &&
                   std::fwrite(&header, sizeof(header), 1, out) == 1 &&
                   std::fwrite(pixels, size, 1, out) == 1;
    if (out) std::fclose(out);
    std::free(pixels);
    return written;
}

// The box as the saver shows it, painted here independently of the saver's code.
int Reference(const char* scr, int stringId, const char* path) {
    HMODULE module = ::LoadLibraryExA(scr, nullptr, LOAD_LIBRARY_AS_DATAFILE);
    char text[400] = {};
    if (!module || !::LoadStringA(module, UINT(stringId), text, sizeof(text))) return 1;
    const int width = 300, height = 150;
    HDC screen = ::GetDC(nullptr);
    HDC dc = ::CreateCompatibleDC(screen);
    HBITMAP bitmap = ::CreateCompatibleBitmap(screen, width, height);
    HGDIOBJ old = ::SelectObject(dc, bitmap);
    RECT box = {0, 0, width, height};
    ::FillRect(dc, &box, ::GetSysColorBrush(COLOR_WINDOW));
    ::FrameRect(dc, &box, static_cast<HBRUSH>(::GetStockObject(BLACK_BRUSH)));
    RECT measured = box;
    int textHeight = ::DrawTextA(dc, text, -1, &measured, DT_CALCRECT | DT_WORDBREAK | DT_CENTER);
    RECT placed = {0, (height - textHeight) / 2, width, height};
    ::DrawTextA(dc, text, -1, &placed, DT_WORDBREAK | DT_CENTER);
    ::SelectObject(dc, old);
    bool saved = SaveBitmap(dc, bitmap, width, height, path);
    ::DeleteObject(bitmap);
    ::DeleteDC(dc);
    ::ReleaseDC(nullptr, screen);
    std::printf("text: %s\n", text);
    return saved ? 0 : 1;
}

}  // namespace

int main(int argc, char** argv) {
    int status = 2;
    if (argc >= 3 && std::strcmp(argv[1], "find") == 0) status = Find(std::atoi(argv[2]));
    if (argc >= 2 && std::strcmp(argv[1], "cursor") == 0) status = Cursor();
    if (argc >= 2 && std::strcmp(argv[1], "close") == 0) status = Close();
    if (argc >= 5 && std::strcmp(argv[1], "reference") == 0)
        status = Reference(argv[2], std::atoi(argv[3]), argv[4]);
    std::fflush(stdout);
    return status;
}
