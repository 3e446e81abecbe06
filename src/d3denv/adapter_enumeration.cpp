// Adapter, device and mode enumeration: what every adapter's device types can do, kept in
// one AdapterInfo record per adapter (owned by the Saver, allocated here, freed by
// FreeAdapters). Also the test of a back-buffer format for windowed rendering.
//
// Limits. The tables are fixed: 9 adapters, 20 adapter formats and 100 distinct modes
// per adapter, 150 combos per device type. Whatever Direct3D reports beyond that is
// ignored, never written past a table: adapters after the ninth are not enumerated;
// a mode whose format no longer fits in the format list is dropped with its format;
// distinct modes after the hundredth (in Direct3D's order) are dropped; combos after the
// 150th (in sorted order) are dropped.
#include "d3denv/adapter_enumeration.h"

#include <algorithm>
#include <new>

#include "host/saver.h"

namespace {

struct DeviceTypeEntry {
    D3DDEVTYPE type;
    const char* name;
};
const DeviceTypeEntry kDeviceTypes[] = {
    {D3DDEVTYPE_HAL, "HAL"}, {D3DDEVTYPE_SW, "SW"}, {D3DDEVTYPE_REF, "REF"}};

// An adapter format of the working list, with the answers for the device type in hand.
struct AdapterFormat {
    D3DFORMAT format;
    bool accepted;
    DWORD behaviorFlags;
    D3DFORMAT depthStencilFormat;
};

// The working lists of one adapter's enumeration.
struct ModeLists {
    D3DDISPLAYMODE modes[kMaxModes];
    UINT modeCount;
    AdapterFormat formats[kMaxAdapterFormats];
    UINT formatCount;
};

// Index of `format` in the list, appending it when there is room; -1 when it is absent
// and the list is full.
int FindOrAddFormat(ModeLists& lists, D3DFORMAT format) {
    for (UINT i = 0; i < lists.formatCount; i++)
        if (lists.formats[i].format == format) return int(i);
    if (lists.formatCount == kMaxAdapterFormats) return -1;
    lists.formats[lists.formatCount] = {format, false, 0, D3DFMT_UNKNOWN};
    return int(lists.formatCount++);
}

bool ModeListed(const ModeLists& lists, const D3DDISPLAYMODE& mode) {
    for (UINT i = 0; i < lists.modeCount; i++) {
        const D3DDISPLAYMODE& m = lists.modes[i];
        if (m.Width == mode.Width && m.Height == mode.Height && m.Format == mode.Format)
            return true;
    }
    return false;
}

void BuildModeLists(IDirect3D8* direct3d, UINT adapter, D3DFORMAT desktopFormat,
                    ModeLists& lists) {
    lists.modeCount = 0;
    lists.formatCount = 0;
    FindOrAddFormat(lists, desktopFormat);
    UINT count = direct3d->GetAdapterModeCount(adapter);
    for (UINT m = 0; m < count; m++) {
        D3DDISPLAYMODE mode = {};
        direct3d->EnumAdapterModes(adapter, m, &mode);
        if (mode.Width < 640 || mode.Height < 400 || ModeListed(lists, mode)) continue;
        if (lists.modeCount == kMaxModes || FindOrAddFormat(lists, mode.Format) < 0) continue;
        mode.RefreshRate = 0;
        lists.modes[lists.modeCount++] = mode;
    }
    std::sort(lists.modes, lists.modes + lists.modeCount,
              [](const D3DDISPLAYMODE& a, const D3DDISPLAYMODE& b) { return CompareModes(a, b) < 0; });
}

// Default combo: the last 640 x 480 combo before the first 16-bit 640 x 480 one (that
// one included), else combo 0.
void ChooseDefaultCombo(DeviceInfo& device) {
    device.currentCombo = 0;
    for (UINT c = 0; c < device.comboCount; c++) {
        const DeviceCombo& combo = device.combos[c];
        if (combo.width != 640 || combo.height != 480) continue;
        device.currentCombo = c;
        D3DFORMAT f = combo.format;
        if (f == D3DFMT_R5G6B5 || f == D3DFMT_X1R5G5B5 || f == D3DFMT_A1R5G5B5) break;
    }
}

void CollectCombos(const ModeLists& lists, DeviceInfo& device) {
    for (UINT m = 0; m < lists.modeCount && device.comboCount < kMaxCombos; m++) {
        const D3DDISPLAYMODE& mode = lists.modes[m];
        for (UINT f = 0; f < lists.formatCount; f++) {
            const AdapterFormat& format = lists.formats[f];
            if (format.format != mode.Format || !format.accepted) continue;
            device.combos[device.comboCount++] = {mode.Width, mode.Height, mode.Format,
                                                  format.behaviorFlags,
                                                  format.depthStencilFormat};
        }
    }
}

}  // namespace

