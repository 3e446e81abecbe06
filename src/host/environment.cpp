// Environment creation: the step of the saving phase that turns the monitor table and the
// adapter records into render units with live devices, places the saver windows and has
// the scene create and restore its device objects on every unit.
//
// Depends on the device selection (PickBestAdapter, the unit creators, SelectRenderUnit)
// and the monitors (PlaceWindows). Failures are recorded, never returned; the saving
// phase then shows the error display. Holds no state of its own.
#include "host/saver.h"

namespace {

AdapterInfo* AdapterAt(Saver& saver, int ordinal) {
    if (ordinal < 0 || UINT(ordinal) >= saver.adapterCount || UINT(ordinal) >= kMaxAdapters)
        return nullptr;
    return saver.adapters[ordinal];
}

// A zeroed unit for the adapter at the end of the table, or null when the table is full.
RenderUnit* AppendUnit(Saver& saver, int ordinal) {
    if (saver.unitCount >= kMaxUnits) return nullptr;
    RenderUnit& unit = saver.units[saver.unitCount++];
    unit = RenderUnit{};
    unit.adapterOrdinal = UINT(ordinal);
    return &unit;
}

// One unit per monitor that shows the scene. A monitor whose adapter is told to use
// software only, but has no usable software device, is left black for this run.
void CreateFullScreenUnits(Saver& saver) {
    saver.windowed = 0;
    for (UINT i = 0; i < saver.monitorCount; i++) {
        const MonitorInfo& monitor = saver.monitors[i];
        AdapterInfo* adapter = AdapterAt(saver, monitor.adapterOrdinal);
        if (!adapter) continue;
        if (adapter->disableHardware && !adapter->softwareCompatible && !saver.allowReference)
            adapter->leaveBlack = 1;
        if (adapter->leaveBlack || adapter->deviceCount == 0) continue;
        adapter->deviceWindow = monitor.window;
        RenderUnit* unit = AppendUnit(saver, monitor.adapterOrdinal);
        if (!unit) break;
        if (FAILED(saver.CreateFullScreenUnit(*unit))) {
            saver.unitCount--;
            saver.RecordFailure(SAVER_E_CREATE_DEVICE_FAILED);
        }
    }
}

// The one unit of the Preview or Test window.
void CreateSingleWindowUnit(Saver& saver) {
    saver.windowed = 1;
    ::GetClientRect(saver.mainWindow, &saver.windowRect);
    saver.renderRect = saver.windowRect;

    int ordinal = -1;
    AdapterInfo* adapter = saver.PickBestAdapter(&ordinal) ? AdapterAt(saver, ordinal) : nullptr;
    if (!adapter) {
        saver.RecordFailure(SAVER_E_CREATE_DEVICE_FAILED);
        return;
    }
    adapter->deviceWindow = saver.mainWindow;
    if (saver.errorMode) return;
    RenderUnit* unit = AppendUnit(saver, ordinal);
    if (!unit || FAILED(saver.CreateWindowedUnit(*unit))) {
        if (unit) saver.unitCount--;
        saver.RecordFailure(saver.mode == SaverMode::Preview ? SAVER_E_NO_PREVIEW
                                                             : SAVER_E_CREATE_DEVICE_FAILED);
    }
}

// Each unit gets the scene's device objects; a unit that cannot have them is recorded
// and the others still get theirs.
void CreateSceneObjectsOnUnits(Saver& saver) {
    for (UINT i = 0; i < saver.unitCount; i++) {
        RenderUnit& unit = saver.units[i];
        saver.SelectRenderUnit(i);
        if (FAILED(saver.CreateSceneObjects())) {
            saver.RecordFailure(SAVER_E_SCENE_OBJECTS_FAILED);
            continue;
        }
        unit.objectsInitialized = 1;
        if (FAILED(saver.RestoreSceneObjects())) {
            saver.RecordFailure(SAVER_E_SCENE_OBJECTS_FAILED);
            continue;
        }
        unit.objectsRestored = 1;
    }
    saver.DescribeDevices();
}

}  // namespace

HRESULT Saver::CreateEnvironment() {
    if (mode == SaverMode::FullScreen)
        CreateFullScreenUnits(*this);
    else
        CreateSingleWindowUnit(*this);
    PlaceWindows();
    if (!errorMode) CreateSceneObjectsOnUnits(*this);
    mouseMoves = 0;
    return S_OK;
}
