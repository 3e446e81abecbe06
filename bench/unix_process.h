// Finding a Wine program's Unix process from the Windows side, for the benchmarks that
// read its figures from /proc: the newest /proc entry whose command line (its arguments
// joined by blanks) passes a test. A Windows program's own /proc/self is the Wine
// server's, not its own.
#pragma once

#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <string>

// Returns the process id, or -1 when no entry matches.
template <class Matches>
int FindUnixProcess(Matches matches) {
    WIN32_FIND_DATAA entry;
    HANDLE search = ::FindFirstFileA("Z:\\proc\\*", &entry);
    if (search == INVALID_HANDLE_VALUE) return -1;
    int found = -1;
    do {
        if (entry.cFileName[0] < '0' || entry.cFileName[0] > '9') continue;
        std::string path = std::string("Z:\\proc\\") + entry.cFileName + "\\cmdline";
        char text[2048] = {};
        FILE* file = std::fopen(path.c_str(), "rb");
        if (!file) continue;
        size_t length = std::fread(text, 1, sizeof(text) - 1, file);
        std::fclose(file);
        for (size_t i = 0; i < length; i++)
            if (text[i] == '\0') text[i] = ' ';
        int pid = std::atoi(entry.cFileName);
        if (pid > found && matches(static_cast<const char*>(text))) found = pid;
    } while (::FindNextFileA(search, &entry));
    ::FindClose(search);
    return found;
}
