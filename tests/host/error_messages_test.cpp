// The code-to-message table and its string resources.
#include <gtest/gtest.h>

#include <cstring>

#include "host/saver.h"

namespace {

struct Expected {
    HRESULT code;
    const char* text;
    BOOL ownEntry;
};

const char kGeneric[] = "There was an unspecified problem with this screen saver.";

const Expected kMessages[] = {
    {E_FAIL, kGeneric, FALSE},
    {SAVER_E_NO_DIRECT3D,
     "Direct3D 8.0 could not be initialized.  Please install the latest version of DirectX.", TRUE},
    {SAVER_E_INIT_FAILED, "Could not initialize the screen saver.", TRUE},
    {SAVER_E_CREATE_DEVICE_FAILED, "Could not create the Direct3D device.", TRUE},
    {SAVER_E_NO_COMPATIBLE_DEVICE, "Could not find any compatible Direct3D devices.", TRUE},
    {SAVER_E_NO_HARDWARE_DEVICE, "No hardware-accelerated Direct3D devices were found.", TRUE},
    {SAVER_E_HARDWARE_LACKS_FEATURES,
     "This screen saver requires functionality that is not available on your Direct3D "
     "hardware accelerator.", TRUE},
    {SAVER_E_HARDWARE_LACKS_FEATURES_IN_DESKTOP_MODE,
     "This screen saver requires functionality that is not available on your Direct3D "
     "hardware accelerator with the current desktop display settings.", TRUE},
    {SAVER_E_MEDIA_NOT_FOUND, "Could not load required media.", TRUE},
    {SAVER_E_RESET_FAILED, "Could not reset the Direct3D device.", TRUE},
    {E_OUTOFMEMORY, "Not enough memory.", TRUE},
    {D3DERR_OUTOFVIDEOMEMORY, "Not enough video memory.", TRUE},
    {SAVER_E_NO_PREVIEW, "No preview available", TRUE},
    {SAVER_E_SCENE_OBJECTS_FAILED, kGeneric, FALSE},
    {S_OK, kGeneric, FALSE},
    {HRESULT(0x12345678), kGeneric, FALSE},
};

}  // namespace

TEST(ErrorMessages, EveryCodeHasItsString) {
    Saver saver;
    for (const Expected& expected : kMessages) {
        char text[400] = "stale";
        BOOL own = saver.GetErrorMessage(expected.code, text, sizeof(text));
        EXPECT_STREQ(text, expected.text) << std::hex << expected.code;
        EXPECT_EQ(own, expected.ownEntry) << std::hex << expected.code;
    }
}

TEST(ErrorMessages, ShortBufferIsCutAndTerminated) {
    Saver saver;
    char text[16];
    std::memset(text, 'x', sizeof(text));
    saver.GetErrorMessage(SAVER_E_NO_DIRECT3D, text, 10);
    EXPECT_STREQ(text, "Direct3D ");
    EXPECT_EQ(text[10], 'x');   // nothing written past the given size
}
