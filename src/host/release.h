// The one way to let go of a reference-counted platform object: release it and clear the
// holder at once, so every release step is safe to repeat.
#pragma once

template <class T>
inline void ReleaseAndClear(T*& holder) {
    if (holder) {
        T* object = holder;
        holder = nullptr;
        object->Release();
    }
}
