// The options dialog (template 111): camera path, cube animation and cloud speed, the
// button to the display settings, and the "About" group with three web links.
//
// Combo changes apply to the scene at once; OK stores everything, Cancel reloads what was
// stored when the dialog opened. Owns the link font, the one piece of process-wide state
// here: made when the dialog opens, made again when its dpi changes, deleted when it is
// destroyed.
#include <windows.h>
#include <commctrl.h>
#include <shellapi.h>

#include <cmath>
#include <initializer_list>

#include "resource_ids.h"
#include "scene/sky_scene.h"

#ifndef WM_DPICHANGED
#define WM_DPICHANGED 0x02E0   // Windows 8.1 and later send it; headers for older systems lack it
#endif

namespace {

HFONT linkFont = nullptr;   // underlined face of the three link labels

// Posted to the dialog on a change of dpi: by the time it arrives the dialog manager has
// rescaled the dialog's font and handed it to every control, the links included.
const UINT kRemakeLinkFont = WM_APP + 1;

const int kMaxSpeedLevel = 9;   // the slider offers 0..9; level 10 is only read

struct Link {
    int label;
    const char* target;
};
// Tested in this order when a label is clicked.
const Link kLinks[] = {
    {IDC_LINK_HOME, "https://www.example.com/"},
    {IDC_LINK_SAVERS, "https://www.example.com/screensavers/index.html"},
    {IDC_LINK_DOWNLOAD, "https://www.example.com/tanglet.exe"},
};

void DeleteLinkFont() {
    if (linkFont) ::DeleteObject(linkFont);
    linkFont = nullptr;
}

const Link* LinkOf(HWND dialog, HWND control) {
    if (!control) return nullptr;
    for (const Link& link : kLinks) {
        if (::GetDlgItem(dialog, link.label) == control) return &link;
    }
    return nullptr;
}

// The child of the dialog under the mouse cursor (the link labels do not take the mouse
// themselves, so the dialog sees the moves over them).
HWND ChildUnderCursor(HWND dialog) {
    POINT point = {};
    ::GetCursorPos(&point);
    ::ScreenToClient(dialog, &point);
    return ::ChildWindowFromPoint(dialog, point);
}

template <size_t N>
void FillCombo(HWND combo, const char* const (&labels)[N], DWORD selected) {
    for (size_t i = 0; i < N; i++) {
        LRESULT item = ::SendMessageA(combo, CB_ADDSTRING, 0, LPARAM(labels[i]));
        ::SendMessageA(combo, CB_SETITEMDATA, item, LPARAM(i));
    }
    ::SendMessageA(combo, CB_SETCURSEL, selected, 0);
}

// The links are drawn in the dialog's own font, underlined: the dialog manager sizes that
// font for the dialog's dpi. The labels get the new font before the old one goes.
void MakeLinkFont(HWND dialog, BOOL redraw) {
    HFONT dialogFont = reinterpret_cast<HFONT>(::SendMessageA(dialog, WM_GETFONT, 0, 0));
    LOGFONTA face;
    if (!dialogFont || !::GetObjectA(dialogFont, sizeof(face), &face)) return;
    face.lfUnderline = TRUE;
    HFONT made = ::CreateFontIndirectA(&face);
    if (!made) return;
    for (int label : {IDC_LINK_DOWNLOAD, IDC_LINK_HOME, IDC_LINK_SAVERS})
        ::SendDlgItemMessageA(dialog, label, WM_SETFONT, WPARAM(made), redraw);
    DeleteLinkFont();
    linkFont = made;
}

void OnInitDialog(SkyScene& scene, HWND dialog) {
    scene.SaveSettings();   // what Cancel returns to
    HWND speed = ::GetDlgItem(dialog, IDC_SKY_SPEED);
    ::SendMessageA(speed, TBM_SETRANGE, FALSE, MAKELPARAM(0, kMaxSpeedLevel));
    ::SendMessageA(speed, TBM_SETPOS, TRUE, LPARAM(std::lround(scene.skySpeed * 10.0f)));
    HWND cube = ::GetDlgItem(dialog, IDC_CUBE_ANIMATION);
    HWND camera = ::GetDlgItem(dialog, IDC_CAMERA_VIEW);
    ::SendMessageA(cube, CB_RESETCONTENT, 0, 0);
    ::SendMessageA(camera, CB_RESETCONTENT, 0, 0);
    FillCombo(cube, kCubeAnimationNames, scene.cubeAnimation);
    FillCombo(camera, kCameraPathNames, scene.cameraPath);
    MakeLinkFont(dialog, FALSE);
}

// A combo's selection as a setting; false when nothing valid is selected.
bool ComboChoice(HWND dialog, int id, DWORD count, DWORD* value) {
    LRESULT selection = ::SendDlgItemMessageA(dialog, id, CB_GETCURSEL, 0, 0);
    if (selection < 0 || DWORD(selection) >= count) return false;
    *value = DWORD(selection);
    return true;
}

void OnCommand(SkyScene& scene, HWND dialog, WORD id, WORD code) {
    switch (id) {
    case IDOK: {
        LRESULT level = ::SendDlgItemMessageA(dialog, IDC_SKY_SPEED, TBM_GETPOS, 0, 0);
        scene.skySpeed = float(level) * 0.1f;
        scene.SaveSettings();
        ::EndDialog(dialog, IDOK);
        break;
    }
    case IDCANCEL:
        scene.LoadSettings();
        ::EndDialog(dialog, IDCANCEL);
        break;
    case IDC_DISPLAY_SETTINGS:
        scene.ShowDisplaySettingsDialog(dialog);
        break;
    case IDC_CAMERA_VIEW:
        if (code == CBN_SELCHANGE) ComboChoice(dialog, id, 3, &scene.cameraPath);
        break;
    case IDC_CUBE_ANIMATION:
        if (code == CBN_SELCHANGE) ComboChoice(dialog, id, 2, &scene.cubeAnimation);
        break;
    }
}

INT_PTR OnLinkColour(HWND dialog, HDC dc, HWND control) {
    if (!LinkOf(dialog, control)) return FALSE;
    ::SetTextColor(dc, RGB(0, 0, 238));
    ::SetBkMode(dc, TRANSPARENT);
    return INT_PTR(::GetStockObject(NULL_BRUSH));
}

void OnMouseMove(HWND dialog) {
    bool overLink = LinkOf(dialog, ChildUnderCursor(dialog)) != nullptr;
    ::SetCursor(::LoadCursorA(nullptr, overLink ? IDC_HAND : IDC_ARROW));
}

void OnLeftButtonUp(HWND dialog) {
    const Link* link = LinkOf(dialog, ChildUnderCursor(dialog));
    if (link) ::ShellExecuteA(nullptr, nullptr, link->target, nullptr, nullptr, SW_SHOWMAXIMIZED);
}

}  // namespace