int CompareModes(const D3DDISPLAYMODE& a, const D3DDISPLAYMODE& b) {
    if (a.Width != b.Width) return a.Width < b.Width ? -1 : 1;
    if (a.Height != b.Height) return a.Height < b.Height ? -1 : 1;
    if (a.Format != b.Format) return a.Format > b.Format ? -1 : 1;
    return 0;
}

bool IsSixteenBitFormat(D3DFORMAT format) {
    return format == D3DFMT_R5G6B5 || format == D3DFMT_X1R5G5B5 || format == D3DFMT_A1R5G5B5 ||
           format == D3DFMT_A4R4G4B4 || format == D3DFMT_X4R4G4B4;
}

bool IsThirtyTwoBitFormat(D3DFORMAT format) {
    return format == D3DFMT_A8R8G8B8 || format == D3DFMT_X8R8G8B8;
}

// ---- Behaviour rule -------------------------------------------------------------------
// Hardware T&L first (pure, then plain, then mixed), software vertex processing last;
// the scene's AcceptDevice has the last word on each.
bool Saver::ChooseBehavior(const D3DCAPS8& caps, D3DFORMAT format, DWORD* behaviorFlags) {
    DWORD tries[4];
    UINT count = 0;
    if (caps.DevCaps & D3DDEVCAPS_HWTRANSFORMANDLIGHT) {
        if (caps.DevCaps & D3DDEVCAPS_PUREDEVICE)
            tries[count++] = D3DCREATE_HARDWARE_VERTEXPROCESSING | D3DCREATE_PUREDEVICE;
        tries[count++] = D3DCREATE_HARDWARE_VERTEXPROCESSING;
        tries[count++] = D3DCREATE_MIXED_VERTEXPROCESSING;
    }
    tries[count++] = D3DCREATE_SOFTWARE_VERTEXPROCESSING;
    for (UINT i = 0; i < count; i++) {
        if (SUCCEEDED(AcceptDevice(&caps, tries[i], format))) {
            *behaviorFlags = tries[i];
            return true;
        }
    }
    return false;
}

bool Saver::FindDepthStencilFormat(UINT adapter, D3DDEVTYPE deviceType, D3DFORMAT format,
                                   D3DFORMAT* depthStencilFormat) {
    struct Candidate {
        D3DFORMAT format;
        UINT depthBits, stencilBits;   // the most this candidate offers
    };
    static const Candidate kCandidates[] = {
        {D3DFMT_D16, 16, 0},   {D3DFMT_D15S1, 15, 1},   {D3DFMT_D24X8, 24, 0},
        {D3DFMT_D24S8, 24, 8}, {D3DFMT_D24X4S4, 24, 4}, {D3DFMT_D32, 32, 0}};
    for (const Candidate& c : kCandidates) {
        bool noStencil = c.stencilBits == 0;
        if (minDepthBits > c.depthBits || (noStencil ? minStencilBits != 0
                                                     : minStencilBits > c.stencilBits))
            continue;
        if (SUCCEEDED(direct3d->CheckDeviceFormat(adapter, deviceType, format,
                                                  D3DUSAGE_DEPTHSTENCIL, D3DRTYPE_SURFACE,
                                                  c.format)) &&
            SUCCEEDED(direct3d->CheckDepthStencilMatch(adapter, deviceType, format, format,
                                                       c.format))) {
            *depthStencilFormat = c.format;
            return true;
        }
    }
    return false;
}

HRESULT Saver::CheckWindowedFormat(UINT adapter, D3DFORMAT backBufferFormat,
                                   DWORD* behaviorFlags, D3DFORMAT* depthStencilFormat) {
    AdapterInfo* info = adapter < adapterCount ? adapters[adapter] : nullptr;
    if (!info || info->currentDevice >= info->deviceCount) return E_FAIL;
    DeviceInfo& device = info->devices[info->currentDevice];
    HRESULT hr = direct3d->CheckDeviceType(adapter, device.deviceType, info->desktopMode.Format,
                                           backBufferFormat, TRUE);
    if (FAILED(hr)) return hr;
    DWORD flags = 0;
    if (!ChooseBehavior(device.caps, backBufferFormat, &flags)) return E_FAIL;
    if (multithreaded) flags |= D3DCREATE_MULTITHREADED;
    D3DFORMAT depth = D3DFMT_UNKNOWN;
    if (useDepthBuffer &&
        !FindDepthStencilFormat(adapter, device.deviceType, backBufferFormat, &depth))
        return E_FAIL;
    *behaviorFlags = flags;
    *depthStencilFormat = depth;
    return S_OK;
}

