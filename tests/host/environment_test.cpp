// Environment creation: which monitors get units, and what is recorded when one fails.
#include "d3denv/saver_with_fakes.h"

namespace {

class Environment : public SaverWithFakes {
protected:
    void Start(SaverMode mode, int monitors = 1) {
        for (int i = 0; i < monitors; i++) AddAdapterWithMonitor();
        Enumerate();
        saver.mode = mode;
        saver.mouseMoves = 4;
    }
};

}  // namespace

TEST_F(Environment, DisabledHardwareWithoutSoftwareLeavesTheMonitorBlack) {
    Start(SaverMode::FullScreen, 2);
    Adapter(0).disableHardware = 1;
    Adapter(0).softwareCompatible = 0;
    saver.CreateEnvironment();
    EXPECT_EQ(saver.unitCount, 1u);
    EXPECT_EQ(saver.units[0].adapterOrdinal, 1u);
    EXPECT_EQ(Adapter(0).leaveBlack, 1u);
    EXPECT_EQ(saver.errorMode, 0u);
}

TEST_F(Environment, AFailedSecondMonitorIsRecordedAndTheFirstKeepsItsUnit) {
    Start(SaverMode::FullScreen, 2);
    d3d->createDeviceRule = [](const FakeCreateCall& call) {
        return call.adapter == 1 ? D3DERR_NOTAVAILABLE : D3D_OK;
    };
    saver.CreateEnvironment();
    EXPECT_EQ(saver.unitCount, 1u);
    EXPECT_EQ(saver.errorCode, SAVER_E_CREATE_DEVICE_FAILED);
    EXPECT_EQ(saver.creates, 0);   // the error display follows; no scene objects are made
}

TEST_F(Environment, ASceneThatCannotRestoreIsRecordedOnEveryUnit) {
    Start(SaverMode::FullScreen, 2);
    saver.restoreResult = E_OUTOFMEMORY;
    saver.CreateEnvironment();
    EXPECT_EQ(saver.restores, 2);   // the loop goes on to the next unit
    EXPECT_EQ(saver.errorCode, SAVER_E_SCENE_OBJECTS_FAILED);
    EXPECT_EQ(saver.units[1].objectsInitialized, 1u);
    EXPECT_EQ(saver.units[1].objectsRestored, 0u);
    EXPECT_EQ(saver.windowed, 0u);
    EXPECT_EQ(saver.mouseMoves, 0u);
    EXPECT_STRNE(saver.units[0].deviceStats, "");   // described all the same
}
