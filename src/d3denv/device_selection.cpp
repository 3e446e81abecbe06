// Device selection and render units: the device type and display mode of each unit, its
// presentation parameters and device (with the fallback through lower modes for full
// screen, and the registry write of the mode that finally worked), the adapter of the
// single window, switching the current unit, the projection that lets several monitors
// show one common view, and the release and re-creation of the devices around the
// Windows 9x password check.
#include <algorithm>

#include "d3denv/adapter_enumeration.h"
#include "gfxutil/d3dx_math.h"
#include "host/registry_values.h"
#include "host/release.h"
#include "host/saver.h"

namespace {

// Index of the device taken for a unit, or kNoIndex. HAL when allowed (and, for a window,
// able to render windowed), else SW, else REF when the reference device is allowed.
UINT ChooseDevice(const AdapterInfo& adapter, bool allowReference, bool forWindow) {
    UINT chosen = kNoIndex;
    bool software = false;
    for (UINT d = 0; d < adapter.deviceCount; d++) {
        const DeviceInfo& device = adapter.devices[d];
        bool windowOk = !forWindow || device.canRenderWindowed;
        if (device.deviceType == D3DDEVTYPE_HAL && !adapter.disableHardware && windowOk)
            return d;
        if (device.deviceType == D3DDEVTYPE_SW && windowOk) {
            chosen = d;
            software = true;
        } else if (device.deviceType == D3DDEVTYPE_REF && allowReference && !software) {
            chosen = d;
        }
    }
    return chosen;
}

// The user's stored mode, if the device still offers it.
bool FindUserCombo(const AdapterInfo& adapter, DeviceInfo& device) {
    if (adapter.userWidth == 0) return false;
    for (UINT c = 0; c < device.comboCount; c++) {
        const DeviceCombo& combo = device.combos[c];
        if (combo.width == adapter.userWidth && combo.height == adapter.userHeight &&
            combo.format == adapter.userFormat) {
            device.currentCombo = c;
            return true;
        }
    }
    return false;
}

// Software rendering: the smallest height other than 400 (a 640 x 400 mode letterboxes
// badly), 16-bit where offered.
void ChooseSoftwareCombo(DeviceInfo& device) {
    device.currentCombo = 0;
    UINT bestHeight = 0xFFFFFFFF;
    bool lastSixteen = false;
    for (UINT c = 0; c < device.comboCount; c++) {
        const DeviceCombo& combo = device.combos[c];
        if (combo.height == 400) continue;
        if (combo.height < bestHeight || (combo.height == bestHeight && !lastSixteen)) {
            device.currentCombo = c;
            bestHeight = combo.height;
            lastSixteen = IsSixteenBitFormat(combo.format);
        }
    }
}

// Hardware rendering: the desktop resolution, 32-bit where offered, else the first
// format listed at that size.
void ChooseHardwareCombo(const AdapterInfo& adapter, DeviceInfo& device) {
    device.currentCombo = 0;
    bool found = false;
    for (UINT c = 0; c < device.comboCount; c++) {
        const DeviceCombo& combo = device.combos[c];
        if (combo.width != adapter.desktopMode.Width || combo.height != adapter.desktopMode.Height)
            continue;
        const bool thirtyTwo = IsThirtyTwoBitFormat(combo.format);
        if (!found || thirtyTwo) device.currentCombo = c;
        found = true;
        if (thirtyTwo) break;
    }
}

// The refresh rate a full-screen mode asks for: the desktop's own when the mode has the
// desktop's size and format, so that a 120 or 144 Hz monitor keeps its rate; any other mode
// the adapter's default (0). A desktop reporting 0 or 1 is itself on the hardware default.
UINT FullScreenRefreshRate(const AdapterInfo& adapter, const DeviceCombo& combo) {
    const D3DDISPLAYMODE& desktop = adapter.desktopMode;
    bool desktopMode = combo.width == desktop.Width && combo.height == desktop.Height &&
                       combo.format == desktop.Format;
    return desktopMode && desktop.RefreshRate > 1 ? desktop.RefreshRate : 0;
}

void WriteFallbackMode(const char* registryPath, const AdapterInfo& adapter) {
    if (!registryPath[0] || adapter.monitorIndex < 0) return;
    HKEY appKey = OpenOrCreateKey(HKEY_CURRENT_USER, registryPath);
    if (!appKey) return;
    char name[32];
    ::wsprintfA(name, "System %d", adapter.monitorIndex + 1);
    HKEY monitorKey = OpenOrCreateKey(appKey, name);
    if (monitorKey) {
        WriteRegistryDword(monitorKey, "Width", adapter.userWidth);
        WriteRegistryDword(monitorKey, "Height", adapter.userHeight);
        WriteRegistryDword(monitorKey, "Format", DWORD(adapter.userFormat));
        WriteRegistryBytes(monitorKey, "Adapter ID", &adapter.identifier.DeviceIdentifier,
                           sizeof(adapter.identifier.DeviceIdentifier));
        ::RegCloseKey(monitorKey);
    }
    ::RegCloseKey(appKey);
}

}  // namespace

