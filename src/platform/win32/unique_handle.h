#pragma once

#include <windows.h>

#include <mmsystem.h>

#include <utility>

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

struct KernelHandleTraits {
    using Handle = HANDLE;
    static void close(HANDLE h) { CloseHandle(h); }
};
struct IconTraits {
    using Handle = HICON;
    static void close(HICON h) { DestroyIcon(h); }
};
struct MixerTraits {
    using Handle = HMIXER;
    static void close(HMIXER h) { mixerClose(h); }
};
struct RegionTraits {
    using Handle = HRGN;
    static void close(HRGN h) { DeleteObject(h); }
};
struct FontTraits {
    using Handle = HFONT;
    static void close(HFONT h) { DeleteObject(h); }
};
struct BrushTraits {
    using Handle = HBRUSH;
    static void close(HBRUSH h) { DeleteObject(h); }
};

struct BitmapTraits {
    using Handle = HBITMAP;
    static void close(HBITMAP h) { DeleteObject(h); }
};
struct MenuTraits {
    using Handle = HMENU;
    static void close(HMENU h) { DestroyMenu(h); }
};
struct RegistryKeyTraits {
    using Handle = HKEY;
    static void close(HKEY h) { RegCloseKey(h); }
};

using UniqueBitmap = UniqueHandle<BitmapTraits>;
using UniqueMenu = UniqueHandle<MenuTraits>;
using UniqueRegistryKey = UniqueHandle<RegistryKeyTraits>;
using UniqueKernelHandle = UniqueHandle<KernelHandleTraits>;
using UniqueIcon = UniqueHandle<IconTraits>;
using UniqueMixer = UniqueHandle<MixerTraits>;
using UniqueRegion = UniqueHandle<RegionTraits>;
using UniqueFont = UniqueHandle<FontTraits>;
using UniqueBrush = UniqueHandle<BrushTraits>;

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
