// Reference counting and live-object accounting shared by the Direct3D test doubles.
//
// Every fake COM object (FakeDirect3D, FakeDevice, FakeSurface, FakeTexture,
// FakeVertexBuffer) derives from FakeUnknown<Interface, Kind>: it starts with one
// reference, deletes itself when the count reaches zero and is counted per kind while it
// lives. A test takes LiveFakes() before and after the code under test and compares, or
// asserts that a kind is back to zero:
//
//     EXPECT_EQ(LiveFakes().devices, 0);
//     EXPECT_EQ(LiveFakes().Total(), 1);   // only the test's own FakeDirect3D is left
//
// FakeRef<T> holds one reference for a test's scope (so a fake can be inspected after the
// code under test let go of its own references) and releases it at the end.
#pragma once

#include <windows.h>
#include <unknwn.h>

enum class FakeKind { Direct3D, Device, Surface, Texture, VertexBuffer, Count };

struct FakeLiveCounts {
    int direct3d = 0, devices = 0, surfaces = 0, textures = 0, vertexBuffers = 0;
    int Total() const { return direct3d + devices + surfaces + textures + vertexBuffers; }
};

FakeLiveCounts LiveFakes();
void CountFake(FakeKind kind, int delta);

template <class Interface, FakeKind Kind>
class FakeUnknown : public Interface {
public:
    FakeUnknown() { CountFake(Kind, +1); }
    virtual ~FakeUnknown() { CountFake(Kind, -1); }
    FakeUnknown(const FakeUnknown&) = delete;
    FakeUnknown& operator=(const FakeUnknown&) = delete;

    STDMETHOD(QueryInterface)(REFIID iid, void** object) override {
        if (!object) return E_POINTER;
        if (IsEqualIID(iid, IID_IUnknown)) {
            *object = static_cast<IUnknown*>(this);
            AddRef();
            return S_OK;
        }
        *object = nullptr;
        return E_NOINTERFACE;
    }
    STDMETHOD_(ULONG, AddRef)() override { return ++refs_; }
    STDMETHOD_(ULONG, Release)() override {
        if (--refs_ == 0) return delete this, 0;
        return refs_;
    }
    // The current reference count, without changing it.
    ULONG RefCount() const { return refs_; }

private:
    ULONG refs_ = 1;
};

// One reference held for a scope; null-safe.
template <class T>
class FakeRef {
public:
    explicit FakeRef(T* object = nullptr) : object_(object) {}   // adopts one reference
    ~FakeRef() { Reset(); }
    FakeRef(const FakeRef&) = delete;
    FakeRef& operator=(const FakeRef&) = delete;
    void Reset(T* object = nullptr) {
        if (object_) object_->Release();
        object_ = object;
    }
    T* get() const { return object_; }
    T* operator->() const { return object_; }
    T& operator*() const { return *object_; }

private:
    T* object_;
};
