// The shipped bitmaps and icon as the program finds them among its resources: every one of
// the 22 bitmaps is an 8-bit BI_RGB bottom-up DIB of its level's size with exactly the
// listed number of colours and no index outside its colour table; the icon group holds the
// 16, 32 and 48 pixel images.
#include <gtest/gtest.h>

#include <algorithm>

#include "art_resources.h"

using namespace arttest;

namespace {

void ExpectBitmap(const Level& level) {
    SCOPED_TRACE(level.id);
    const std::vector<std::uint8_t> dib = ResourceBytes(level.id, MAKEINTRESOURCEA(2));
    ASSERT_GE(dib.size(), sizeof(BITMAPINFOHEADER));
    const BITMAPINFOHEADER h = Header(dib);
    EXPECT_EQ(h.biSize, 40u);
    EXPECT_EQ(h.biWidth, level.size);
    EXPECT_EQ(h.biHeight, level.size);  // positive: bottom-up
    EXPECT_EQ(h.biPlanes, 1);
    EXPECT_EQ(h.biBitCount, 8);
    EXPECT_EQ(h.biCompression, static_cast<DWORD>(BI_RGB));
    EXPECT_EQ(h.biClrUsed, static_cast<DWORD>(level.colours));
    const size_t pixels = static_cast<size_t>(level.size) * level.size;  // rows are whole dwords
    ASSERT_EQ(dib.size(), 40 + 4 * static_cast<size_t>(level.colours) + pixels);
    const std::uint8_t* index = dib.data() + 40 + 4 * level.colours;
    int outside = 0;
    for (size_t i = 0; i < pixels; ++i) outside += index[i] >= level.colours;
    EXPECT_EQ(outside, 0) << "pixels that would decode as the loader's white filler";
}

}  // namespace

TEST(ShippedBitmaps, EveryLevelHasItsSizeFormatAndColourTable) {
    for (const auto& chain : Chains())
        for (const Level& level : chain) ExpectBitmap(level);
    ExpectBitmap(kGlow);
}

TEST(ShippedBitmaps, NoOtherBitmapNumbersInTheRange) {
    EXPECT_TRUE(ResourceBytes(116, MAKEINTRESOURCEA(2)).empty());
    EXPECT_TRUE(ResourceBytes(113, MAKEINTRESOURCEA(2)).empty());
    EXPECT_TRUE(ResourceBytes(137, MAKEINTRESOURCEA(2)).empty());
}

TEST(ShippedIcon, GroupHoldsTheSmallSizesAndLoads) {
    const std::vector<std::uint8_t> group = ResourceBytes(101, MAKEINTRESOURCEA(14));
    ASSERT_GE(group.size(), 6u);
    const int count = group[4] | group[5] << 8;
    ASSERT_EQ(group.size(), 6u + 14u * count);
    std::vector<int> sizes;
    for (int i = 0; i < count; ++i) {
        const int side = group[6 + 14 * i];
        sizes.push_back(side == 0 ? 256 : side);
    }
    for (int want : {16, 32, 48}) EXPECT_NE(std::find(sizes.begin(), sizes.end(), want), sizes.end()) << want;
    for (int side : {16, 32, 48}) {
        HICON icon = static_cast<HICON>(::LoadImageA(::GetModuleHandleA(nullptr), MAKEINTRESOURCEA(101), IMAGE_ICON,
                                                     side, side, 0));
        EXPECT_NE(icon, nullptr) << side;
        if (icon) ::DestroyIcon(icon);
    }
}
