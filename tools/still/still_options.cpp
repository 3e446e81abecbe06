// Reading cirrane-still's command line. The camera path and the cube animation are named as
// the options dialog names them (any case; spaces, '-' and '_' ignored) or given by the
// number the settings store; the cloud speed is the stored level 0..10.
#include "still_options.h"

#include <cctype>
#include <cmath>
#include <cstdlib>
#include <cstring>

#include "scene/sky_scene.h"

const char kStillUsage[] =
    "usage: cirrane-still --out FILE.png|FILE.bmp [options]\n"
    "Renders one frame of the Cirrane sky scene into a picture.\n"
    "  --size WxH         picture size, 1..16384 each (default: the primary screen's)\n"
    "  --time T           application time in seconds (default 0)\n"
    "  --camera PATH      Flying, Sinusoid or Circular, or 0..2 (default Flying)\n"
    "  --cube ANIMATION   Standart or \"Up and Down\", or 0..1 (default Standart)\n"
    "  --sky-speed LEVEL  cloud speed 0..10, 0.1 texture units per second each (default 2)\n"
    "  --out FILE         the picture, PNG or BMP by its extension\n"
    "  --wallpaper        also make the picture the desktop background\n"
    "Exit code 0 when written, 1 when rendering or writing failed, 2 on a bad command line.\n";

namespace {

std::string Squeezed(const char* text) {
    std::string out;
    for (; *text; ++text)
        if (std::isalnum(static_cast<unsigned char>(*text)))
            out += char(std::tolower(static_cast<unsigned char>(*text)));
    return out;
}

// A whole decimal number in first..last.
bool ReadWhole(const char* text, unsigned long first, unsigned long last, unsigned long* value) {
    if (!std::isdigit(static_cast<unsigned char>(*text))) return false;
    char* end = nullptr;
    *value = std::strtoul(text, &end, 10);
    return *end == '\0' && *value >= first && *value <= last;
}

// One of the names, or its index.
template <size_t N>
bool ReadChoice(const char* text, const char* const (&names)[N], unsigned long* value) {
    for (size_t i = 0; i < N; ++i)
        if (Squeezed(text) == Squeezed(names[i])) {
            *value = i;
            return true;
        }
    return ReadWhole(text, 0, N - 1, value);
}

bool ReadSize(const char* text, StillOptions* options) {
    const char* x = std::strpbrk(text, "xX");
    if (!x) return false;
    unsigned long width = 0, height = 0;
    const std::string first(text, x);
    if (!ReadWhole(first.c_str(), 1, kMaxStillSide, &width) ||
        !ReadWhole(x + 1, 1, kMaxStillSide, &height))
        return false;
    options->width = int(width);
    options->height = int(height);
    return true;
}

bool ReadTime(const char* text, double* time) {
    char* end = nullptr;
    *time = std::strtod(text, &end);
    return *text && *end == '\0' && std::isfinite(*time) && *time >= 0.0;
}

bool ReadOut(const char* text, StillOptions* options) {
    const std::string name = text;
    const size_t dot = name.rfind('.');
    const std::string extension = dot == std::string::npos ? "" : Squeezed(text + dot);
    if (extension != "png" && extension != "bmp") return false;
    options->out = name;
    options->bmp = extension == "bmp";
    return true;
}

// Reads the value of one option; false when it is not one the option takes.
bool ReadValue(const std::string& option, const char* value, StillOptions* options) {
    if (option == "--size") return ReadSize(value, options);
    if (option == "--time") return ReadTime(value, &options->time);
    if (option == "--camera") return ReadChoice(value, kCameraPathNames, &options->cameraPath);
    if (option == "--cube") return ReadChoice(value, kCubeAnimationNames, &options->cubeAnimation);
    if (option == "--sky-speed") return ReadWhole(value, 0, kMaxSkySpeedLevel, &options->skySpeedLevel);
    return ReadOut(value, options);
}

const char* WhatIsWanted(const std::string& option) {
    if (option == "--size") return "WIDTHxHEIGHT, each 1..16384";
    if (option == "--time") return "seconds, a number 0 or more";
    if (option == "--camera") return "Flying, Sinusoid, Circular or 0..2";
    if (option == "--cube") return "Standart, \"Up and Down\" or 0..1";
    if (option == "--sky-speed") return "a level 0..10";
    return "a file name ending in .png or .bmp";
}

bool Fail(std::string* error, const std::string& reason) {
    *error = reason;
    return false;
}

}  // namespace

bool ParseStillOptions(int argc, char** argv, StillOptions* options, std::string* error) {
    static const char* const kTakesValue[] = {"--size", "--time", "--camera", "--cube",
                                              "--sky-speed", "--out"};
    for (int i = 1; i < argc; ++i) {
        const std::string option = argv[i];
        if (option == "--help" || option == "-h" || option == "/?") {
            options->help = true;
            return true;
        }
        if (option == "--wallpaper") {
            options->wallpaper = true;
            continue;
        }
        bool takesValue = false;
        for (const char* known : kTakesValue) takesValue = takesValue || option == known;
        if (!takesValue) return Fail(error, "unknown option \"" + option + "\"");
        if (i + 1 == argc) return Fail(error, option + " needs a value: " + WhatIsWanted(option));
        const char* value = argv[++i];
        if (!ReadValue(option, value, options))
            return Fail(error, option + " \"" + value + "\": expected " + WhatIsWanted(option));
    }
    if (options->out.empty()) return Fail(error, "no --out file given");
    return true;
}
