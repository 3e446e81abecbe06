// The display settings dialog.
//
// PENDING: filled by its own issue; this placeholder only keeps the program linking.
#include "host/saver.h"

INT_PTR Saver::ShowDisplaySettingsDialog(HWND) { return IDCANCEL; }
void Saver::FillMonitorPage(HWND) {}
