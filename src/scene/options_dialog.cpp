// The options dialog.
//
// PENDING: filled by its own issue; this placeholder only keeps the program linking.
#include "scene/sky_scene.h"

void SkyScene::ShowOptions() {}
INT_PTR CALLBACK SkyScene::OptionsDialogProc(HWND, UINT, WPARAM, LPARAM) { return FALSE; }