// ---- Enumeration ----------------------------------------------------------------------
namespace {

// The adapter formats accepted for one device type, with their behaviour and depth.
struct TypeEnumeration {
    Saver& saver;
    UINT adapter;
    AdapterInfo& info;
    DeviceInfo& device;
    ModeLists& lists;

    void CheckFormats() {
        D3DDEVTYPE type = device.deviceType;
        for (UINT f = 0; f < lists.formatCount; f++) {
            AdapterFormat& format = lists.formats[f];
            format.accepted = false;
            format.depthStencilFormat = D3DFMT_UNKNOWN;
            if (FAILED(saver.direct3d->CheckDeviceType(adapter, type, format.format,
                                                       format.format, FALSE)))
                continue;
            if (type == D3DDEVTYPE_SW) info.hasSoftwareDevice = 1;
            if (type == D3DDEVTYPE_HAL) info.hasHardwareDevice = 1;
            format.accepted = saver.ChooseBehavior(device.caps, format.format, &format.behaviorFlags);
            if (!format.accepted) continue;
            if (saver.multithreaded) format.behaviorFlags |= D3DCREATE_MULTITHREADED;
            if (saver.useDepthBuffer)
                format.accepted = saver.FindDepthStencilFormat(adapter, type, format.format,
                                                               &format.depthStencilFormat);
        }
    }
};

}  // namespace

HRESULT Saver::EnumerateAdapters() {
    ModeLists lists;   // working lists of the adapter in hand (about 2 KB)
    UINT typeCount = allowReference ? 3 : 2;
    for (UINT a = 0; a < direct3d->GetAdapterCount() && adapterCount < kMaxAdapters; a++) {
        if (!adapters[adapterCount]) {
            adapters[adapterCount] = new (std::nothrow) AdapterInfo();
            if (!adapters[adapterCount]) return E_OUTOFMEMORY;
        }
        AdapterInfo& info = *adapters[adapterCount];
        direct3d->GetAdapterIdentifier(a, D3DENUM_NO_WHQL_LEVEL, &info.identifier);
        direct3d->GetAdapterDisplayMode(a, &info.desktopMode);
        info.deviceCount = 0;
        info.currentDevice = 0;
        info.leaveBlack = 0;
        info.monitorIndex = -1;
        HMONITOR monitor = direct3d->GetAdapterMonitor(a);
        for (UINT m = 0; monitor && m < monitorCount; m++) {
            if (monitors[m].monitorHandle != monitor) continue;
            info.monitorIndex = int(m);
            monitors[m].adapterOrdinal = int(a);
            break;
        }

        BuildModeLists(direct3d, a, info.desktopMode.Format, lists);
        for (UINT t = 0; t < typeCount; t++) {
            DeviceInfo& device = info.devices[info.deviceCount];
            device.deviceType = kDeviceTypes[t].type;
            direct3d->GetDeviceCaps(a, device.deviceType, &device.caps);
            device.typeName = kDeviceTypes[t].name;
            device.comboCount = 0;
            device.currentCombo = 0;
            device.canRenderWindowed = 0;
            TypeEnumeration{*this, a, info, device, lists}.CheckFormats();
            CollectCombos(lists, device);
            ChooseDefaultCombo(device);
            device.canRenderWindowed =
                lists.formats[0].accepted && (device.caps.Caps2 & D3DCAPS2_CANRENDERWINDOWED);
            if (device.comboCount == 0) continue;
            info.deviceCount++;
            if (device.deviceType == D3DDEVTYPE_SW) info.softwareCompatible = 1;
            if (device.deviceType == D3DDEVTYPE_HAL) info.hardwareCompatible = 1;
        }
        adapterCount++;
    }
    return S_OK;
}

void Saver::FreeAdapters() {
    for (UINT a = 0; a < kMaxAdapters; a++) {
        delete adapters[a];
        adapters[a] = nullptr;
    }
    adapterCount = 0;
}
