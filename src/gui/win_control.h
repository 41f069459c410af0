#pragma once
// A control that owns a window. Bounds are given at 96 pixels per inch and scaled to the screen.
// One static window procedure (own classes) or a take-over of the window (standard controls) finds the
// object and calls its virtual WndProc; WM_COMMAND, WM_NOTIFY, WM_DRAWITEM, WM_MEASUREITEM, WM_CTLCOLOR* and a
// child's WM_CONTEXTMENU are reflected from the parent to the child object as CN_* messages, so each control
// handles its own.
#include <string>
#include <vector>

#include "gui/component.h"
#include "gui/font.h"
#include "gui/graphics.h"
#include "gui/handles.h"
#include "gui/window_take_over.h"

// Reflected notifications: the original message plus CN_BASE.
constexpr UINT CN_BASE = 0xBC00;
constexpr UINT CN_COMMAND = CN_BASE + WM_COMMAND;
constexpr UINT CN_NOTIFY = CN_BASE + WM_NOTIFY;
constexpr UINT CN_DRAWITEM = CN_BASE + WM_DRAWITEM;
constexpr UINT CN_MEASUREITEM = CN_BASE + WM_MEASUREITEM;
constexpr UINT CN_CTLCOLOREDIT = CN_BASE + WM_CTLCOLOREDIT;
constexpr UINT CN_CTLCOLORLISTBOX = CN_BASE + WM_CTLCOLORLISTBOX;
constexpr UINT CN_CTLCOLORBTN = CN_BASE + WM_CTLCOLORBTN;
constexpr UINT CN_CTLCOLORSTATIC = CN_BASE + WM_CTLCOLORSTATIC;
constexpr UINT CN_VKEYTOITEM = CN_BASE + WM_VKEYTOITEM;
constexpr UINT CN_CHARTOITEM = CN_BASE + WM_CHARTOITEM;
constexpr UINT CN_HSCROLL = CN_BASE + WM_HSCROLL;
constexpr UINT CN_VSCROLL = CN_BASE + WM_VSCROLL;
constexpr UINT CN_CONTEXTMENU = CN_BASE + WM_CONTEXTMENU;

class TWinControl : public TComponent {
public:
    explicit TWinControl(TComponent* owner);
    ~TWinControl() override;

    // The object bound to a window of this program, or nullptr.
    static TWinControl* FromHandle(HWND hwnd);

    HWND Handle() const { return hwnd_; }
    bool HandleAllocated() const { return hwnd_ != nullptr; }
    // Creates the window (and the parent's first, and then the children's) when it does not exist yet.
    void HandleNeeded();

    TWinControl* Parent() const { return parent_; }
    void SetParent(TWinControl* parent);
    const std::vector<TWinControl*>& Controls() const { return children_; }

    // Position and size in pixels at 96 DPI, relative to the parent's client area.
    int Left() const { return left_; }
    int Top() const { return top_; }
    int Width() const { return width_; }
    int Height() const { return height_; }
    void SetBounds(int left, int top, int width, int height);
    void SetLeft(int v) { SetBounds(v, top_, width_, height_); }
    void SetTop(int v) { SetBounds(left_, v, width_, height_); }
    void SetWidth(int v) { SetBounds(left_, top_, v, height_); }
    void SetHeight(int v) { SetBounds(left_, top_, width_, v); }
    // Bounds of the window as it stands, in device pixels of the parent's client area.
    RECT BoundsInPixels() const;
    RECT ClientRectInPixels() const;

    bool Visible() const { return visible_; }
    virtual void SetVisible(bool visible);
    void Show() { SetVisible(true); }
    void Hide() { SetVisible(false); }
    // Visible and every parent visible.
    bool Showing() const;
    bool Enabled() const { return enabled_; }
    void SetEnabled(bool enabled);
    bool TabStop() const { return tabStop_; }
    void SetTabStop(bool tabStop);

