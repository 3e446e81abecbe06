// Result codes of the screensaver host.
//
// Failures travel as signed 32-bit HRESULTs (negative = failure). The host's own codes
// share the pattern 0x8200xxxx; the others are the platform's (E_FAIL, E_OUTOFMEMORY,
// D3DERR_*). Each code maps to a message of the string table (see error_messages.cpp).
#pragma once

#include <windows.h>

constexpr HRESULT SAVER_E_NO_DIRECT3D                            = HRESULT(0x82000001);
constexpr HRESULT SAVER_E_NO_COMPATIBLE_DEVICE                   = HRESULT(0x82000003);
constexpr HRESULT SAVER_E_NO_HARDWARE_DEVICE                     = HRESULT(0x82000005);
constexpr HRESULT SAVER_E_HARDWARE_LACKS_FEATURES                = HRESULT(0x82000006);
constexpr HRESULT SAVER_E_INIT_FAILED                            = HRESULT(0x82000007);
constexpr HRESULT SAVER_E_HARDWARE_LACKS_FEATURES_IN_DESKTOP_MODE = HRESULT(0x82000009);
constexpr HRESULT SAVER_E_MEDIA_NOT_FOUND                        = HRESULT(0x8200000B);
constexpr HRESULT SAVER_E_RESET_FAILED                           = HRESULT(0x8200000C);
constexpr HRESULT SAVER_E_SCENE_OBJECTS_FAILED                   = HRESULT(0x8200000D);
constexpr HRESULT SAVER_E_CREATE_DEVICE_FAILED                   = HRESULT(0x8200000E);
constexpr HRESULT SAVER_E_NO_PREVIEW                             = HRESULT(0x8200000F);
