// Stand-in for the Windows 9x password provider PASSWORD.CPL, for the tests.
//
// Records its loading ("loaded") and every "VerifyScreenSavePwd" call ("verify <window>")
// in password.log, and answers call n with character n of the file "answers" ('1' =
// accepted, anything else = rejected). Like the real dialog it runs a message loop for a
// moment, so input that arrives meanwhile reaches the saver's windows.
#include "standin_log.h"

namespace {
unsigned calls = 0;
}

BOOL WINAPI DllMain(HINSTANCE, DWORD reason, LPVOID) {
    if (reason == DLL_PROCESS_ATTACH) StandinLog("password.log", "loaded");
    return TRUE;
}

extern "C" __declspec(dllexport) BOOL WINAPI VerifyScreenSavePwd(HWND window) {
    char line[64];
    std::snprintf(line, sizeof(line), "verify %lld", (long long)(INT_PTR)window);
    StandinLog("password.log", line);
    DWORD until = ::GetTickCount() + 300;
    while (::GetTickCount() < until) {
        MSG message;
        while (::PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) {
            ::TranslateMessage(&message);
            ::DispatchMessageA(&message);
        }
        ::Sleep(10);
    }
    BOOL accepted = StandinAnswer("answers", calls++) == '1';
    StandinLog("password.log", accepted ? "accepted" : "rejected");
    return accepted;
}
