// Environment creation.
//
// PENDING: filled by its own issue; this placeholder only keeps the program linking.
#include "host/saver.h"

HRESULT Saver::CreateEnvironment() { return S_OK; }
