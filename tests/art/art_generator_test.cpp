// The art generator is deterministic: two runs in this process give the same files, and
// they are the very bytes the build's own run (on the build machine, another compiler and
// C library) packed into the program, so what the program shows is what the generator makes.
#include <gtest/gtest.h>

#include "art_resources.h"
#include "art_set.h"

using namespace arttest;

namespace {

const artgen::ArtSet& Art() {
    static const artgen::ArtSet art = artgen::GenerateArt();
    return art;
}

}  // namespace

TEST(ArtGenerator, TwoRunsGiveTheSameFiles) {
    const std::vector<artgen::ArtFile> first = artgen::ResourceFiles(Art());
    const std::vector<artgen::ArtFile> second = artgen::ResourceFiles(artgen::GenerateArt());
    ASSERT_EQ(first.size(), second.size());
    for (size_t i = 0; i < first.size(); ++i) {
        EXPECT_EQ(first[i].name, second[i].name);
        EXPECT_TRUE(first[i].bytes == second[i].bytes) << first[i].name;
    }
}

TEST(ArtGenerator, ProgramCarriesExactlyWhatItMakes) {
    const auto& table = artgen::ArtBitmaps();
    const std::vector<artgen::ArtFile> files = artgen::ResourceFiles(Art());
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
