// A Saver wired to a FakeDirect3D, with monitors set up by hand under fake handles that the
// fake adapters report; the scene's virtual operations are counted.
#pragma once

#include <gtest/gtest.h>

#include "doubles/fake_direct3d.h"
#include "host/release.h"
#include "host/saver.h"

class CountingSaver : public Saver {
public:
    HRESULT restoreResult = S_OK;
    int creates = 0, restores = 0, releases = 0, destroys = 0;

    HRESULT CreateSceneObjects() override { return creates++, S_OK; }
    HRESULT RestoreSceneObjects() override { return restores++, restoreResult; }
    HRESULT ReleaseSceneObjects() override { return releases++, S_OK; }
    HRESULT DestroySceneObjects() override { return destroys++, S_OK; }
};

template <class S>
class SaverWithFakesOf : public ::testing::Test {
protected:
    SaverWithFakesOf() : d3d(new FakeDirect3D) {
        saver.useDepthBuffer = 1;
        saver.direct3d = d3d.get();
        d3d->AddRef();
    }
    ~SaverWithFakesOf() override {
        for (UINT i = 0; i < saver.unitCount; i++) ReleaseAndClear(saver.units[i].device);
        saver.FreeAdapters();
        ReleaseAndClear(saver.direct3d);
    }

    void AddMonitor(FakeAdapter& adapter, RECT rect) {
        MonitorInfo& m = saver.monitors[saver.monitorCount];
        m = {};
        m.monitorHandle = FakeMonitorHandle(int(saver.monitorCount) + 1);
        m.screenRect = rect;
        m.adapterOrdinal = -1;
        adapter.monitor = m.monitorHandle;
        saver.monitorCount++;
    }
    // One adapter with a 1024 x 768 monitor right of the last.
    FakeAdapter& AddAdapterWithMonitor() {
        FakeAdapter& adapter = d3d->AddAdapter();
        LONG left = LONG(saver.monitorCount) * 1024;
        AddMonitor(adapter, RECT{left, 0, left + 1024, 768});
        return adapter;
    }
    AdapterInfo& Adapter(UINT a) { return *saver.adapters[a]; }
    void Enumerate() { ASSERT_EQ(saver.EnumerateAdapters(), S_OK); }

    S saver;
    FakeRef<FakeDirect3D> d3d;
};
using SaverWithFakes = SaverWithFakesOf<CountingSaver>;
