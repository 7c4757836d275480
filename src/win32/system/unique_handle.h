#pragma once

#include <windows.h>

#include <mmsystem.h>

#include <utility>

#include "win32/audio/winmm.h"

namespace qmx::win32 {

// Sole owner of one operating-system handle: move-only, released once by its traits.
template <typename Traits>
class UniqueHandle {
public:
    using Handle = typename Traits::Handle;

    UniqueHandle() = default;
    explicit UniqueHandle(Handle handle) : handle_(handle) {}
    UniqueHandle(const UniqueHandle&) = delete;
    UniqueHandle& operator=(const UniqueHandle&) = delete;
    UniqueHandle(UniqueHandle&& other) noexcept : handle_(std::exchange(other.handle_, Handle{})) {}
    UniqueHandle& operator=(UniqueHandle&& other) noexcept {
        if (this != &other) reset(std::exchange(other.handle_, Handle{}));
        return *this;
    }
    ~UniqueHandle() { reset(); }

    Handle get() const { return handle_; }
    explicit operator bool() const { return handle_ != Handle{}; }
    // Gives up ownership (the system took it over).
    Handle release() { return std::exchange(handle_, Handle{}); }
    void reset(Handle handle = Handle{}) {
        if (handle_ != Handle{}) Traits::close(handle_);
        handle_ = handle;
    }

private:
    Handle handle_{};
};

// Traits that release a handle of type H with the system function Close.
template <typename H, auto Close>
struct ClosedWith {
    using Handle = H;
    static void close(H handle) { Close(handle); }
};

using UniqueKernelHandle = UniqueHandle<ClosedWith<HANDLE, CloseHandle>>;
using UniqueIcon = UniqueHandle<ClosedWith<HICON, DestroyIcon>>;
using UniqueCursor = UniqueHandle<ClosedWith<HCURSOR, DestroyCursor>>;
using UniqueMixer = UniqueHandle<ClosedWith<HMIXER, winmm::mixerClose>>;
using UniqueRegion = UniqueHandle<ClosedWith<HRGN, DeleteObject>>;
using UniqueFont = UniqueHandle<ClosedWith<HFONT, DeleteObject>>;
using UniqueBrush = UniqueHandle<ClosedWith<HBRUSH, DeleteObject>>;
using UniqueBitmap = UniqueHandle<ClosedWith<HBITMAP, DeleteObject>>;
using UniqueMenu = UniqueHandle<ClosedWith<HMENU, DestroyMenu>>;
using UniqueRegistryKey = UniqueHandle<ClosedWith<HKEY, RegCloseKey>>;

// Owner of one COM interface reference.
template <typename T>
class ComPtr {
public:
    ComPtr() = default;
    ComPtr(const ComPtr&) = delete;
    ComPtr& operator=(const ComPtr&) = delete;
    ComPtr(ComPtr&& other) noexcept : p_(std::exchange(other.p_, nullptr)) {}
    ComPtr& operator=(ComPtr&& other) noexcept {
        if (this != &other) {
            if (p_) p_->Release();
            p_ = std::exchange(other.p_, nullptr);
        }
        return *this;
    }
    ~ComPtr() {
        if (p_) p_->Release();
    }
    // Another reference to the same object.
    ComPtr share() const {
        ComPtr other;
        other.p_ = p_;
        if (p_) p_->AddRef();
        return other;
    }
    T* operator->() const { return p_; }
    T* get() const { return p_; }
    // Address for an out-parameter; releases what was held.
    T** put() {
        if (p_) p_->Release();
        p_ = nullptr;
        return &p_;
    }
    void** putVoid() { return reinterpret_cast<void**>(put()); }

private:
    T* p_ = nullptr;
};

}  // namespace qmx::win32
