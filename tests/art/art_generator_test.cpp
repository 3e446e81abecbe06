// The art generator is deterministic, and makes the very bytes the build packed into the
// program (on another compiler and C library), so the program shows what it makes.
#include <gtest/gtest.h>

#include <set>

#include "art_resources.h"

using namespace arttest;

TEST(ArtGenerator, TwoRunsGiveTheFilesTheProgramCarries) {
    const std::vector<artgen::ArtFile> files = artgen::ResourceFiles(artgen::GenerateArt());
    const std::vector<artgen::ArtFile> again = artgen::ResourceFiles(artgen::GenerateArt());
    ASSERT_EQ(files.size(), again.size());
    for (size_t i = 0; i < files.size(); ++i) EXPECT_TRUE(files[i].bytes == again[i].bytes) << files[i].name;

    const auto& table = artgen::ArtBitmaps();
    ASSERT_EQ(table.size(), 22u);
    for (size_t i = 0; i < table.size(); ++i) {
        SCOPED_TRACE(table[i].id);
        const std::vector<std::uint8_t> dib = ResourceBytes(table[i].id, MAKEINTRESOURCEA(2));
        const std::vector<std::uint8_t>& file = files[i].bytes;
        ASSERT_EQ(files[i].name, table[i].file);
        ASSERT_EQ(file.size(), dib.size() + 14);  // the file header is not part of the resource
        EXPECT_TRUE(std::equal(dib.begin(), dib.end(), file.begin() + 14));
    }
}

TEST(ArtGenerator, IconGroupHoldsTheSmallSizes) {
    const std::vector<std::uint8_t> group = ResourceBytes(101, MAKEINTRESOURCEA(14));
    ASSERT_GE(group.size(), 6u);
    const int count = group[4] | group[5] << 8;
    ASSERT_EQ(group.size(), 6u + 14u * count);
    std::set<int> sizes;
    for (int i = 0; i < count; ++i) sizes.insert(group[6 + 14 * i]);
    for (int side : {16, 32, 48}) EXPECT_EQ(sizes.count(side), 1u) << side;
}