// ---- Adapter of the single window -----------------------------------------------------
bool Saver::PickBestAdapter(int* adapterOrdinal) {
    *adapterOrdinal = -1;
    for (UINT m = 0; m < monitorCount; m++) {
        int a = monitors[m].adapterOrdinal;
        if (a < 0 || UINT(a) >= adapterCount || !adapters[a]) continue;
        if (adapters[a]->hardwareCompatible) {
            *adapterOrdinal = a;
            return true;
        }
        if (adapters[a]->softwareCompatible) *adapterOrdinal = a;
    }
    return *adapterOrdinal != -1;
}

// ---- Full screen ----------------------------------------------------------------------
HRESULT Saver::CreateFullScreenUnit(RenderUnit& unit) {
    if (unit.adapterOrdinal >= adapterCount || !adapters[unit.adapterOrdinal]) return E_FAIL;
    AdapterInfo& adapter = *adapters[unit.adapterOrdinal];
    if (adapter.deviceCount == 0) return E_FAIL;
    UINT chosen = ChooseDevice(adapter, allowReference != 0, false);
    if (chosen == kNoIndex) return SAVER_E_NO_HARDWARE_DEVICE;
    DeviceInfo& device = adapter.devices[chosen];
    device.currentCombo = kNoIndex;
    if (!FindUserCombo(adapter, device)) {
        if (device.deviceType == D3DDEVTYPE_SW)
            ChooseSoftwareCombo(device);
        else
            ChooseHardwareCombo(adapter, device);
    }

    bool fellBack = false, desktopRate = true;
    for (;;) {
        const DeviceCombo& combo = device.combos[device.currentCombo];
        unit.deviceType = device.deviceType;
        unit.behaviorFlags = combo.behaviorFlags;
        unit.monitorIndex = adapter.monitorIndex;
        D3DPRESENT_PARAMETERS& p = unit.presentParams;
        p = {};
        p.BackBufferWidth = combo.width;
        p.BackBufferHeight = combo.height;
        p.BackBufferFormat = combo.format;
        p.BackBufferCount = 1;
        p.MultiSampleType = D3DMULTISAMPLE_NONE;
        p.SwapEffect = fullScreenSwapEffect;
        p.hDeviceWindow = adapter.deviceWindow;
        p.Windowed = FALSE;
        p.EnableAutoDepthStencil = useDepthBuffer ? TRUE : FALSE;
        p.AutoDepthStencilFormat = combo.depthStencilFormat;
        p.FullScreen_RefreshRateInHz = desktopRate ? FullScreenRefreshRate(adapter, combo) : 0;
        p.FullScreen_PresentationInterval = D3DPRESENT_INTERVAL_ONE;

        HRESULT hr = direct3d->CreateDevice(unit.adapterOrdinal, unit.deviceType, mainWindow,
                                            unit.behaviorFlags, &p, &unit.device);
        if (SUCCEEDED(hr)) {
            hr = AcceptCreatedDevice(unit.device);
            if (SUCCEEDED(hr)) {
                if (!fellBack) return hr;
                adapter.userWidth = p.BackBufferWidth;
                adapter.userHeight = p.BackBufferHeight;
                adapter.userFormat = p.BackBufferFormat;
                WriteFallbackMode(registryPath, adapter);
                return hr;
            }
            ReleaseAndClear(unit.device);
        }
        unit.device = nullptr;
        if (p.FullScreen_RefreshRateInHz != 0) {   // the same mode at the adapter's default first
            desktopRate = false;
            continue;
        }
        fellBack = true;
        if (!FindLowerCombo(device)) return hr;
    }
}

