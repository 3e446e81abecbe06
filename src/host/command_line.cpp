// The screensaver command line: /s, /p <handle>, /c[:<handle>], /t, /a <handle>.
// A minus works like the slash and letters are case-insensitive.
#include "host/command_line.h"

#include <cstdint>

namespace {

char LowerAscii(char c) { return (c >= 'A' && c <= 'Z') ? char(c - 'A' + 'a') : c; }

bool IsDigit(char c) { return c >= '0' && c <= '9'; }

// Skips to the first decimal digit and reads the number there. Window handles arrive as
// decimal numbers of at most 32 significant bits; a longer run of digits saturates at
// INT32_MAX (the result the platform's own atol gives for an overflow) instead of being
// undefined behaviour. Returns null when no digit follows.
HWND ReadHandle(const char* text) {
    while (*text && !IsDigit(*text)) text++;
    if (!*text) return nullptr;
    int64_t value = 0;
    for (; IsDigit(*text); text++) {
        value = value * 10 + (*text - '0');
        if (value > INT32_MAX) value = INT32_MAX;
    }
    return reinterpret_cast<HWND>(static_cast<LONG_PTR>(value));
}

// The text after the program name, quoted or up to the first blank.
const char* SkipProgramName(const char* text) {
    if (*text == '"') {
        text++;
        while (*text && *text != '"') text++;
        if (*text == '"') text++;
    } else {
        while (*text && *text != ' ') text++;
        if (*text == ' ') text++;
    }
    return text;
}

}  // namespace

CommandLine ReadCommandLine(const char* text) {
    CommandLine parsed;
    if (!text) return parsed;
    text = SkipProgramName(text);
    while (*text && *text != '/' && *text != '-') text++;
    if (!*text) return parsed;
    text++;

    switch (LowerAscii(*text)) {
    case 'a': parsed.mode = SaverMode::ChangePassword; break;
    case 'c': parsed.mode = SaverMode::Configure; break;
    case 'p': parsed.mode = SaverMode::Preview; break;
    case 't': parsed.mode = SaverMode::Test; return parsed;
    default: parsed.mode = SaverMode::FullScreen; return parsed;
    }
    parsed.parentWindow = ReadHandle(text + 1);
    return parsed;
}
