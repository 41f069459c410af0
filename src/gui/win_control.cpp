#include "gui/win_control.h"

#include <commctrl.h>

#include <algorithm>

#include "gui/application.h"
#include "gui/window_take_over.h"
#include "runtime/ansi.h"
#include "runtime/exceptions.h"

namespace {

constexpr wchar_t kWindowClass[] = L"OrvandWindow";
ATOM g_windowClassAtom = 0;
UINT g_nextControlId = 1000;  // above IDOK/IDCANCEL, which the dialog manager sends on Enter/Escape
thread_local TWinControl* t_creating = nullptr;

}  // namespace

TWinControl::TWinControl(TComponent* owner) : TComponent(owner), id_(g_nextControlId++) {}

TWinControl::~TWinControl()
{
    DestroyHandle();
    for (TWinControl* child : children_)
        child->parent_ = nullptr;
    if (parent_) {
        auto& siblings = parent_->children_;
        siblings.erase(std::remove(siblings.begin(), siblings.end(), this), siblings.end());
    }
}

TWinControl* TWinControl::FromHandle(HWND hwnd)
{
    if (!hwnd)
        return nullptr;
    if (g_windowClassAtom && static_cast<ATOM>(GetClassLongPtrW(hwnd, GCW_ATOM)) == g_windowClassAtom)
        return reinterpret_cast<TWinControl*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA));
    // A standard control of ours is taken over by its object.
    return dynamic_cast<TWinControl*>(TWindowTakeOver::ObjectOf(hwnd));
}

void TWinControl::HandleNeeded()
{
    if (hwnd_)
        return;
    if (parent_ && !parent_->hwnd_)
        parent_->HandleNeeded();  // creates this control with the parent's children
    if (!hwnd_)
        CreateHandle();
}

void TWinControl::CreateParams(TCreateParams& params)
{
    if (parent_)
        params.style |= WS_CHILD | WS_CLIPSIBLINGS;
}

HWND TWinControl::ParentWindowForCreate() const
{
    return parent_ ? parent_->hwnd_ : nullptr;
}

RECT TWinControl::CreateRect() const
{
    return RECT{Scale(left_), Scale(top_), Scale(left_ + width_), Scale(top_ + height_)};
}

void TWinControl::CreateHandle()
{
    TCreateParams params;
    CreateParams(params);
    if (visible_)
        params.style |= WS_VISIBLE;
    if (!enabled_)
        params.style |= WS_DISABLED;
    if (tabStop_)
        params.style |= WS_TABSTOP;
    ownClass_ = params.className == nullptr;
    HINSTANCE instance = GetModuleHandleW(nullptr);
    if (ownClass_ && !g_windowClassAtom) {
        WNDCLASSEXW wc{sizeof(wc)};
        wc.style = params.classStyle;
        wc.lpfnWndProc = StaticWndProc;
        wc.hInstance = instance;
        wc.hCursor = LoadCursorW(nullptr, IDC_ARROW);
        wc.lpszClassName = kWindowClass;
        g_windowClassAtom = RegisterClassExW(&wc);
    }
    const RECT r = CreateRect();
    HMENU menuOrId = (params.style & WS_CHILD) ? reinterpret_cast<HMENU>(static_cast<UINT_PTR>(id_)) : nullptr;
    TWinControl* outer = t_creating;
    t_creating = this;
    inCreate_ = true;
    HWND hwnd = CreateWindowExW(params.exStyle, ownClass_ ? kWindowClass : params.className, caption_.c_str(),
                                params.style, r.left, r.top, r.right - r.left, r.bottom - r.top,
                                ParentWindowForCreate(), menuOrId, instance, this);
    inCreate_ = false;
    t_creating = outer;
    if (!hwnd)
        throw Exception("Error creating window");
    if (ownClass_) {
        if (hwnd_ != hwnd)  // bound at WM_NCCREATE
            throw Exception("Error creating window");
    } else {
        const bool attached = takeOver_.Attach(hwnd, this, [this](UINT msg, WPARAM wParam, LPARAM lParam) {
            return Dispatch(msg, wParam, lParam);
        });
        if (!attached) {
            DestroyWindow(hwnd);
            throw Exception("Error creating window");
        }
        hwnd_ = hwnd;
    }
    CreateWnd();
    for (TWinControl* child : children_)
        if (!child->hwnd_)
            child->CreateHandle();
}

