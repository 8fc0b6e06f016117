// An owning COM interface pointer: move-only, releases in its destructor.
#pragma once

#include <unknwn.h>

#include <utility>

namespace corvello {

template <typename T>
class ComPtr {
public:
    ComPtr() noexcept = default;
    // Takes over a reference the caller already holds.
    explicit ComPtr(T* adopted) noexcept : FPtr(adopted) {}
    ComPtr(const ComPtr&) = delete;
    ComPtr& operator=(const ComPtr&) = delete;
    ComPtr(ComPtr&& other) noexcept : FPtr(std::exchange(other.FPtr, nullptr)) {}
    ComPtr& operator=(ComPtr&& other) noexcept
    {
        if (this != &other)
            Reset(std::exchange(other.FPtr, nullptr));
        return *this;
    }
    ~ComPtr() { Reset(); }

    // A new reference of its own to a pointer someone else holds.
    static ComPtr Share(T* borrowed) noexcept
    {
        if (borrowed)
            borrowed->AddRef();
        return ComPtr(borrowed);
    }

    T* Get() const noexcept { return FPtr; }
    T* operator->() const noexcept { return FPtr; }
    explicit operator bool() const noexcept { return FPtr != nullptr; }

    // For a call that hands out a new reference; whatever was held goes first.
    T** Put() noexcept
    {
        Reset();
        return &FPtr;
    }
    void** PutVoid() noexcept { return reinterpret_cast<void**>(Put()); }

    void Reset(T* adopted = nullptr) noexcept
    {
        if (T* old = std::exchange(FPtr, adopted))
            old->Release();
    }

    template <typename U>
    ComPtr<U> As() const noexcept
    {
        ComPtr<U> other;
        if (FPtr)
            FPtr->QueryInterface(__uuidof(U), other.PutVoid());
        return other;
    }

private:
    T* FPtr = nullptr;
};

}  // namespace corvello
