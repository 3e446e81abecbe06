// Painting of the error display, read back from a memory device context.
#include <gtest/gtest.h>

#include "host/saver.h"

namespace {

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
        RECT all = {0, 0, kWidth, kHeight};
        ::FillRect(dc, &all, HBRUSH(::GetStockObject(WHITE_BRUSH)));
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
    // First and last row inside the box (frame excluded) holding a pixel of the text.
    void TextRows(const RECT& box, int* first, int* last) {
        *first = -1, *last = -1;
        COLORREF background = ::GetSysColor(COLOR_WINDOW);
        for (int y = box.top + 1; y < box.bottom - 1; y++)
            for (int x = box.left + 1; x < box.right - 1; x++)
                if (::GetPixel(dc, x, y) != background) {
                    if (*first < 0) *first = y;
                    *last = y;
                    break;
                }
    }
};

}  // namespace

TEST_F(MessagePainting, BoxWithFrameAndCentredWrappedTextOnBlack) {
    saver.GetErrorMessage(SAVER_E_NO_DIRECT3D, saver.errorText, sizeof(saver.errorText));
    PlaceBox(50.9f, 40.2f, 300.0f, 150.0f);   // truncated to 50, 40, 350, 190
    saver.PaintMessage(window, dc);
    const RECT box = {50, 40, 350, 190};

    // Around the box, then its frame.
    for (POINT at : {POINT{49, 100}, POINT{350, 100}, POINT{5, 5}, POINT{50, 100}, POINT{200, 189}})
        EXPECT_EQ(::GetPixel(dc, at.x, at.y), kBlack) << at.x << "," << at.y;
    EXPECT_EQ(::GetPixel(dc, 52, 42), ::GetSysColor(COLOR_WINDOW));

    TEXTMETRICA metrics;
    ::GetTextMetricsA(dc, &metrics);
    int first, last;
    TextRows(box, &first, &last);
    ASSERT_GE(first, 0);
    EXPECT_GT(last - first, metrics.tmHeight);   // wrapped onto more than one line
    EXPECT_NEAR((first + last) / 2, (box.top + box.bottom) / 2, metrics.tmHeight / 2 + 1);
}

TEST_F(MessagePainting, WithoutAFailureTheMonitorIsAllBlack) {
    saver.PaintMessage(window, dc);
    for (POINT at : {POINT{0, 0}, POINT{200, 150}, POINT{kWidth - 1, kHeight - 1}})
        EXPECT_EQ(::GetPixel(dc, at.x, at.y), kBlack);
}

TEST_F(MessagePainting, WindowOfAnUnknownMonitorIsLeftAlone) {
    saver.monitors[0].monitorHandle = HMONITOR(0x5150);
    PlaceBox(50, 40, 300, 150);
    saver.PaintMessage(window, dc);
    EXPECT_EQ(::GetPixel(dc, 5, 5), kWhite);
    EXPECT_EQ(::GetPixel(dc, 100, 100), kWhite);
}