void TWinControl::CreateWnd()
{
    SendMessageW(hwnd_, WM_SETFONT, reinterpret_cast<WPARAM>(FontHandle()), FALSE);
}

void TWinControl::DestroyHandle()
{
    if (!hwnd_)
        return;
    HWND hwnd = hwnd_;
    Detach();
    DestroyWindow(hwnd);
}

void TWinControl::Detach()
{
    if (!hwnd_)
        return;
    if (ownClass_)
        SetWindowLongPtrW(hwnd_, GWLP_USERDATA, 0);
    else
        takeOver_.Release();
    hwnd_ = nullptr;
}

TWinControl* TWinControl::OwningControl(HWND hwnd)
{
    for (HWND h = hwnd; h; h = GetAncestor(h, GA_PARENT))
        if (TWinControl* control = FromHandle(h))
            return control;
    return nullptr;
}

LRESULT CALLBACK TWinControl::StaticWndProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam)
{
    TWinControl* self = nullptr;
    if (msg == WM_NCCREATE) {
        self = static_cast<TWinControl*>(reinterpret_cast<CREATESTRUCTW*>(lParam)->lpCreateParams);
        if (self) {
            self->hwnd_ = hwnd;
            SetWindowLongPtrW(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(self));
        }
    } else {
        self = reinterpret_cast<TWinControl*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA));
    }
    if (!self)
        return DefWindowProcW(hwnd, msg, wParam, lParam);
    try {
        return self->Dispatch(msg, wParam, lParam);
    } catch (...) {
        Application().HandleCurrentException();
        return 0;
    }
}

LRESULT TWinControl::Dispatch(UINT msg, WPARAM wParam, LPARAM lParam)
{
    LRESULT result = 0;
    if (Reflect(msg, wParam, lParam, result))
        return result;
    if (msg == WM_NCDESTROY) {
        result = WndProc(msg, wParam, lParam);
        Detach();
        return result;
    }
    return WndProc(msg, wParam, lParam);
}

bool TWinControl::Reflect(UINT msg, WPARAM wParam, LPARAM lParam, LRESULT& result)
{
    HWND child = nullptr;
    switch (msg) {
    case WM_COMMAND:
    case WM_CTLCOLOREDIT:
    case WM_CTLCOLORLISTBOX:
    case WM_CTLCOLORBTN:
    case WM_CTLCOLORSTATIC:
    case WM_VKEYTOITEM:
    case WM_CHARTOITEM:
    case WM_HSCROLL:
    case WM_VSCROLL:
        child = reinterpret_cast<HWND>(lParam);
        break;
    case WM_NOTIFY:
        child = reinterpret_cast<NMHDR*>(lParam)->hwndFrom;
        break;
    case WM_CONTEXTMENU:
        child = reinterpret_cast<HWND>(wParam);
        break;
    case WM_DRAWITEM: {
        auto* dis = reinterpret_cast<DRAWITEMSTRUCT*>(lParam);
        if (dis->CtlType != ODT_MENU)
            child = dis->hwndItem;
        break;
    }
    case WM_MEASUREITEM: {
        auto* mis = reinterpret_cast<MEASUREITEMSTRUCT*>(lParam);
        if (mis->CtlType == ODT_MENU)
            return false;
        child = GetDlgItem(hwnd_, static_cast<int>(mis->CtlID));
        // An owner-drawn list asks for its item height while it is still being created.
        if (!FromHandle(child) && t_creating && t_creating->id_ == mis->CtlID) {
            result = t_creating->WndProc(CN_MEASUREITEM, wParam, lParam);
            return true;
        }
        break;
    }
    default:
        return false;
    }
    if (!child || child == hwnd_)
        return false;
    TWinControl* control = FromHandle(child);
    if (!control)
        return false;
    result = control->WndProc(msg + CN_BASE, wParam, lParam);
    return true;
}

