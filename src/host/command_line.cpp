// The screensaver command line: /s, /p <handle>, /c[:<handle>], /t, /a <handle>.
// A minus works like the slash and letters are case-insensitive.
#include "host/command_line.h"

#include <cstdint>

namespace {

char LowerAscii(char c) { return (c >= 'A' && c <= 'Z') ? char(c - 'A' + 'a') : c; }

bool IsDigit(char c) { return c >= '0' && c <= '9'; }

// Skips to the first decimal digit and reads the number there. Windows writes a window
// handle as an unsigned decimal number, and only its lower 32 bits are significant: a 64-bit
// program widens it by sign extension, as a 32-bit handle passed to 64-bit code is widened.
// A number that does not fit in 32 bits names no window, so it gives null, as no digits do;
// so does HWND_MESSAGE, which as a parent would make the preview a message-only window that
// nothing ever closes.
HWND ReadHandle(const char* text) {
    while (*text && !IsDigit(*text)) text++;
    uint64_t value = 0;
    for (; IsDigit(*text); text++) {
        value = value * 10 + uint64_t(*text - '0');
        if (value > UINT32_MAX) return nullptr;
    }
    HWND handle = reinterpret_cast<HWND>(static_cast<LONG_PTR>(static_cast<int32_t>(uint32_t(value))));
    return handle == HWND_MESSAGE ? nullptr : handle;
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