// Owned by the window the command line names; a handle that names no window would make the
// dialog fail to appear at all. Without one (/c alone, or no switch) it is modal to the
// foreground window, the one that launched it, so that it cannot open behind it; with no
// foreground window it has no owner.
void SkyScene::ShowOptions() {
    HWND owner = parentWindow && ::IsWindow(parentWindow) ? parentWindow : ::GetForegroundWindow();
    ::DialogBoxParamA(::GetModuleHandleA(nullptr), MAKEINTRESOURCEA(IDD_OPTIONS), owner,
                      OptionsDialogProc, 0);
}

INT_PTR CALLBACK SkyScene::OptionsDialogProc(HWND dialog, UINT message, WPARAM wParam,
                                             LPARAM lParam) {
    SkyScene* scene = sceneInstance;
    if (!scene) return FALSE;
    switch (message) {
    case WM_INITDIALOG:
        OnInitDialog(*scene, dialog);
        return TRUE;
    case WM_COMMAND:
        OnCommand(*scene, dialog, LOWORD(wParam), HIWORD(wParam));
        return TRUE;
    case WM_CTLCOLORSTATIC:
        return OnLinkColour(dialog, HDC(wParam), HWND(lParam));
    case WM_MOUSEMOVE:
        OnMouseMove(dialog);
        return FALSE;
    case WM_LBUTTONUP:
        OnLeftButtonUp(dialog);
        return FALSE;
    case WM_DPICHANGED:
        ::PostMessageA(dialog, kRemakeLinkFont, 0, 0);
        return FALSE;   // the dialog manager rescales the dialog
    case kRemakeLinkFont:
        MakeLinkFont(dialog, TRUE);
        return TRUE;
    case WM_DESTROY:
        DeleteLinkFont();
        return FALSE;
    }
    return FALSE;
}
