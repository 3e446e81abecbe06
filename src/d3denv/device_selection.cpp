// Device selection and render units.
//
// PENDING: filled by its own issue; this placeholder only keeps the program linking.
#include "host/saver.h"

bool Saver::PickBestAdapter(int* adapterOrdinal) { *adapterOrdinal = -1; return false; }
HRESULT Saver::CreateFullScreenUnit(RenderUnit&) { return E_FAIL; }
bool Saver::FindLowerCombo(DeviceInfo&) { return false; }
HRESULT Saver::CreateWindowedUnit(RenderUnit&) { return E_FAIL; }
void Saver::SelectRenderUnit(UINT) {}
void Saver::ComputeProjection(float, float, D3DMATRIX*) {}
HRESULT Saver::SetProjection(float, float) { return S_OK; }
void Saver::ReleaseDevices() {}
void Saver::RecreateDevices() {}
void Saver::DescribeDevices() {}
