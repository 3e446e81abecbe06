// The screensaver command line: the run mode it asks for and the window handle it names.
//
// ReadCommandLine is pure (it reads the text and nothing else), so the grammar builds and
// runs on its own; Saver::ParseCommandLine applies its result to the Saver.
#pragma once

#include <windows.h>

enum class SaverMode : int {
    Configure = 0,
    Preview = 1,
    FullScreen = 2,
    Test = 3,
    ChangePassword = 4,
};

struct CommandLine {
    SaverMode mode = SaverMode::Configure;
    HWND parentWindow = nullptr;   // only after /p, /c and /a: the first number following
};

// text: the whole process command line, program name first; null reads as empty.
CommandLine ReadCommandLine(const char* text);
