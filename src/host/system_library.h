// Loading the system's own components (d3d8.dll, the Windows 9x password DLLs) from the
// system folder by full path. A bare name would search the program's own folder first, so a
// DLL of the same name placed beside the .scr would run inside the saver.
#pragma once

#include <windows.h>

// `name` loaded from the system folder, or null. A system folder that cannot be read, or
// whose path with the name does not fit MAX_PATH, counts as a missing component: the path
// is never cut short.
HMODULE LoadSystemLibrary(const char* name);
