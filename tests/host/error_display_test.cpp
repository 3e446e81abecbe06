// The error display: the code-to-message table and the painting of the message box.
#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <utility>

#include "host/saver.h"

namespace {

const char kGeneric[] = "There was an unspecified problem with this screen saver.";
const char kLacks[] = "This screen saver requires functionality that is not available on your Direct3D "
                      "hardware accelerator";
const COLORREF kBlack = RGB(0, 0, 0), kWhite = RGB(255, 255, 255);

}  // namespace

// The end-to-end run compares the whole box, text included; here its place and the black.
TEST(MessagePainting, BoxOnBlackAtWholePixelsAndUnknownMonitorsLeftAlone) {
    const int width = 400, height = 300;
    HWND window = ::CreateWindowExA(0, "STATIC", "", WS_POPUP, 0, 0, width, height, nullptr,
                                    nullptr, nullptr, nullptr);
    HDC screen = ::GetDC(nullptr), dc = ::CreateCompatibleDC(screen);
    HBITMAP bitmap = ::CreateCompatibleBitmap(screen, width, height);
    ::ReleaseDC(nullptr, screen);
    ::SelectObject(dc, bitmap);
    Saver saver;
    MonitorInfo& monitor = saver.monitors[0];
    saver.monitorCount = 1;
    monitor.monitorHandle = ::MonitorFromWindow(window, MONITOR_DEFAULTTONEAREST);
    monitor.screenRect = {0, 0, width, height};
    auto paintAndRead = [&](int x, int y) {
        ::PatBlt(dc, 0, 0, width, height, WHITENESS);
        saver.PaintMessage(window, dc);
        return ::GetPixel(dc, x, y);
    };
    EXPECT_EQ(paintAndRead(200, 150), kBlack);   // without a failure the monitor is all black
    EXPECT_EQ(::GetPixel(dc, 0, 0), kBlack);
    EXPECT_EQ(::GetPixel(dc, width - 1, height - 1), kBlack);

    saver.GetErrorMessage(SAVER_E_NO_DIRECT3D, saver.errorText, sizeof(saver.errorText));
    monitor.boxX = 50.9f, monitor.boxY = 40.2f, monitor.boxWidth = 300, monitor.boxHeight = 150;
    monitor.monitorHandle = HMONITOR(0x5150);   // a window of an unknown monitor is left alone
    EXPECT_EQ(paintAndRead(5, 5), kWhite);
    EXPECT_EQ(::GetPixel(dc, 100, 100), kWhite);
    monitor.monitorHandle = ::MonitorFromWindow(window, MONITOR_DEFAULTTONEAREST);
    EXPECT_EQ(paintAndRead(52, 42), ::GetSysColor(COLOR_WINDOW));   // the box is 50, 40, 350, 190
    for (POINT at : {POINT{49, 100}, POINT{350, 100}, POINT{5, 5}, POINT{50, 100}, POINT{200, 189}})
        EXPECT_EQ(::GetPixel(dc, at.x, at.y), kBlack) << at.x << "," << at.y;
    ::DeleteDC(dc);
    ::DeleteObject(bitmap);
    ::DestroyWindow(window);
}

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
