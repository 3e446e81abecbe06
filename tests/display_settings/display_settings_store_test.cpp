// The display settings in a scratch registry: round trips and adapter IDs (malformed values
// are the random registry test's).
#include <gtest/gtest.h>

#include <tuple>

#include "doubles/support.h"
#include "host/registry_values.h"
#include "host/saver.h"

namespace {

// What is stored per adapter: leave black, disable hardware, width, height, format.
using Stored = std::tuple<DWORD, DWORD, UINT, UINT, D3DFORMAT>;
Stored Fields(const AdapterInfo& a) {
    return {a.leaveBlack, a.disableHardware, a.userWidth, a.userHeight, a.userFormat};
}

class DisplaySettingsStore : public ::testing::Test {
protected:
    DisplaySettingsStore() {
        saver.monitorCount = 3;
        saver.monitors[0].adapterOrdinal = -1;
        for (UINT a = 0; a < 2; a++) {
            saver.adapters[a] = new AdapterInfo();
            saver.adapters[a]->identifier.DeviceIdentifier.Data1 = 0xA0 + a;
            saver.monitors[a + 1].adapterOrdinal = int(a);
        }
        saver.adapterCount = 2;
    }
    ~DisplaySettingsStore() override {
        ::RegCloseKey(key);
        saver.FreeAdapters();
    }
    void Set(const char* sub, const char* name, DWORD type, const void* data, DWORD size) {
        ::RegSetKeyValueA(key, sub, name, type, data, size);
    }
    void SetDword(const char* sub, const char* name, DWORD value) { Set(sub, name, REG_DWORD, &value, 4); }
    bool Exists(const char* sub) {
        HKEY k;
        return ::RegOpenKeyExA(key, sub, 0, KEY_READ, &k) == ERROR_SUCCESS && ::RegCloseKey(k) == 0;
    }
    AdapterInfo& A(UINT a) { return *saver.adapters[a]; }

    ScratchRegistry registry;
    Saver saver;
    HKEY key = OpenOrCreateKey(HKEY_CURRENT_USER, "Software\\Orvane\\Cirrane");
};

}  // namespace

TEST_F(DisplaySettingsStore, FirstRunKeepsDefaultsAndWrittenSettingsReadBack) {
    saver.ReadDisplaySettings(key);
    EXPECT_EQ(saver.screensSame, 0u);
    EXPECT_EQ(Fields(A(1)), Stored(0, 0, 0, 0, D3DFORMAT(0)));
    EXPECT_FALSE(Exists("System 1"));
    EXPECT_TRUE(Exists("System 2") && Exists("System 3"));

    saver.screensSame = 1;
    A(0).leaveBlack = 1;
    A(1).disableHardware = 1;
    A(1).userWidth = 800, A(1).userHeight = 600, A(1).userFormat = D3DFMT_R5G6B5;
    saver.WriteDisplaySettings(key);
    EXPECT_FALSE(Exists("System 1"));
    HKEY k = OpenOrCreateKey(key, "System 3");
    GUID id = {};
    DWORD width = 7;
    EXPECT_TRUE(ReadRegistryBytes(k, "Adapter ID", &id, sizeof(id)) && ReadRegistryDword(k, "Width", &width));
    EXPECT_EQ(id.Data1, 0xA1u);
    EXPECT_EQ(width, 800u);
    ::RegCloseKey(k);

    saver.screensSame = 0;
    for (UINT a = 0; a < 2; a++) {   // fresh records for the same adapters
        GUID same = A(a).identifier.DeviceIdentifier;
        A(a) = AdapterInfo{};
        A(a).identifier.DeviceIdentifier = same;
    }
    saver.ReadDisplaySettings(key);
    EXPECT_EQ(saver.screensSame, 1u);
    EXPECT_EQ(Fields(A(0)), Stored(1, 0, 0, 0, D3DFORMAT(0)));
    EXPECT_EQ(Fields(A(1)), Stored(0, 1, 800, 600, D3DFMT_R5G6B5));
}

TEST_F(DisplaySettingsStore, ForeignAdapterKeepsOnlyLeaveBlackAndMissingIdAcceptsAll) {
    GUID other = {};
    other.Data1 = 0xBEEF;
    Set("System 2", "Adapter ID", REG_BINARY, &other, sizeof(other));
    for (const char* sub : {"System 2", "System 3"}) {
        const std::pair<const char*, DWORD> values[] = {
            {"Leave Black", 1}, {"Disable Hardware", 1}, {"Width", 640}, {"Height", 480}, {"Format", 22}};
        for (const auto& [name, value] : values) SetDword(sub, name, value);
    }
    saver.ReadDisplaySettings(key);
    EXPECT_EQ(Fields(A(0)), Stored(1, 0, 0, 0, D3DFORMAT(0)));
    EXPECT_EQ(Fields(A(1)), Stored(1, 1, 640, 480, D3DFMT_X8R8G8B8));
}
