// Adapter enumeration against scripted adapters, grouped by rule.
#include "d3denv/adapter_enumeration.h"

#include "saver_with_fakes.h"

namespace {

class Enumeration : public SaverWithFakes {
protected:
    void Reenumerate() {
        saver.FreeAdapters();
        Enumerate();
    }
    const DeviceInfo& Hal() { return Adapter(0).devices[0]; }
    const DeviceCombo& Current() { return Hal().combos[Hal().currentCombo]; }
};

}  // namespace

TEST_F(Enumeration, ModesAreListedOnceSortedAndSmallOnesDropped) {
    AddAdapterWithMonitor().modes = {
        FakeMode(800, 600, D3DFMT_X8R8G8B8, 60), FakeMode(800, 600, D3DFMT_X8R8G8B8, 75),
        FakeMode(640, 480, D3DFMT_X8R8G8B8, 85), FakeMode(640, 480, D3DFMT_R5G6B5),
        FakeMode(640, 480, D3DFMT_X1R5G5B5), FakeMode(320, 240, D3DFMT_X8R8G8B8),
        FakeMode(640, 350, D3DFMT_X8R8G8B8), FakeMode(512, 384, D3DFMT_X8R8G8B8)};
    Enumerate();
    ASSERT_EQ(Hal().comboCount, 4u);
    const D3DFORMAT order[] = {D3DFMT_X1R5G5B5, D3DFMT_R5G6B5, D3DFMT_X8R8G8B8, D3DFMT_X8R8G8B8};
    for (int i = 0; i < 4; i++) EXPECT_EQ(Hal().combos[i].format, order[i]) << i;
    EXPECT_EQ(Hal().combos[3].width * Hal().combos[3].height, 800u * 600u);
    EXPECT_LT(CompareModes(FakeMode(640, 600, D3DFMT_R5G6B5), FakeMode(800, 480, D3DFMT_R5G6B5)), 0);
}

TEST_F(Enumeration, DefaultComboPrefersSixteenBitAt640x480) {
    const struct {
        std::vector<D3DDISPLAYMODE> modes;
        D3DFORMAT format;
        UINT width;
    } cases[] = {
        {{}, D3DFMT_R5G6B5, 640},   // the adapter's default modes
        {{FakeMode(640, 480, D3DFMT_X8R8G8B8), FakeMode(640, 480, D3DFMT_X1R5G5B5)}, D3DFMT_X1R5G5B5, 640},
        {{FakeMode(640, 480, D3DFMT_X8R8G8B8), FakeMode(800, 600, D3DFMT_R5G6B5)}, D3DFMT_X8R8G8B8, 640},
        {{FakeMode(1024, 768, D3DFMT_R5G6B5), FakeMode(800, 600, D3DFMT_X8R8G8B8)}, D3DFMT_X8R8G8B8, 800},
    };
    FakeAdapter& a = AddAdapterWithMonitor();
    for (const auto& c : cases) {
        if (!c.modes.empty()) a.modes = c.modes;
        Reenumerate();
        EXPECT_EQ(Current().format, c.format);
        EXPECT_EQ(Current().width, c.width);
    }
}

TEST_F(Enumeration, SurplusAdaptersFormatsModesAndCombosAreIgnored) {
    for (int i = 0; i < 11; i++) d3d->AddAdapter();
    std::vector<D3DDISPLAYMODE>& big = d3d->adapters[0].modes;
    big.clear();   // 30 formats x 10 sizes: more formats than 20, more modes than 100
    for (int f = 0; f < 30; f++)
        for (UINT w = 640; w < 640 + 10 * 16; w += 16) big.push_back(FakeMode(w, 480, D3DFORMAT(100 + f)));
    std::vector<D3DDISPLAYMODE>& many = d3d->adapters[1].modes;
    many.clear();   // 16 x 16 sizes in one format: more than 150 combos
    for (UINT w = 0; w < 16; w++)
        for (UINT h = 0; h < 16; h++) many.push_back(FakeMode(640 + w, 480 + h, D3DFMT_R5G6B5));
    Enumerate();
    EXPECT_EQ(saver.adapterCount, kMaxAdapters);
    EXPECT_LE(Hal().comboCount, kMaxModes);
    EXPECT_EQ(Adapter(1).devices[0].comboCount, kMaxModes);   // 256 modes, 100 kept
    saver.FreeAdapters();
    EXPECT_EQ(saver.adapters[0], nullptr);
}
