// Test driver: sends one message to the first top-level window of a class, as the system
// would (for example a power notification), and prints the window's answer.
//
//   send_message_driver <window class> <message> <wParam> <lParam>
// Numbers are decimal or 0x-prefixed. Exit code 0 when the window was found, 1 otherwise.
#include <windows.h>

#include <cstdio>
#include <cstdlib>

int main(int argc, char** argv) {
    if (argc < 5) return 2;
    HWND window = ::FindWindowA(argv[1], nullptr);
    if (!window) {
        std::printf("not found\n");
        return 1;
    }
    UINT message = UINT(std::strtoul(argv[2], nullptr, 0));
    WPARAM wParam = WPARAM(std::strtoull(argv[3], nullptr, 0));
    LPARAM lParam = LPARAM(std::strtoll(argv[4], nullptr, 0));
    DWORD_PTR answer = 0;
    if (!::SendMessageTimeoutA(window, message, wParam, lParam, SMTO_NORMAL, 5000, &answer)) {
        std::printf("no answer\n");
        return 1;
    }
    std::printf("answer: %lld\n", (long long)answer);
    return 0;
}