// Next mode to try after `device`'s current one failed: the same size in fewer bits if
// the current mode is 32-bit, else the largest smaller area, 32-bit preferred among equal
// areas.
bool Saver::FindLowerCombo(DeviceInfo& device) {
    if (device.currentCombo >= device.comboCount) return false;
    const DeviceCombo& current = device.combos[device.currentCombo];
    UINT area = current.width * current.height;
    bool current32 = IsThirtyTwoBitFormat(current.format);
    UINT pick = kNoIndex, bestArea = 0;
    bool best32 = false;
    for (UINT j = 0; j < device.comboCount; j++) {
        if (j == device.currentCombo) continue;
        const DeviceCombo& combo = device.combos[j];
        bool is32 = IsThirtyTwoBitFormat(combo.format);
        if (current32 && !is32 && combo.width == current.width && combo.height == current.height) {
            device.currentCombo = j;
            return true;
        }
        UINT comboArea = combo.width * combo.height;
        if (comboArea >= area) continue;
        if (best32 && comboArea < bestArea) continue;
        if (comboArea > bestArea || (!best32 && is32)) {
            pick = j;
            bestArea = comboArea;
            best32 = is32;
        }
    }
    if (pick == kNoIndex) return false;
    device.currentCombo = pick;
    return true;
}

// ---- Window ---------------------------------------------------------------------------
HRESULT Saver::CreateWindowedUnit(RenderUnit& unit) {
    if (unit.adapterOrdinal >= adapterCount || !adapters[unit.adapterOrdinal]) return E_FAIL;
    AdapterInfo& adapter = *adapters[unit.adapterOrdinal];
    adapter.currentDevice = ChooseDevice(adapter, allowReference != 0, true);
    if (adapter.currentDevice == kNoIndex) return SAVER_E_NO_HARDWARE_DEVICE;
    const DeviceInfo& device = adapter.devices[adapter.currentDevice];

    const D3DFORMAT candidates[] = {adapter.desktopMode.Format, D3DFMT_A8R8G8B8,
                                    D3DFMT_X8R8G8B8, D3DFMT_A1R5G5B5, D3DFMT_R5G6B5};
    D3DFORMAT format = D3DFMT_UNKNOWN, depth = D3DFMT_UNKNOWN;
    DWORD flags = 0;
    bool found = false;
    for (D3DFORMAT candidate : candidates) {
        if (SUCCEEDED(CheckWindowedFormat(unit.adapterOrdinal, candidate, &flags, &depth))) {
            format = candidate;
            found = true;
            break;
        }
    }
    if (!found) return E_FAIL;

    unit.monitorIndex = adapter.monitorIndex;
    unit.deviceType = device.deviceType;
    unit.behaviorFlags = flags;
    D3DPRESENT_PARAMETERS& p = unit.presentParams;
    p = {};
    p.BackBufferFormat = format;
    p.BackBufferCount = 1;
    p.MultiSampleType = D3DMULTISAMPLE_NONE;
    p.SwapEffect = windowedSwapEffect;
    p.hDeviceWindow = adapter.deviceWindow;
    p.Windowed = TRUE;
    p.EnableAutoDepthStencil = useDepthBuffer ? TRUE : FALSE;
    p.AutoDepthStencilFormat = depth;
    p.FullScreen_PresentationInterval = D3DPRESENT_INTERVAL_DEFAULT;
    HRESULT hr = direct3d->CreateDevice(unit.adapterOrdinal, unit.deviceType, mainWindow,
                                        unit.behaviorFlags, &p, &unit.device);
    if (FAILED(hr)) {
        unit.device = nullptr;
        return hr;
    }
    return S_OK;
}

