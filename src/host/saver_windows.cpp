// Saver windows and their messages.
//
// PENDING: filled by its own issue; this placeholder only keeps the program linking.
#include "host/saver.h"

HRESULT Saver::CreateSaverWindows() { return E_FAIL; }
void Saver::EndOrVerify() { EndSaver(); }
void Saver::EndSaver() {
    ReleaseEnvironment();
    CleanupScene();
    ::PostQuitMessage(0);
}
LRESULT CALLBACK Saver::WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    return instancePointer->HandleMessage(window, message, wParam, lParam);
}
LRESULT Saver::HandleMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    return ::DefWindowProcA(window, message, wParam, lParam);
}
