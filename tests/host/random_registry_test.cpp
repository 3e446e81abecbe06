// Every registry value the program reads, filled a thousand times with values of random
// types and sizes (none to 4 KiB; fixed seed) and loaded: nothing is written beside the
// fields, every field stays in its range, and a value that is absent, empty or longer than
// four bytes gives the field's default (text values are left out of that last check: the
// platform converts them, so their size as read differs from their size as written).
#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <iterator>
#include <memory>
#include <random>
#include <vector>

#include "doubles/support.h"
#include "host/registry_values.h"
#include "scene/sky_scene.h"

namespace {

// Where a value lies ("" the application key, "System" each monitor's key), its default and
// largest value, and the field it lands in, as a number.
using S = const SkyScene&;
using A = const AdapterInfo&;
struct ReadValue {
    const char* key;
    const char* name;
    DWORD defaultValue, maxValue;
    DWORD (*field)(S scene, A adapter);
};

const ReadValue kValues[] = {
    {"", "Sky Speed", 2, 10, [](S s, A) { return DWORD(std::lround(s.skySpeed * 10)); }},
    {"", "Cube View", 0, 1, [](S s, A) { return s.cubeAnimation; }},
    {"", "Cam View", 0, 2, [](S s, A) { return s.cameraPath; }},
    {"", "ScreensSame", 0, MAXDWORD, [](S s, A) { return s.screensSame; }},
    {"Control Panel\\Desktop", "ScreenSaveUsePassword", 0, 1,
     [](S s, A) { return DWORD(s.passwordModule != nullptr); }},   // the stand-in loaded
    {"System", "Leave Black", 0, MAXDWORD, [](S, A a) { return a.leaveBlack; }},
    {"System", "Disable Hardware", 0, MAXDWORD, [](S, A a) { return a.disableHardware; }},
    {"System", "Width", 0, MAXDWORD, [](S, A a) { return DWORD(a.userWidth); }},
    {"System", "Height", 0, MAXDWORD, [](S, A a) { return DWORD(a.userHeight); }},
    {"System", "Format", 0, MAXDWORD, [](S, A a) { return DWORD(a.userFormat); }},
    {"System", "Adapter ID", 0, MAXDWORD, nullptr},   // decides whether the four above are read
};
constexpr size_t kValueCount = std::size(kValues);

UINT Instances(const ReadValue& v) { return std::strcmp(v.key, "System") ? 1 : kMaxMonitors; }

// The objects a load writes into, between guard bytes.
struct Loaded {
    BYTE before[64];
    AdapterInfo adapters[kMaxMonitors];
    SkyScene scene;
    BYTE after[64];
};

// The loaded fields back at their defaults, so that the rest can be compared byte for byte.
void ResetFields(Loaded& loaded) {
    SkyScene& s = loaded.scene;
    s.skySpeed = 0.2f, s.cubeAnimation = s.cameraPath = s.screensSame = 0;
    s.passwordModule = nullptr, s.verifyPassword = nullptr;
    for (AdapterInfo& a : loaded.adapters) {
        a.leaveBlack = a.disableHardware = a.userWidth = a.userHeight = 0;
        a.userFormat = D3DFMT_UNKNOWN;
    }
}

// Writes a value of a random type and size (or removes it); true when the program must
// treat it as unusable: absent, or a non-string of no bytes or more than four.
bool WriteRandom(HKEY key, const char* name, std::mt19937& random, const DWORD* pool) {
    static const DWORD kTypes[] = {REG_NONE, REG_SZ, REG_EXPAND_SZ, REG_BINARY, REG_DWORD, REG_LINK,
                                   REG_DWORD_BIG_ENDIAN, REG_MULTI_SZ, REG_QWORD, REG_BINARY, REG_DWORD, 12345};
    static const DWORD kSizes[] = {0, 1, 3, 4, 4, 4, 4, 4, 5, 8, 16, 4096};
    if (random() % 8 == 0) {
        ::RegDeleteValueA(key, name);
        return true;
    }
    DWORD type = kTypes[random() % std::size(kTypes)];
    DWORD size = random() % 3 ? kSizes[random() % std::size(kSizes)] : random() % 4097;
    DWORD offset = random() % 2 ? 4 * (random() % 1024) : random() % 4096;   // often a whole number
    ::RegSetValueExA(key, name, 0, type, reinterpret_cast<const BYTE*>(pool) + offset, size);
    bool text = type == REG_SZ || type == REG_EXPAND_SZ || type == REG_MULTI_SZ;
    return !text && (size == 0 || size > 4);
}

}  // namespace

