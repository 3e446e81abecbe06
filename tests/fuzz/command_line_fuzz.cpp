// Fuzzes the command-line grammar. Besides not crashing, each run checks what the grammar
// promises: a mode of the enumeration, a window handle only after /p, /c or /a, always a
// sign-extended 32-bit number and never HWND_MESSAGE, and the same result for the text in
// capitals (switch letters are case-insensitive, and nothing else in the grammar depends on
// case).
#include <cctype>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <memory>

#include "host/command_line.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    // The text in a block of its own that ends with its NUL, so a read past it is caught.
    size_t length = strnlen(reinterpret_cast<const char*>(data), size < 256 ? size : 256);
    std::unique_ptr<char[]> text(new char[length + 1]), upper(new char[length + 1]);
    for (size_t i = 0; i < length; i++) {
        text[i] = char(data[i]);
        upper[i] = char(std::toupper(data[i]));
    }
    text[length] = upper[length] = '\0';

    CommandLine parsed = ReadCommandLine(text.get()), inCapitals = ReadCommandLine(upper.get());
    int mode = int(parsed.mode);
    LONG_PTR handle = reinterpret_cast<LONG_PTR>(parsed.parentWindow);
    bool takesHandle = parsed.mode == SaverMode::Preview || parsed.mode == SaverMode::Configure ||
                       parsed.mode == SaverMode::ChangePassword;
    bool hasSwitch = std::strpbrk(text.get(), "/-") != nullptr;
    if (mode < 0 || mode > int(SaverMode::ChangePassword)) std::abort();
    if (handle < INT32_MIN || handle > INT32_MAX || parsed.parentWindow == HWND_MESSAGE ||
        (handle && !(takesHandle && hasSwitch)))
        std::abort();
    if (inCapitals.mode != parsed.mode || inCapitals.parentWindow != parsed.parentWindow)
        std::abort();
    return 0;
}
