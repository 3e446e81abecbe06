// Shared test helpers (see support.h).
#include "doubles/support.h"

ScratchRegistry::ScratchRegistry() {
    char name[64];
    ::wsprintfA(name, "Software\\CirraneTests\\%lu", ::GetCurrentProcessId());
    ::RegDeleteTreeA(HKEY_CURRENT_USER, name);
    ::RegCreateKeyExA(HKEY_CURRENT_USER, name, 0, nullptr, REG_OPTION_NON_VOLATILE,
                      KEY_ALL_ACCESS, nullptr, &root_, nullptr);
    ::lstrcpyA(path_, name);
    ::RegOverridePredefKey(HKEY_CURRENT_USER, root_);
}

ScratchRegistry::~ScratchRegistry() {
    ::RegOverridePredefKey(HKEY_CURRENT_USER, nullptr);
    if (root_) ::RegCloseKey(root_);
    ::RegDeleteTreeA(HKEY_CURRENT_USER, path_);
}
