// Stand-ins for system components (PASSWORD.CPL, MPR.DLL, d3d8.dll): each logs that it was
// loaded, in CIRRANE_STANDIN_DIR under its own name ("password.log" for password.cpl), and
// each call. The password check answers call n with character n of CIRRANE_STANDIN_ANSWERS
// ('1' = accepted) and, like the real dialog, runs a message loop for a moment; Direct3D
// creation fails, so a saver that took this d3d8.dll presents nothing.
#include <windows.h>

#include <cstdio>
#include <cstring>

namespace {

unsigned calls = 0;

void Log(const char* file, const char* line) {
    char dir[MAX_PATH] = {}, path[MAX_PATH + 32];
    if (!::GetEnvironmentVariableA("CIRRANE_STANDIN_DIR", dir, sizeof(dir))) return;
    std::snprintf(path, sizeof(path), "%s\\%s", dir, file);
    if (FILE* out = std::fopen(path, "a")) std::fprintf(out, "%s\n", line), std::fclose(out);
}

}  // namespace

BOOL WINAPI DllMain(HINSTANCE instance, DWORD reason, LPVOID) {
    char path[MAX_PATH] = {}, log[MAX_PATH];
    if (reason != DLL_PROCESS_ATTACH || !::GetModuleFileNameA(instance, path, sizeof(path) - 1))
        return TRUE;
    const char* name = std::strrchr(path, '\\') ? std::strrchr(path, '\\') + 1 : path;
    std::snprintf(log, sizeof(log), "%.*s.log", int(std::strcspn(name, ".")), name);
    Log(::CharLowerA(log), "loaded");
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

extern "C" __declspec(dllexport) void* WINAPI Direct3DCreate8(UINT) {
    Log("d3d8.log", "Direct3DCreate8");
    return nullptr;
}
