// Entry point of cirrane.scr: builds the one SkyScene, creates it and runs it.
// The exit code is always 0; failures are shown to the user, not returned.
#include <windows.h>

#include "scene/sky_scene.h"

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int) {
    SkyScene scene;
    HRESULT hr = scene.Create(instance);
    if (FAILED(hr)) {
        scene.ShowError(hr);
        return 0;
    }
    return scene.Run();
}
