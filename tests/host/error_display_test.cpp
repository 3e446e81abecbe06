// The error display's code-to-message table (the end-to-end runs compare the painted box).
#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <utility>
#include <vector>

#include "host/saver.h"
#include "host/window_dpi.h"

namespace {

const char kGeneric[] = "There was an unspecified problem with this screen saver.";
const char kLacks[] = "This screen saver requires functionality that is not available on your Direct3D "
                      "hardware accelerator";

}  // namespace

TEST(ErrorMessages, EveryCodeHasItsStringCutToTheBuffer) {
    const std::pair<HRESULT, std::string> kMessages[] = {
        {SAVER_E_NO_DIRECT3D, "Direct3D 8.0 could not be initialized.  Please install the latest version of DirectX."},
        {SAVER_E_INIT_FAILED, "Could not initialize the screen saver."},
        {SAVER_E_CREATE_DEVICE_FAILED, "Could not create the Direct3D device."},
        {SAVER_E_NO_COMPATIBLE_DEVICE, "Could not find any compatible Direct3D devices."},
        {SAVER_E_NO_HARDWARE_DEVICE, "No hardware-accelerated Direct3D devices were found."},
        {SAVER_E_HARDWARE_LACKS_FEATURES, std::string(kLacks) + "."},
        {SAVER_E_HARDWARE_LACKS_FEATURES_IN_DESKTOP_MODE, std::string(kLacks) + " with the current desktop display settings."},
        {SAVER_E_MEDIA_NOT_FOUND, "Could not load required media."},
        {SAVER_E_RESET_FAILED, "Could not reset the Direct3D device."},
        {E_OUTOFMEMORY, "Not enough memory."}, {D3DERR_OUTOFVIDEOMEMORY, "Not enough video memory."},
        {SAVER_E_NO_PREVIEW, "No preview available"}, {SAVER_E_SCENE_OBJECTS_FAILED, kGeneric},
        {E_FAIL, kGeneric}, {S_OK, kGeneric}, {HRESULT(0x12345678), kGeneric},
    };
    Saver saver;
    for (const auto& [code, expected] : kMessages) {
        char text[400] = "stale";
        BOOL own = saver.GetErrorMessage(code, text, sizeof(text));
        EXPECT_EQ(text, expected) << std::hex << code;
        EXPECT_EQ(own, expected != kGeneric) << std::hex << code;
    }
    char text[16];
    std::memset(text, 'x', sizeof(text));
    saver.GetErrorMessage(SAVER_E_NO_DIRECT3D, text, 10);
    EXPECT_STREQ(text, "Direct3D ");
    EXPECT_EQ(text[10], 'x');
}

TEST(ErrorMessages, BoxSizedForTheWindowsDpi) {
    const LONG kSizes[][3] = {{96, 300, 150}, {120, 375, 188}, {144, 450, 225}, {192, 600, 300}};
    for (const auto& c : kSizes) {
        SIZE box = ErrorBoxSize(UINT(c[0]));
        EXPECT_EQ(box.cx, c[1]) << c[0];
        EXPECT_EQ(box.cy, c[2]) << c[0];
    }
}

// Preview and Test keep the box on the first entry, wherever their window is: here that entry
// names another monitor, and the box is painted all the same, with black around it.
TEST(ErrorMessages, WindowedBoxPaintedOnAnyMonitor) {
    HWND window = ::CreateWindowExA(0, "STATIC", "", WS_POPUP, 0, 0, 120, 80, nullptr, nullptr, nullptr, nullptr);
    HDC dc = ::CreateCompatibleDC(nullptr);
    std::vector<DWORD> red(120 * 80, 0x00FF0000);
    HBITMAP bitmap = ::CreateBitmap(120, 80, 1, 32, red.data());
    HGDIOBJ previous = ::SelectObject(dc, bitmap);
    Saver saver;
    saver.mode = SaverMode::Test;
    saver.monitorCount = 1;
    saver.monitors[0] = {"", HMONITOR(INT_PTR(7)), {5000, 0, 5100, 100}, 0, window, 20, 10, 60, 40};
    saver.PaintMessage(window, dc);
    EXPECT_EQ(::GetPixel(dc, 50, 15), ::GetSysColor(COLOR_WINDOW));
    EXPECT_EQ(::GetPixel(dc, 20, 10), RGB(0, 0, 0));   // the frame
    EXPECT_EQ(::GetPixel(dc, 110, 70), RGB(0, 0, 0));
    ::DeleteObject(::SelectObject(dc, previous));
    ::DeleteDC(dc);
    ::DestroyWindow(window);
}
