// Test driver: waits for a top-level window of the saver, prints what it shows and can
// press one of its buttons. Used by the end-to-end scripts to find and dismiss message
// boxes and dialogs of cirrane.scr without a person.
//
//   find_window_driver <caption> <seconds> [press <button id>]
// Prints the window's class, then the texts of its static controls, one per line.
// Exit code 0 when the window was found (and the button pressed), 1 otherwise.
#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace {

BOOL CALLBACK PrintStaticText(HWND child, LPARAM) {
    char className[64] = {};
    ::GetClassNameA(child, className, sizeof(className));
    if (::lstrcmpiA(className, "Static") == 0) {
        char text[1024] = {};
        ::GetWindowTextA(child, text, sizeof(text));
        if (text[0]) std::printf("text: %s\n", text);
    }
    return TRUE;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 3) return 2;
    const char* caption = argv[1];
    DWORD deadline = ::GetTickCount() + DWORD(std::atoi(argv[2]) * 1000);
    HWND window = nullptr;
    while (!window && ::GetTickCount() < deadline) {
        window = ::FindWindowA(nullptr, caption);
        if (!window) ::Sleep(100);
    }
    if (!window) {
        std::printf("not found\n");
        return 1;
    }
    ::Sleep(300);   // let the window finish painting its controls
    char className[64] = {};
    ::GetClassNameA(window, className, sizeof(className));
    std::printf("class: %s\n", className);
    ::EnumChildWindows(window, PrintStaticText, 0);
    std::fflush(stdout);
    if (argc >= 5 && std::strcmp(argv[3], "press") == 0) {
        int button = std::atoi(argv[4]);
        ::PostMessageA(window, WM_COMMAND, MAKEWPARAM(button, BN_CLICKED), 0);
    }
    return 0;
}
