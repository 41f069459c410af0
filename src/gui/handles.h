#pragma once
// Owning wrappers for the platform's handles: each frees its handle exactly once.
#include <windows.h>

#include <utility>

template <typename H, typename Traits>
class UniqueHandle {
public:
    UniqueHandle() = default;
    explicit UniqueHandle(H h) : h_(h) {}
    ~UniqueHandle() { reset(); }
    UniqueHandle(UniqueHandle&& o) noexcept : h_(std::exchange(o.h_, Traits::invalid())) {}
    UniqueHandle& operator=(UniqueHandle&& o) noexcept
    {
        if (this != &o) {
            reset();
            h_ = std::exchange(o.h_, Traits::invalid());
        }
        return *this;
    }
    UniqueHandle(const UniqueHandle&) = delete;
    UniqueHandle& operator=(const UniqueHandle&) = delete;

    H get() const { return h_; }
    explicit operator bool() const { return h_ != Traits::invalid(); }
    H release() { return std::exchange(h_, Traits::invalid()); }
    void reset(H h = Traits::invalid())
    {
        if (h_ != Traits::invalid())
            Traits::close(h_);
        h_ = h;
    }

private:
    H h_ = Traits::invalid();
};

struct GdiTraits {
    static HGDIOBJ invalid() { return nullptr; }
    static void close(HGDIOBJ h) { DeleteObject(h); }
};
template <typename T>
struct GdiTypedTraits {
    static T invalid() { return nullptr; }
    static void close(T h) { DeleteObject(h); }
};
using UniqueFont = UniqueHandle<HFONT, GdiTypedTraits<HFONT>>;
using UniqueBrush = UniqueHandle<HBRUSH, GdiTypedTraits<HBRUSH>>;
using UniquePen = UniqueHandle<HPEN, GdiTypedTraits<HPEN>>;
using UniqueBitmap = UniqueHandle<HBITMAP, GdiTypedTraits<HBITMAP>>;

struct KernelTraits {
    static HANDLE invalid() { return INVALID_HANDLE_VALUE; }
    static void close(HANDLE h) { CloseHandle(h); }
};
using UniqueFileHandle = UniqueHandle<HANDLE, KernelTraits>;

struct FindTraits {
    static HANDLE invalid() { return INVALID_HANDLE_VALUE; }
    static void close(HANDLE h) { FindClose(h); }
};
using UniqueFindHandle = UniqueHandle<HANDLE, FindTraits>;

struct DcTraits {
    static HDC invalid() { return nullptr; }
    static void close(HDC h) { DeleteDC(h); }
};
using UniqueDc = UniqueHandle<HDC, DcTraits>;

struct IconTraits {
    static HICON invalid() { return nullptr; }
    static void close(HICON h) { DestroyIcon(h); }
};
using UniqueIcon = UniqueHandle<HICON, IconTraits>;

// A screen device context for measuring, released on scope exit.
class ScreenDc {
public:
    ScreenDc() : dc_(GetDC(nullptr)) {}
    ~ScreenDc() { ReleaseDC(nullptr, dc_); }
    ScreenDc(const ScreenDc&) = delete;
    ScreenDc& operator=(const ScreenDc&) = delete;
    HDC get() const { return dc_; }

private:
    HDC dc_;
};

// Selects a GDI object into a device context and puts the previous one back on scope exit.
class SelectObjectGuard {
public:
    SelectObjectGuard(HDC dc, HGDIOBJ obj) : dc_(dc), old_(obj ? SelectObject(dc, obj) : nullptr) {}
    ~SelectObjectGuard()
    {
        if (old_)
            SelectObject(dc_, old_);
    }
    SelectObjectGuard(const SelectObjectGuard&) = delete;
    SelectObjectGuard& operator=(const SelectObjectGuard&) = delete;

private:
    HDC dc_;
    HGDIOBJ old_;
};
