// The command line of cirrane-still: which frame of the scene to render, how large, and
// where to write it. Reading it needs no Windows call, so it is checked on its own.
#pragma once

#include <string>

struct StillOptions {
    int width = 0;                    // 0 x 0: the size of the primary screen
    int height = 0;
    double time = 0.0;                // application time of the frame, seconds
    unsigned long cameraPath = 0;     // as SkyScene::cameraPath
    unsigned long cubeAnimation = 0;  // as SkyScene::cubeAnimation
    unsigned long skySpeedLevel = 2;  // skySpeed = level x 0.1, as the settings store it
    std::string out;                  // a .png or .bmp file
    bool bmp = false;                 // out names a .bmp file
    bool wallpaper = false;           // also make the picture the desktop background
    bool help = false;
};

constexpr int kMaxStillSide = 16384;

extern const char kStillUsage[];

// Reads argv[1..argc-1] into *options. A bad command line returns false and says why in
// *error, in one line.
bool ParseStillOptions(int argc, char** argv, StillOptions* options, std::string* error);
