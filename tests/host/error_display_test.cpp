// The error display: the code-to-message table and its string resources, and the painting
// of the message box, read back from a memory device context.
#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <utility>

#include "host/saver.h"

namespace {

const char kGeneric[] = "There was an unspecified problem with this screen saver.";
const char kLacks[] = "This screen saver requires functionality that is not available on your Direct3D "
                      "hardware accelerator";

const int kWidth = 400, kHeight = 300;
const COLORREF kBlack = RGB(0, 0, 0), kWhite = RGB(255, 255, 255);

// A hidden window at the screen's origin, the monitor entry of its monitor, and a white
// bitmap of the monitor's size to paint into.
class MessagePainting : public ::testing::Test {
protected:
    Saver saver;
    HWND window = nullptr;
    HDC dc = nullptr;
    HBITMAP bitmap = nullptr;

    void SetUp() override {
        window = ::CreateWindowExA(0, "STATIC", "", WS_POPUP, 0, 0, kWidth, kHeight, nullptr,
                                   nullptr, nullptr, nullptr);
        saver.monitorCount = 1;
        saver.monitors[0].monitorHandle = ::MonitorFromWindow(window, MONITOR_DEFAULTTONEAREST);
        saver.monitors[0].screenRect = {0, 0, kWidth, kHeight};
        HDC screen = ::GetDC(nullptr);
        dc = ::CreateCompatibleDC(screen);
        bitmap = ::CreateCompatibleBitmap(screen, kWidth, kHeight);
        ::ReleaseDC(nullptr, screen);
        ::SelectObject(dc, bitmap);
        ::PatBlt(dc, 0, 0, kWidth, kHeight, WHITENESS);
    }
    void TearDown() override {
        ::DeleteDC(dc);
        ::DeleteObject(bitmap);
        ::DestroyWindow(window);
    }
    void PlaceBox(float x, float y, float width, float height) {
        MonitorInfo& monitor = saver.monitors[0];
        monitor.boxX = x, monitor.boxY = y, monitor.boxWidth = width, monitor.boxHeight = height;
    }
};

}  // namespace

// The end-to-end run compares the whole box, text included, with one painted apart; here
// its place, cut to whole pixels, and the rest of the monitor.
TEST_F(MessagePainting, BoxWithFrameOnBlackAtWholePixels) {
    saver.GetErrorMessage(SAVER_E_NO_DIRECT3D, saver.errorText, sizeof(saver.errorText));
    PlaceBox(50.9f, 40.2f, 300.0f, 150.0f);   // truncated to 50, 40, 350, 190
    saver.PaintMessage(window, dc);
    for (POINT at : {POINT{49, 100}, POINT{350, 100}, POINT{5, 5}, POINT{50, 100}, POINT{200, 189}})
        EXPECT_EQ(::GetPixel(dc, at.x, at.y), kBlack) << at.x << "," << at.y;
    EXPECT_EQ(::GetPixel(dc, 52, 42), ::GetSysColor(COLOR_WINDOW));
}

// Without a failure the monitor is all black; a window of an unknown monitor is left alone.
TEST_F(MessagePainting, NoFailureOrUnknownMonitor) {
    saver.PaintMessage(window, dc);
    for (POINT at : {POINT{0, 0}, POINT{200, 150}, POINT{kWidth - 1, kHeight - 1}})
        EXPECT_EQ(::GetPixel(dc, at.x, at.y), kBlack);
    ::PatBlt(dc, 0, 0, kWidth, kHeight, WHITENESS);
    saver.monitors[0].monitorHandle = HMONITOR(0x5150);
    PlaceBox(50, 40, 300, 150);
    saver.PaintMessage(window, dc);
    EXPECT_EQ(::GetPixel(dc, 5, 5), kWhite);
    EXPECT_EQ(::GetPixel(dc, 100, 100), kWhite);
}

// A code with its own entry gives its text and TRUE; any other the generic text and FALSE.
TEST(ErrorMessages, EveryCodeHasItsString) {
    const std::pair<HRESULT, std::string> kMessages[] = {
        {E_FAIL, kGeneric},
        {SAVER_E_NO_DIRECT3D, "Direct3D 8.0 could not be initialized.  Please install the latest version of DirectX."},
        {SAVER_E_INIT_FAILED, "Could not initialize the screen saver."},
        {SAVER_E_CREATE_DEVICE_FAILED, "Could not create the Direct3D device."},
        {SAVER_E_NO_COMPATIBLE_DEVICE, "Could not find any compatible Direct3D devices."},
        {SAVER_E_NO_HARDWARE_DEVICE, "No hardware-accelerated Direct3D devices were found."},
        {SAVER_E_HARDWARE_LACKS_FEATURES, std::string(kLacks) + "."},
        {SAVER_E_HARDWARE_LACKS_FEATURES_IN_DESKTOP_MODE, std::string(kLacks) + " with the current desktop display settings."},
        {SAVER_E_MEDIA_NOT_FOUND, "Could not load required media."},
        {SAVER_E_RESET_FAILED, "Could not reset the Direct3D device."},
        {E_OUTOFMEMORY, "Not enough memory."},
        {D3DERR_OUTOFVIDEOMEMORY, "Not enough video memory."},
        {SAVER_E_NO_PREVIEW, "No preview available"},
        {SAVER_E_SCENE_OBJECTS_FAILED, kGeneric},
        {S_OK, kGeneric},
        {HRESULT(0x12345678), kGeneric},
    };
    Saver saver;
    for (const auto& [code, expected] : kMessages) {
        char text[400] = "stale";
        BOOL own = saver.GetErrorMessage(code, text, sizeof(text));
        EXPECT_EQ(text, expected) << std::hex << code;
        EXPECT_EQ(own, expected != kGeneric) << std::hex << code;
    }
}

TEST(ErrorMessages, ShortBufferIsCutAndTerminated) {
    Saver saver;
    char text[16];
    std::memset(text, 'x', sizeof(text));
    saver.GetErrorMessage(SAVER_E_NO_DIRECT3D, text, 10);
    EXPECT_STREQ(text, "Direct3D ");
    EXPECT_EQ(text[10], 'x');   // nothing written past the given size
}
