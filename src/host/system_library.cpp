// System components by full path (see system_library.h).
//
// LoadLibraryExA with LOAD_LIBRARY_SEARCH_SYSTEM32 would say the same in one call, but
// Windows XP and Vista only know that flag with update KB2533623; the full path works on
// every version. LOAD_WITH_ALTERED_SEARCH_PATH makes the component's own dependencies come
// from the system folder too, instead of the program's folder. A 32-bit saver on 64-bit
// Windows is told "System32" and the system redirects that to its 32-bit folder (SysWOW64).
#include "host/system_library.h"

#include <cstring>

HMODULE LoadSystemLibrary(const char* name) {
    char path[MAX_PATH];
    UINT length = ::GetSystemDirectoryA(path, MAX_PATH);
    if (length == 0 || length >= MAX_PATH) return nullptr;   // unreadable, or too long
    if (path[length - 1] != '\\') path[length++] = '\\';
    size_t nameLength = std::strlen(name);
    if (length + nameLength >= MAX_PATH) return nullptr;
    std::memcpy(path + length, name, nameLength + 1);
    return ::LoadLibraryExA(path, nullptr, LOAD_WITH_ALTERED_SEARCH_PATH);
}