TEST(RandomRegistry, LoadsNeverWriteBesideAFieldAndUnusableValuesGiveDefaults) {
    ScratchRegistry registry;
    // The suite's PASSWORD.CPL stand-in, in the system folder the program loads it from,
    // shows the password decision.
    char standin[MAX_PATH] = {}, provider[MAX_PATH] = {};
    ::GetModuleFileNameA(nullptr, standin, sizeof(standin) - 32);
    std::strcpy(std::strrchr(standin, '\\') + 1, "standins\\password.cpl");
    ::GetSystemDirectoryA(provider, sizeof(provider) - 16);
    std::strcat(provider, "\\password.cpl");
    ASSERT_TRUE(::CopyFileA(standin, provider, FALSE)) << provider;

    auto loaded = std::make_unique<Loaded>();
    std::vector<BYTE> snapshot(sizeof(Loaded));
    std::memset(loaded->before, 0x5A, sizeof(loaded->before));
    std::memset(loaded->adapters, 0x5A, sizeof(loaded->adapters));
    std::memset(loaded->after, 0x5A, sizeof(loaded->after));
    SkyScene& s = loaded->scene;
    HKEY keys[kMaxMonitors + 2] = {OpenOrCreateKey(HKEY_CURRENT_USER, s.registryPath),
                                   OpenOrCreateKey(HKEY_CURRENT_USER, "Control Panel\\Desktop")};
    for (UINT m = 0; m < kMaxMonitors; m++) {
        char name[16];
        ::wsprintfA(name, "System %u", m + 1);
        keys[m + 2] = OpenOrCreateKey(keys[0], name);
        s.adapters[m] = &loaded->adapters[m];
        s.monitors[m].adapterOrdinal = int(m);
        loaded->adapters[m].identifier.DeviceIdentifier = GUID{};   // a stored zero ID matches
    }
    s.monitorCount = s.adapterCount = kMaxMonitors;
    static DWORD pool[2048];   // mostly numbers in and just beyond the accepted ranges
    std::mt19937 random(16);
    for (DWORD& d : pool) d = random() % 3 ? random() % 16 : DWORD(random());

    for (int round = 0; round < 1000 && !::testing::Test::HasFailure(); round++) {
        bool unusable[kValueCount][kMaxMonitors];
        for (size_t v = 0; v < kValueCount; v++) {
            for (UINT m = 0; m < Instances(kValues[v]); m++) {
                HKEY key = Instances(kValues[v]) > 1 ? keys[m + 2] : keys[kValues[v].key[0] ? 1 : 0];
                unusable[v][m] = WriteRandom(key, kValues[v].name, random, pool);
            }
        }
        ResetFields(*loaded);
        std::memcpy(snapshot.data(), loaded.get(), sizeof(Loaded));

        s.LoadSettings();
        s.SetUpPasswordProvider();
        for (size_t v = 0; v < kValueCount; v++) {
            for (UINT m = 0; kValues[v].field && m < Instances(kValues[v]); m++) {
                DWORD got = kValues[v].field(s, loaded->adapters[m]);
                EXPECT_LE(got, kValues[v].maxValue) << kValues[v].name << " " << round;
                if (unusable[v][m]) EXPECT_EQ(got, kValues[v].defaultValue) << kValues[v].name << " " << round;
            }
        }
        EXPECT_FLOAT_EQ(s.skySpeed, float(std::lround(s.skySpeed * 10)) * 0.1f) << round;

        if (s.passwordModule) ::FreeLibrary(s.passwordModule);
        ResetFields(*loaded);
        EXPECT_EQ(std::memcmp(snapshot.data(), loaded.get(), sizeof(Loaded)), 0) << round;
    }
    for (HKEY key : keys) ::RegCloseKey(key);
    ::DeleteFileA(provider);
}
