// The monitor table.
//
// PENDING: filled by its own issue; this placeholder only keeps the program linking.
#include "host/saver.h"

void Saver::EnumerateMonitors() {}
void Saver::PlaceWindows() {}
