// A SkyScene whose render units have recording test devices, for the resource and
// drawing tests. Units are added windowed, each with its own FakeDevice; the fixture
// releases the scene's objects and the devices at the end.
#pragma once

#include <gtest/gtest.h>

#include "doubles/fake_direct3d.h"
#include "host/release.h"
#include "scene/sky_scene.h"

class SceneOnFakes : public ::testing::Test {
protected:
    SceneOnFakes() {
        scene.windowed = 1;
        scene.windowRect = scene.renderRect = RECT{0, 0, 600, 400};
    }
    ~SceneOnFakes() override {
        scene.ReleaseAllSceneObjects();
        for (RenderUnit& unit : scene.units) ReleaseAndClear(unit.device);
    }

    // Appends a unit whose device has a back buffer of the given format, and selects it.
    FakeDevice* AddUnit(D3DFORMAT format = D3DFMT_X8R8G8B8) {
        D3DPRESENT_PARAMETERS params = {600, 400, format, 1, D3DMULTISAMPLE_NONE,
                                        D3DSWAPEFFECT(0), nullptr, TRUE, TRUE, D3DFMT_D16};
        auto* device = new FakeDevice(d3d.get(), 0, D3DDEVTYPE_HAL, nullptr, 0, params);
        const UINT index = scene.unitCount++;
        scene.units[index] = RenderUnit{};
        scene.units[index].device = device;
        scene.SelectRenderUnit(index);
        return device;
    }

    FakeRef<FakeDirect3D> d3d{new FakeDirect3D};
    SkyScene scene;
};
