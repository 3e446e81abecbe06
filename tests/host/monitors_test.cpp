// The single-monitor fallbacks of the multi-monitor calls (forced through the lookup seam)
// and the monitor table built from them; the real devices are the end-to-end runs'.
#include <gtest/gtest.h>

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