LRESULT TWinControl::WndProc(UINT msg, WPARAM wParam, LPARAM lParam)
{
    switch (msg) {
    case WM_SETCURSOR:
        if (cursorId_ && reinterpret_cast<HWND>(wParam) == hwnd_ && LOWORD(lParam) == HTCLIENT) {
            ::SetCursor(LoadCursorW(nullptr, cursorId_));
            return TRUE;
        }
        break;
    case WM_ERASEBKGND:
        if (ownClass_) {
            RECT rc;
            GetClientRect(hwnd_, &rc);
            FillRect(reinterpret_cast<HDC>(wParam), &rc, BackgroundBrush());
            return 1;
        }
        break;
    case CN_CTLCOLOREDIT:
    case CN_CTLCOLORLISTBOX:
    case CN_CTLCOLORBTN:
    case CN_CTLCOLORSTATIC: {
        HDC dc = reinterpret_cast<HDC>(wParam);
        SetTextColor(dc, ColorToRGB(font_.Color()));
        SetBkColor(dc, ColorToRGB(color_));
        return reinterpret_cast<LRESULT>(BackgroundBrush());
    }
    default:
        if (msg >= CN_BASE && msg < CN_BASE + WM_USER)
            return 0;  // a reflected notification this control does not handle
        break;
    }
    return DefaultHandler(msg, wParam, lParam);
}

LRESULT TWinControl::DefaultHandler(UINT msg, WPARAM wParam, LPARAM lParam)
{
    if (!hwnd_)
        return 0;
    return ownClass_ ? DefWindowProcW(hwnd_, msg, wParam, lParam)
                     : takeOver_.CallPrevious(msg, wParam, lParam);
}

void TWinControl::SetParent(TWinControl* parent)
{
    if (parent == parent_)
        return;
    if (parent_) {
        auto& siblings = parent_->children_;
        siblings.erase(std::remove(siblings.begin(), siblings.end(), this), siblings.end());
    }
    parent_ = parent;
    if (!parent_)
        return;
    parent_->children_.push_back(this);
    if (parentFont_)
        ParentFontChanged(parent_->font_);
    if (parentColor_)
        ParentColorChanged(parent_->color_);
    if (parent_->hwnd_) {
        if (hwnd_) {
            ::SetParent(hwnd_, parent_->hwnd_);
            ApplyBounds();
        } else {
            CreateHandle();
        }
    }
}

RECT TWinControl::BoundsInPixels() const
{
    RECT r{};
    if (hwnd_) {
        GetWindowRect(hwnd_, &r);
        HWND p = GetParent(hwnd_);
        if (p && (GetWindowLongW(hwnd_, GWL_STYLE) & WS_CHILD))
            MapWindowPoints(HWND_DESKTOP, p, reinterpret_cast<POINT*>(&r), 2);
    }
    return r;
}

RECT TWinControl::ClientRectInPixels() const
{
    RECT r{};
    if (hwnd_)
        GetClientRect(hwnd_, &r);
    return r;
}

void TWinControl::SetBounds(int left, int top, int width, int height)
{
    left_ = left;
    top_ = top;
    width_ = width;
    height_ = height;
    ApplyBounds();
}

void TWinControl::ApplyBounds()
{
    if (!hwnd_)
        return;
    const RECT r = CreateRect();
    SetWindowPos(hwnd_, nullptr, r.left, r.top, r.right - r.left, r.bottom - r.top,
                 SWP_NOZORDER | SWP_NOACTIVATE);
}

void TWinControl::SetVisible(bool visible)
{
    visible_ = visible;
    if (hwnd_)
        ShowWindow(hwnd_, visible ? SW_SHOW : SW_HIDE);
}

bool TWinControl::Showing() const
{
    return visible_ && (!parent_ || parent_->Showing());
}

