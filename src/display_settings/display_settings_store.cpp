// The per-monitor display settings in the registry: "ScreensSame" in the application key
// and, per monitor that has an adapter, a sub-key "System %d" (the monitor's position in
// the monitor table plus one) with "Leave Black", "Disable Hardware", "Width", "Height",
// "Format" and "Adapter ID". The caller opens and closes the application key.
//
// A stored "Adapter ID" that names another adapter drops that key's hardware and mode
// choices (the monitor now has a different card); "Leave Black" holds whatever adapter
// drives the monitor. Values of any other size than their field's are ignored
// (registry_values.h), so nothing stored can write past a field.
#include "host/registry_values.h"
#include "host/saver.h"

namespace {

HKEY OpenMonitorKey(HKEY key, UINT monitorIndex) {
    char name[32];
    ::wsprintfA(name, "System %d", int(monitorIndex + 1));
    return OpenOrCreateKey(key, name);
}

void ReadUnsigned(HKEY key, const char* name, UINT* field) {
    DWORD value;
    if (ReadRegistryDword(key, name, &value)) *field = value;
}

void ReadAdapterSettings(HKEY key, AdapterInfo& adapter) {
    GUID stored = {};
    ReadRegistryBytes(key, "Adapter ID", &stored, sizeof(stored));
    ReadRegistryDword(key, "Leave Black", &adapter.leaveBlack);
    static const GUID kNone = {};
    if (!IsEqualGUID(stored, adapter.identifier.DeviceIdentifier) && !IsEqualGUID(stored, kNone))
        return;
    ReadRegistryDword(key, "Disable Hardware", &adapter.disableHardware);
    ReadUnsigned(key, "Width", &adapter.userWidth);
    ReadUnsigned(key, "Height", &adapter.userHeight);
    DWORD format;
    if (ReadRegistryDword(key, "Format", &format)) adapter.userFormat = D3DFORMAT(format);
}

void WriteAdapterSettings(HKEY key, const AdapterInfo& adapter) {
    WriteRegistryDword(key, "Leave Black", adapter.leaveBlack);
    WriteRegistryDword(key, "Disable Hardware", adapter.disableHardware);
    WriteRegistryDword(key, "Width", adapter.userWidth);
    WriteRegistryDword(key, "Height", adapter.userHeight);
    WriteRegistryDword(key, "Format", DWORD(adapter.userFormat));
    WriteRegistryBytes(key, "Adapter ID", &adapter.identifier.DeviceIdentifier,
                       sizeof(adapter.identifier.DeviceIdentifier));
}

// The adapter record of monitor `m`, or null when no adapter drives it.
AdapterInfo* AdapterOfMonitor(Saver& saver, UINT m) {
    int ordinal = saver.monitors[m].adapterOrdinal;
    if (ordinal < 0 || UINT(ordinal) >= saver.adapterCount) return nullptr;
    return saver.adapters[ordinal];
}

}  // namespace

void Saver::ReadDisplaySettings(HKEY key) {
    ReadRegistryDword(key, "ScreensSame", &screensSame);
    for (UINT m = 0; m < monitorCount && m < kMaxMonitors; m++) {
        AdapterInfo* adapter = AdapterOfMonitor(*this, m);
        if (!adapter) continue;
        HKEY monitorKey = OpenMonitorKey(key, m);
        if (!monitorKey) continue;
        ReadAdapterSettings(monitorKey, *adapter);
        ::RegCloseKey(monitorKey);
    }
}

void Saver::WriteDisplaySettings(HKEY key) {
    WriteRegistryDword(key, "ScreensSame", screensSame);
    for (UINT m = 0; m < monitorCount && m < kMaxMonitors; m++) {
        AdapterInfo* adapter = AdapterOfMonitor(*this, m);
        if (!adapter) continue;
        HKEY monitorKey = OpenMonitorKey(key, m);
        if (!monitorKey) continue;
        WriteAdapterSettings(monitorKey, *adapter);
        ::RegCloseKey(monitorKey);
    }
}
