// Small helpers for reading and writing registry values of a fixed size.
//
// A read succeeds only when the value exists and holds exactly the expected number of
// bytes; anything else (missing, shorter, longer, any type) leaves the destination
// untouched. So no stored value, whatever its size or type, can write past a field.
#pragma once

#include <windows.h>

bool ReadRegistryDword(HKEY key, const char* name, DWORD* value);
bool ReadRegistryBytes(HKEY key, const char* name, void* bytes, DWORD size);
void WriteRegistryDword(HKEY key, const char* name, DWORD value);
void WriteRegistryBytes(HKEY key, const char* name, const void* bytes, DWORD size);
// Opens (creating if needed) a key below `parent` with full access; null on failure.
HKEY OpenOrCreateKey(HKEY parent, const char* path);
