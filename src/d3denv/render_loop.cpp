// Render loop, device loss and frame statistics.
//
// PENDING: filled by its own issue; this placeholder only keeps the program linking.
#include "host/saver.h"

HRESULT Saver::RenderFrame() { return S_OK; }
void Saver::StepErrorMode() {}
void Saver::ReleaseEnvironment() {}
void Saver::MeasureFrameRate() {}
