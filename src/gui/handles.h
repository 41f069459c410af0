#pragma once
// Owning wrappers for the window manager's and GDI's handles; the kernel's are in runtime.
#include <windows.h>

#include "runtime/unique_handle.h"

template <typename T>
struct GdiTypedTraits {
    static T invalid() { return nullptr; }
    static void close(T h) { DeleteObject(h); }
};
using UniqueFont = UniqueHandle<HFONT, GdiTypedTraits<HFONT>>;
using UniqueBrush = UniqueHandle<HBRUSH, GdiTypedTraits<HBRUSH>>;
using UniquePen = UniqueHandle<HPEN, GdiTypedTraits<HPEN>>;
using UniqueBitmap = UniqueHandle<HBITMAP, GdiTypedTraits<HBITMAP>>;

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

struct MenuTraits {
    static HMENU invalid() { return nullptr; }
    static void close(HMENU h) { DestroyMenu(h); }
};
using UniqueMenu = UniqueHandle<HMENU, MenuTraits>;

// A window's device context (the screen's for nullptr), released on scope exit.
class WindowDc {
public:
    explicit WindowDc(HWND window) : window_(window), dc_(GetDC(window)) {}
    ~WindowDc()
    {
        if (dc_)
            ReleaseDC(window_, dc_);
    }
    WindowDc(const WindowDc&) = delete;
    WindowDc& operator=(const WindowDc&) = delete;
    HDC get() const { return dc_; }

private:
    HWND window_;
    HDC dc_;
};

// The screen's device context, for measuring.
class ScreenDc : public WindowDc {
public:
    ScreenDc() : WindowDc(nullptr) {}
};

// A window's painting, BeginPaint to EndPaint on scope exit, with the window's client area at hand.
class PaintDc {
public:
    explicit PaintDc(HWND window) : window_(window), dc_(BeginPaint(window, &ps_)) { GetClientRect(window, &client_); }
    ~PaintDc() { EndPaint(window_, &ps_); }
    PaintDc(const PaintDc&) = delete;
    PaintDc& operator=(const PaintDc&) = delete;
    HDC get() const { return dc_; }
    const RECT& client() const { return client_; }

private:
    HWND window_;
    PAINTSTRUCT ps_{};
    HDC dc_;
    RECT client_{};
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