// ---- Current unit ---------------------------------------------------------------------
void Saver::SelectRenderUnit(UINT index) {
    if (index >= unitCount) return;
    RenderUnit& unit = units[index];
    activeDevice = unit.device;
    if (!windowed && unit.monitorIndex >= 0 && UINT(unit.monitorIndex) < monitorCount)
        renderRect = monitors[unit.monitorIndex].screenRect;
    if (activeDevice) {
        IDirect3DSurface8* backBuffer = nullptr;
        activeDevice->GetBackBuffer(0, D3DBACKBUFFER_TYPE_MONO, &backBuffer);
        if (backBuffer) backBuffer->GetDesc(&backBufferDesc);
        ReleaseAndClear(backBuffer);
    }
    ::lstrcpynA(deviceStats, unit.deviceStats, sizeof(deviceStats));
    ::lstrcpynA(frameStats, unit.frameStats, sizeof(frameStats));
    UnitChanged(index);
}

// ---- Projection -----------------------------------------------------------------------
// One view across all monitors (windowRect) or the same view on each (screensSame); the
// shorter side of the reference rectangle spans near/2 on each side of its centre line.
// Screen rows grow downwards and the frustum's y upwards, so a monitor's bottom edge gives
// the frustum's bottom: each monitor shows the rows of the common view that it covers,
// also when it is shorter than its neighbour or not centred on the common view.
// An empty rectangle (a minimised or zero-sized window) counts as one pixel, so the
// matrix stays finite.
void Saver::ComputeProjection(float zNear, float zFar, D3DMATRIX* projection) {
    const RECT& q = screensSame ? renderRect : windowRect;
    LONG cx = (q.left + q.right) / 2;
    LONG cy = (q.top + q.bottom) / 2;
    LONG size = std::max<LONG>(std::min(q.right - q.left, q.bottom - q.top), 1);
    RECT r = renderRect;
    if (r.right <= r.left) r.right = r.left + 1;
    if (r.bottom <= r.top) r.bottom = r.top + 1;
    float s = float(size);
    D3DXMATRIX matrix;
    D3DXMatrixPerspectiveOffCenterLH(&matrix, zNear * float(r.left - cx) / s,
                                     zNear * float(r.right - cx) / s,
                                     zNear * float(cy - r.bottom) / s,
                                     zNear * float(cy - r.top) / s, zNear, zFar);
    *projection = matrix;
}

HRESULT Saver::SetProjection(float zNear, float zFar) {
    if (!activeDevice) return E_FAIL;
    D3DMATRIX projection;
    ComputeProjection(zNear, zFar, &projection);
    return activeDevice->SetTransform(D3DTS_PROJECTION, &projection);
}

// ---- Release and re-creation around the password check --------------------------------
void Saver::ReleaseDevices() {
    for (UINT i = 0; i < unitCount; i++) {
        RenderUnit& unit = units[i];
        SelectRenderUnit(i);
        if (unit.objectsRestored) {
            ReleaseSceneObjects();
            unit.objectsRestored = 0;
        }
        if (unit.objectsInitialized) {
            DestroySceneObjects();
            unit.objectsInitialized = 0;
        }
        ReleaseAndClear(unit.device);
    }
    activeDevice = nullptr;   // it was one of the units' devices
}

void Saver::RecreateDevices() {
    for (UINT i = 0; i < unitCount; i++) {
        RenderUnit& unit = units[i];
        if (unit.device) continue;   // still there: nothing to re-create
        HRESULT hr = direct3d ? direct3d->CreateDevice(unit.adapterOrdinal, unit.deviceType,
                                                       mainWindow, unit.behaviorFlags,
                                                       &unit.presentParams, &unit.device)
                              : E_FAIL;
        if (FAILED(hr)) {
            unit.device = nullptr;
            RecordFailure(SAVER_E_CREATE_DEVICE_FAILED);
            continue;
        }
        SelectRenderUnit(i);
        if (FAILED(CreateSceneObjects())) {
            RecordFailure(SAVER_E_SCENE_OBJECTS_FAILED);
            continue;
        }
        unit.objectsInitialized = 1;
        if (FAILED(RestoreSceneObjects())) {
            RecordFailure(SAVER_E_SCENE_OBJECTS_FAILED);
            continue;
        }
        unit.objectsRestored = 1;
    }
}
