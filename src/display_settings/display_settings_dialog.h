// The display settings dialog: its procedure and the help-text choice.
//
// The dialog edits the live AdapterInfo records and Saver::screensSame; OK keeps the
// edits in memory, Cancel restores the copies taken when it opened. Nothing here touches
// the registry. Saver::ShowDisplaySettingsDialog runs it modally; the procedure is public
// so the same dialog can also be created modelessly.
#pragma once

#include <windows.h>

#include "d3denv/adapter_info.h"
#include "host/monitor_info.h"

// Dialog procedure of templates 200 and 201; reaches the Saver through instancePointer.
INT_PTR CALLBACK DisplaySettingsDialogProc(HWND dialog, UINT message, WPARAM wParam,
                                           LPARAM lParam);

// String id of the help text for a monitor (null when there is none) and its adapter
// (null when no adapter drives it).
UINT DisplayHelpTextId(const MonitorInfo* monitor, const AdapterInfo* adapter);
