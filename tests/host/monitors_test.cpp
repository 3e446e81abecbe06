// The single-monitor fallbacks of the multi-monitor calls (forced through the lookup seam)
// and the monitor table built from them; the real devices are the end-to-end runs'.
#include <gtest/gtest.h>

#include <cstring>

#include "host/multimon.h"
#include "host/saver.h"

namespace {

class Fallbacks : public ::testing::Test {
protected:
    Fallbacks() { multimon::ForceMultiMonitorLookup(true); }
    ~Fallbacks() override { multimon::ForceMultiMonitorLookup(false); }
    const LONG cx = ::GetSystemMetrics(SM_CXSCREEN), cy = ::GetSystemMetrics(SM_CYSCREEN);
    const RECT screen = {0, 0, cx, cy};
    const HMONITOR pseudo = multimon::PrimaryMonitorPseudoHandle();
};

}  // namespace

TEST_F(Fallbacks, MonitorFromRectAndWindowKnowOnlyThePrimaryScreen) {
    EXPECT_TRUE(multimon::UsingFallbacks());
    RECT right = {cx + 10, 0, cx + 500, 300}, overlapping = {-100, -100, 1, 1};
    EXPECT_EQ(multimon::MonitorFromRect(&right, MONITOR_DEFAULTTONULL), nullptr);
    EXPECT_EQ(multimon::MonitorFromRect(&right, MONITOR_DEFAULTTONEAREST), pseudo);
    EXPECT_EQ(multimon::MonitorFromRect(&overlapping, MONITOR_DEFAULTTONULL), pseudo);
    HWND window = ::CreateWindowExA(0, "STATIC", "", WS_POPUP, cx + 50, 0, 100, 100, nullptr,
                                    nullptr, nullptr, nullptr);
    EXPECT_EQ(multimon::MonitorFromWindow(window, MONITOR_DEFAULTTONULL), nullptr);
    EXPECT_EQ(multimon::MonitorFromWindow(window, MONITOR_DEFAULTTOPRIMARY), pseudo);
    ::SetWindowPos(window, nullptr, 10, 10, 100, 100, SWP_NOZORDER);
    EXPECT_EQ(multimon::MonitorFromWindow(window, MONITOR_DEFAULTTONULL), pseudo);
    ::DestroyWindow(window);
}

TEST_F(Fallbacks, MonitorInfoDependsOnTheRecordSize) {
    MONITORINFOEXA info;
    std::memset(&info, 0x55, sizeof(info));
    info.cbSize = 39;
    EXPECT_FALSE(multimon::GetMonitorInfoA(pseudo, &info));
    EXPECT_EQ(info.rcMonitor.left, 0x55555555);
    info.cbSize = 40;
    ASSERT_TRUE(multimon::GetMonitorInfoA(pseudo, &info));
    EXPECT_TRUE(::EqualRect(&info.rcMonitor, &screen));
    EXPECT_EQ(info.dwFlags, DWORD(MONITORINFOF_PRIMARY));
    EXPECT_EQ(info.szDevice[0], 0x55);   // a 40-byte record has no device name
    info.cbSize = 72;
    ASSERT_TRUE(multimon::GetMonitorInfoA(pseudo, &info));
    EXPECT_STREQ(info.szDevice, "DISPLAY");
    EXPECT_FALSE(multimon::GetMonitorInfoA(HMONITOR(0x777), &info));
}

TEST_F(Fallbacks, OneDisplayDeviceAndATableOfOneMonitor) {
    DISPLAY_DEVICEA device = {};
    device.cb = 168;
    ASSERT_TRUE(multimon::EnumDisplayDevicesA(nullptr, 0, &device, 0));
    EXPECT_STREQ(device.DeviceName, "DISPLAY");
    EXPECT_EQ(device.StateFlags, 5u);
    EXPECT_FALSE(multimon::EnumDisplayDevicesA(nullptr, 1, &device, 0));
    device.cb = 167;
    EXPECT_FALSE(multimon::EnumDisplayDevicesA(nullptr, 0, &device, 0));

    Saver saver;
    saver.EnumerateMonitors();
    ASSERT_EQ(saver.monitorCount, 1u);
    EXPECT_STREQ(saver.monitors[0].adapterDescription, "DISPLAY");
    EXPECT_EQ(saver.monitors[0].adapterOrdinal, -1);
    EXPECT_EQ(saver.monitors[0].monitorHandle, pseudo);
    EXPECT_TRUE(::EqualRect(&saver.monitors[0].screenRect, &screen));
}
