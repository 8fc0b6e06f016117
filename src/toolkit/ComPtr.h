// An owning COM interface pointer: move-only, releases in its destructor.
#pragma once

#include <unknwn.h>

#include <utility>

namespace tk {

template <typename T>
class ComPtr {
public:
    ComPtr() noexcept = default;
    // Takes over a reference the caller already holds.
    explicit ComPtr(T* adopted) noexcept : ptr_(adopted) {}
    ComPtr(const ComPtr&) = delete;
    ComPtr& operator=(const ComPtr&) = delete;
    ComPtr(ComPtr&& other) noexcept : ptr_(std::exchange(other.ptr_, nullptr)) {}
    ComPtr& operator=(ComPtr&& other) noexcept
    {
        if (this != &other)
            Reset(std::exchange(other.ptr_, nullptr));
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

    T* Get() const noexcept { return ptr_; }
    T* operator->() const noexcept { return ptr_; }
    explicit operator bool() const noexcept { return ptr_ != nullptr; }

    // For a call that hands out a new reference; whatever was held goes first.
    T** Put() noexcept
    {
        Reset();
        return &ptr_;
    }
    void** PutVoid() noexcept { return reinterpret_cast<void**>(Put()); }

    void Reset(T* adopted = nullptr) noexcept
    {
        if (T* old = std::exchange(ptr_, adopted))
            old->Release();
    }

    template <typename U>
    ComPtr<U> As() const noexcept
    {
        ComPtr<U> other;
        if (ptr_)
            ptr_->QueryInterface(__uuidof(U), other.PutVoid());
        return other;
    }

private:
    T* ptr_ = nullptr;
};

}  // namespace tk
