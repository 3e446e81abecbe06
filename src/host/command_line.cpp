// The screensaver command line: /s, /p <handle>, /c[:<handle>], /t, /a <handle>.
// A minus works like the slash and letters are case-insensitive.
#include <climits>

#include "host/saver.h"

namespace {

char LowerAscii(char c) { return (c >= 'A' && c <= 'Z') ? char(c - 'A' + 'a') : c; }

bool IsDigit(char c) { return c >= '0' && c <= '9'; }

// Skips to the first decimal digit and reads the number there. Window handles arrive as
// decimal numbers of at most 32 significant bits; a longer run of digits saturates at
// LONG_MAX (the result the platform's own atol gives for an overflow) instead of being
// undefined behaviour. Returns false when no digit follows.
bool ReadHandleNumber(const char* text, long* number) {
    while (*text && !IsDigit(*text)) text++;
    if (!*text) return false;
    long long value = 0;
    for (; IsDigit(*text); text++) {
        value = value * 10 + (*text - '0');
        if (value > LONG_MAX) value = LONG_MAX;
    }
    *number = long(value);
    return true;
}

HWND HandleFromNumber(long number) {
    return reinterpret_cast<HWND>(static_cast<LONG_PTR>(number));
}

}  // namespace

SaverMode Saver::ParseCommandLine(const char* text) {
    parentWindow = nullptr;
    if (!text) return SaverMode::Configure;

    // Skip the program name, quoted or up to the first blank.
    if (*text == '"') {
        text++;
        while (*text && *text != '"') text++;
        if (*text == '"') text++;
    } else {
        while (*text && *text != ' ') text++;
        if (*text == ' ') text++;
    }

    while (*text && *text != '/' && *text != '-') text++;
    if (!*text) return SaverMode::Configure;
    text++;

    long number = 0;
    switch (LowerAscii(*text)) {
    case 'a':
        if (ReadHandleNumber(text + 1, &number)) parentWindow = HandleFromNumber(number);
        return SaverMode::ChangePassword;
    case 'c':
        if (ReadHandleNumber(text + 1, &number)) parentWindow = HandleFromNumber(number);
        return SaverMode::Configure;
    case 'p':
        if (ReadHandleNumber(text + 1, &number)) parentWindow = HandleFromNumber(number);
        return SaverMode::Preview;
    case 't':
        return SaverMode::Test;
    default:
        return SaverMode::FullScreen;
    }
}
