// Stand-ins for the Windows 9x password components (PASSWORD.CPL, MPR.DLL): they log each
// call in CIRRANE_STANDIN_DIR, answer call n with character n of CIRRANE_STANDIN_ANSWERS
// ('1' = accepted) and, like the real dialog, run a message loop for a moment.
#include <windows.h>

#include <cstdio>

namespace {

unsigned calls = 0;

void Log(const char* file, const char* line) {
    char dir[MAX_PATH] = {}, path[MAX_PATH + 32];
    if (!::GetEnvironmentVariableA("CIRRANE_STANDIN_DIR", dir, sizeof(dir))) return;
    std::snprintf(path, sizeof(path), "%s\\%s", dir, file);
    if (FILE* out = std::fopen(path, "a")) std::fprintf(out, "%s\n", line), std::fclose(out);
}

}  // namespace

BOOL WINAPI DllMain(HINSTANCE, DWORD reason, LPVOID) {
    if (reason == DLL_PROCESS_ATTACH) Log("password.log", "loaded");
    return TRUE;
}

extern "C" __declspec(dllexport) BOOL WINAPI VerifyScreenSavePwd(HWND window) {
    char line[64], answers[64] = {};
    std::snprintf(line, sizeof(line), "verify %lld", (long long)(INT_PTR)window);
    Log("password.log", line);
    for (DWORD until = ::GetTickCount() + 300; LONG(until - ::GetTickCount()) > 0; ::Sleep(10)) {
        MSG message;
        while (::PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) {
            ::TranslateMessage(&message);
            ::DispatchMessageA(&message);
        }
    }
    DWORD count = ::GetEnvironmentVariableA("CIRRANE_STANDIN_ANSWERS", answers, sizeof(answers));
    BOOL accepted = calls < count && count < sizeof(answers) && answers[calls] == '1';
    calls++;
    Log("password.log", accepted ? "accepted" : "rejected");
    return accepted;
}

extern "C" __declspec(dllexport) DWORD WINAPI PwdChangePasswordA(LPCSTR provider, HWND parent,
                                                                  DWORD reserved, LPVOID reserved2) {
    char line[256];
    std::snprintf(line, sizeof(line), "PwdChangePasswordA %s %lld %lu %lld", provider ? provider : "(null)",
                  (long long)(INT_PTR)parent, (unsigned long)reserved, (long long)(INT_PTR)reserved2);
    Log("mpr.log", line);
    return 0;
}
