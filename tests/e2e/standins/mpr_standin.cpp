// Stand-in for MPR.DLL, for the tests: "PwdChangePasswordA" records its four arguments
// in mpr.log ("PwdChangePasswordA <provider> <parent> <reserved> <reserved>").
#include "standin_log.h"

extern "C" __declspec(dllexport) DWORD WINAPI PwdChangePasswordA(LPCSTR provider, HWND parent,
                                                                  DWORD reserved,
                                                                  LPVOID reserved2) {
    char line[256];
    std::snprintf(line, sizeof(line), "PwdChangePasswordA %s %lld %lu %lld",
                  provider ? provider : "(null)", (long long)(INT_PTR)parent,
                  (unsigned long)reserved, (long long)(INT_PTR)reserved2);
    StandinLog("mpr.log", line);
    return 0;
}