    // The window text as the user sees it.
    std::wstring Caption() const;
    virtual void SetCaption(const std::wstring& caption);
    // The window text as data in the ANSI code page.
    std::string Text() const;
    void SetText(const std::string& text);

    const TFont& Font() const { return font_; }
    void SetFont(const TFont& font);
    bool ParentFont() const { return parentFont_; }
    TColor Color() const { return color_; }
    void SetColor(TColor color);
    bool ParentColor() const { return parentColor_; }
    // A system cursor (IDC_HAND, ...) shown over the control; nullptr for the class cursor.
    void SetCursor(LPCWSTR cursorId) { cursorId_ = cursorId; }

    int Dpi() const;
    int Scale(int v) const { return MulDiv(v, Dpi(), 96); }

    void SetFocus();
    bool Focused() const;
    bool CanFocus() const;
    void Invalidate();
    void Repaint();
    void BringToFront();
    UINT ControlId() const { return id_; }

    // The brush of the background colour, for WM_CTLCOLOR* and painting.
    HBRUSH BackgroundBrush();

    // An editor of the control's own is open in place (a tree's label editor): every key goes to it, and the
    // window's shortcut keys wait until it closes.
    virtual bool HoldsKeyboard() const { return false; }
    // The control a window belongs to: its own object, or that of the nearest ancestor that has one (an
    // in-place editor belongs to the control that opened it).
    static TWinControl* OwningControl(HWND hwnd);

protected:
    struct TCreateParams {
        const wchar_t* className = nullptr;  // nullptr: the program's own window class
        DWORD style = 0;
        DWORD exStyle = 0;
        UINT classStyle = CS_DBLCLKS;
    };
    virtual void CreateParams(TCreateParams& params);
    // After the window exists: apply what was stored before.
    virtual void CreateWnd();
    virtual LRESULT WndProc(UINT msg, WPARAM wParam, LPARAM lParam);
    LRESULT DefaultHandler(UINT msg, WPARAM wParam, LPARAM lParam);
    virtual void FontChanged();
    virtual void ColorChanged();
    // Parent handle or owner window for creation; top-level windows override.
    virtual HWND ParentWindowForCreate() const;
    // Position in device pixels for creation; top-level windows override.
    virtual RECT CreateRect() const;
    // Reapply bounds after DPI or parent change.
    virtual void ApplyBounds();
    HFONT FontHandle();
    void SetColorInternal(TColor color) { color_ = color; }
    void SetParentColor(bool v) { parentColor_ = v; }
    bool IsOwnClass() const { return ownClass_; }

private:
    static LRESULT CALLBACK StaticWndProc(HWND, UINT, WPARAM, LPARAM);
    LRESULT Dispatch(UINT msg, WPARAM wParam, LPARAM lParam);
    bool Reflect(UINT msg, WPARAM wParam, LPARAM lParam, LRESULT& result);
    void CreateHandle();
    void DestroyHandle();
    void Detach();
    void ParentFontChanged(const TFont& font);
    void ParentColorChanged(TColor color);

    HWND hwnd_ = nullptr;
    bool ownClass_ = false;
    TWindowTakeOver takeOver_;  // a standard control: its own procedure is what ours hands on to
    bool inCreate_ = false;
    TWinControl* parent_ = nullptr;
    std::vector<TWinControl*> children_;
    UINT id_;
    int left_ = 0, top_ = 0, width_ = 0, height_ = 0;
    bool visible_ = true;
    bool enabled_ = true;
    bool tabStop_ = false;
    std::wstring caption_;
    TFont font_;
    bool parentFont_ = true;
    UniqueFont scaledFont_;
    TColor color_ = clBtnFace;
    bool parentColor_ = true;
    UniqueBrush brush_;
    LPCWSTR cursorId_ = nullptr;
};

// Names a control and places it on its parent at 96-DPI bounds, as a window's layout table gives it.
void Place(TWinControl& control, TWinControl& parent, const char* name, int left, int top, int width, int height);
