// Shared test helpers.
//
// ScratchRegistry maps HKEY_CURRENT_USER of this process to a fresh scratch key for its
// lifetime, so settings tests never see or touch the real values.
#pragma once

#include <windows.h>

class ScratchRegistry {
public:
    ScratchRegistry();
    ~ScratchRegistry();
    ScratchRegistry(const ScratchRegistry&) = delete;
    ScratchRegistry& operator=(const ScratchRegistry&) = delete;

private:
    HKEY root_ = nullptr;
    char path_[64] = {};
};
