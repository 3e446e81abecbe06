// Shared by the stand-ins for the Windows 9x password components: where they write what
// they were asked and read how to answer.
//
// The directory is named by the environment variable CIRRANE_STANDIN_DIR (a Windows
// path); without it the stand-ins record nothing and answer "rejected".
#pragma once

#include <windows.h>

#include <cstdio>
#include <cstring>

// Appends one line to <dir>\<file>.
inline void StandinLog(const char* file, const char* line) {
    char dir[MAX_PATH] = {};
    if (!::GetEnvironmentVariableA("CIRRANE_STANDIN_DIR", dir, sizeof(dir))) return;
    char path[MAX_PATH + 32];
    std::snprintf(path, sizeof(path), "%s\\%s", dir, file);
    FILE* out = std::fopen(path, "a");
    if (!out) return;
    std::fprintf(out, "%s\n", line);
    std::fclose(out);
}

// Character `index` of <dir>\<file>, or 0 when there is none.
inline char StandinAnswer(const char* file, unsigned index) {
    char dir[MAX_PATH] = {};
    if (!::GetEnvironmentVariableA("CIRRANE_STANDIN_DIR", dir, sizeof(dir))) return 0;
    char path[MAX_PATH + 32];
    std::snprintf(path, sizeof(path), "%s\\%s", dir, file);
    FILE* in = std::fopen(path, "r");
    if (!in) return 0;
    char answers[64] = {};
    size_t count = std::fread(answers, 1, sizeof(answers) - 1, in);
    std::fclose(in);
    return index < count ? answers[index] : 0;
}
