// Error messages: the table that turns a result code into a message of the string table,
// and the modal error box.
#include "host/saver.h"
#include "resource_ids.h"

namespace {

struct ErrorMessage {
    HRESULT code;
    UINT stringId;
};

// Codes without an entry of their own (SAVER_E_SCENE_OBJECTS_FAILED, 0, anything else)
// show the general message, string 2100.
const ErrorMessage kErrorMessages[] = {
    {E_FAIL, IDS_ERR_GENERIC},
    {SAVER_E_NO_DIRECT3D, IDS_ERR_NO_DIRECT3D},
    {SAVER_E_INIT_FAILED, IDS_ERR_INIT_FAILED},
    {SAVER_E_CREATE_DEVICE_FAILED, IDS_ERR_CREATE_DEVICE},
    {SAVER_E_NO_COMPATIBLE_DEVICE, IDS_ERR_NO_COMPATIBLE},
    {SAVER_E_NO_HARDWARE_DEVICE, IDS_ERR_NO_HARDWARE},
    {SAVER_E_HARDWARE_LACKS_FEATURES, IDS_ERR_LACKS_FEATURES},
    {SAVER_E_HARDWARE_LACKS_FEATURES_IN_DESKTOP_MODE, IDS_ERR_LACKS_FEATURES_DESKTOP},
    {SAVER_E_MEDIA_NOT_FOUND, IDS_ERR_MEDIA_NOT_FOUND},
    {SAVER_E_RESET_FAILED, IDS_ERR_RESET_FAILED},
    {E_OUTOFMEMORY, IDS_ERR_OUT_OF_MEMORY},
    {D3DERR_OUTOFVIDEOMEMORY, IDS_ERR_OUT_OF_VIDEO_MEMORY},
    {SAVER_E_NO_PREVIEW, IDS_ERR_NO_PREVIEW},
};

}  // namespace

BOOL Saver::GetErrorMessage(HRESULT code, char* text, DWORD size) {
    UINT stringId = IDS_ERR_GENERIC;
    for (const ErrorMessage& entry : kErrorMessages) {
        if (entry.code == code) {
            stringId = entry.stringId;
            break;
        }
    }
    if (text && size > 0) {
        text[0] = '\0';
        ::LoadStringA(::GetModuleHandleA(nullptr), stringId, text, int(size > 0x7FFFFFFF ? 0x7FFFFFFF : size));
    }
    return stringId != IDS_ERR_GENERIC;
}

HRESULT Saver::ShowError(HRESULT code) {
    char text[512];
    GetErrorMessage(code, text, sizeof(text));
    ::MessageBoxA(mainWindow, text, title, MB_ICONERROR);
    return code;
}
