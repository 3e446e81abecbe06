// Test driver: waits for a top-level window of the saver and prints the screen position
// of the centre of each named control, so that an end-to-end script can point and click
// at it with real X input.
//
//   control_centres_driver <caption> <seconds> <control id>...
// Prints "<id> <x> <y>" per control ("<id> missing" when the window has no such control).
// Exit code 0 when the window was found, 1 otherwise.
#include <windows.h>

#include <cstdio>
#include <cstdlib>

int main(int argc, char** argv) {
    if (argc < 4) return 2;
    DWORD deadline = ::GetTickCount() + DWORD(std::atoi(argv[2]) * 1000);
    HWND window = nullptr;
    while (!(window && ::IsWindowVisible(window)) && ::GetTickCount() < deadline) {
        window = ::FindWindowA(nullptr, argv[1]);
        ::Sleep(100);
    }
    if (!window) {
        std::printf("not found\n");
        return 1;
    }
    ::Sleep(300);   // let the dialog settle where it is shown
    for (int i = 3; i < argc; i++) {
        int id = std::atoi(argv[i]);
        RECT rect = {};
        HWND control = ::GetDlgItem(window, id);
        if (!control || !::GetWindowRect(control, &rect)) {
            std::printf("%d missing\n", id);
            continue;
        }
        std::printf("%d %ld %ld\n", id, (rect.left + rect.right) / 2, (rect.top + rect.bottom) / 2);
    }
    return 0;
}
