// Display settings in the registry.
//
// PENDING: filled by its own issue; this placeholder only keeps the program linking.
#include "host/saver.h"

void Saver::ReadDisplaySettings(HKEY) {}
void Saver::WriteDisplaySettings(HKEY) {}