void TWinControl::SetEnabled(bool enabled)
{
    enabled_ = enabled;
    if (hwnd_)
        EnableWindow(hwnd_, enabled ? TRUE : FALSE);
}

void TWinControl::SetTabStop(bool tabStop)
{
    tabStop_ = tabStop;
    if (hwnd_) {
        LONG style = GetWindowLongW(hwnd_, GWL_STYLE);
        style = tabStop ? (style | WS_TABSTOP) : (style & ~WS_TABSTOP);
        SetWindowLongW(hwnd_, GWL_STYLE, style);
    }
}

std::wstring TWinControl::Caption() const
{
    if (!hwnd_)
        return caption_;
    const int n = GetWindowTextLengthW(hwnd_);
    std::wstring text(static_cast<size_t>(n) + 1, L'\0');
    const int got = GetWindowTextW(hwnd_, text.data(), n + 1);
    text.resize(static_cast<size_t>(std::max(got, 0)));
    return text;
}

void TWinControl::SetCaption(const std::wstring& caption)
{
    caption_ = caption;
    if (hwnd_)
        SetWindowTextW(hwnd_, caption.c_str());
}

std::string TWinControl::Text() const
{
    return WideToAnsi(Caption());
}

void TWinControl::SetText(const std::string& text)
{
    SetCaption(AnsiToWide(text));
}

void TWinControl::SetFont(const TFont& font)
{
    parentFont_ = false;
    ParentFontChanged(font);
    parentFont_ = false;
}

void TWinControl::ParentFontChanged(const TFont& font)
{
    font_ = font;
    FontChanged();
    for (TWinControl* child : children_)
        if (child->parentFont_)
            child->ParentFontChanged(font_);
}

void TWinControl::FontChanged()
{
    if (!hwnd_) {
        scaledFont_.reset();
        return;
    }
    UniqueFont font = font_.CreateScaled(Dpi());
    SendMessageW(hwnd_, WM_SETFONT, reinterpret_cast<WPARAM>(font.get()), TRUE);
    scaledFont_ = std::move(font);
}

HFONT TWinControl::FontHandle()
{
    if (!scaledFont_)
        scaledFont_ = font_.CreateScaled(Dpi());
    return scaledFont_.get();
}

void TWinControl::SetColor(TColor color)
{
    parentColor_ = false;
    ParentColorChanged(color);
    parentColor_ = false;
}

void TWinControl::ParentColorChanged(TColor color)
{
    color_ = color;
    ColorChanged();
    for (TWinControl* child : children_)
        if (child->parentColor_)
            child->ParentColorChanged(color_);
}

void TWinControl::ColorChanged()
{
    brush_.reset();
    Invalidate();
}

HBRUSH TWinControl::BackgroundBrush()
{
    if (!brush_)
        brush_.reset(CreateSolidBrush(ColorToRGB(color_)));
    return brush_.get();
}

int TWinControl::Dpi() const
{
    return Application().Dpi();
}

void TWinControl::SetFocus()
{
    HandleNeeded();
    ::SetFocus(hwnd_);
}

bool TWinControl::Focused() const
{
    return hwnd_ && GetFocus() == hwnd_;
}

bool TWinControl::CanFocus() const
{
    for (const TWinControl* c = this; c; c = c->parent_)
        if (!c->visible_ || !c->enabled_)
            return false;
    return true;
}

void TWinControl::Invalidate()
{
    if (hwnd_)
        InvalidateRect(hwnd_, nullptr, TRUE);
}

void TWinControl::Repaint()
{
    if (hwnd_)
        RedrawWindow(hwnd_, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW | RDW_ALLCHILDREN);
}

void TWinControl::BringToFront()
{
    if (hwnd_)
        SetWindowPos(hwnd_, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
}

void Place(TWinControl& control, TWinControl& parent, const char* name, int left, int top, int width, int height)
{
    control.SetName(name);
    control.SetBounds(left, top, width, height);
    control.SetParent(&parent);
}
