// Fixed-size registry reads and writes shared by the scene settings, the display
// settings and the password check. See registry_values.h for the rules.
#include "host/registry_values.h"

bool ReadRegistryBytes(HKEY key, const char* name, void* bytes, DWORD size) {
    // Read into a scratch buffer one byte larger than wanted: a longer value then reports
    // ERROR_MORE_DATA or a larger size, and nothing of it reaches the caller's field.
    BYTE scratch[64];
    if (size >= sizeof(scratch)) return false;
    DWORD got = size + 1;
    LONG status = ::RegQueryValueExA(key, name, nullptr, nullptr, scratch, &got);
    if (status != ERROR_SUCCESS || got != size) return false;
    ::memcpy(bytes, scratch, size);
    return true;
}

bool ReadRegistryDword(HKEY key, const char* name, DWORD* value) {
    return ReadRegistryBytes(key, name, value, sizeof(DWORD));
}

void WriteRegistryDword(HKEY key, const char* name, DWORD value) {
    ::RegSetValueExA(key, name, 0, REG_DWORD, reinterpret_cast<const BYTE*>(&value),
                     sizeof(value));
}

void WriteRegistryBytes(HKEY key, const char* name, const void* bytes, DWORD size) {
    ::RegSetValueExA(key, name, 0, REG_BINARY, static_cast<const BYTE*>(bytes), size);
}

HKEY OpenOrCreateKey(HKEY parent, const char* path) {
    HKEY key = nullptr;
    if (::RegCreateKeyExA(parent, path, 0, nullptr, REG_OPTION_NON_VOLATILE, KEY_ALL_ACCESS,
                          nullptr, &key, nullptr) != ERROR_SUCCESS) {
        return nullptr;
    }
    return key;
}
