// USER32's optional functions: those of newer Windows versions than the oldest the program
// runs on, looked up at run time so that the program still starts where they are missing.
// USER32 is loaded by every program with windows, so it is only found, never loaded here.
#pragma once

#include <windows.h>

// The named function of the loaded USER32, as the given function pointer type; null where
// the system has no such function.
template <typename Fn>
Fn User32Function(const char* name) {
    HMODULE user32 = ::GetModuleHandleA("user32.dll");
    return user32 ? reinterpret_cast<Fn>(reinterpret_cast<void*>(::GetProcAddress(user32, name)))
                  : nullptr;
}
