#include "widgets/spin_edit.h"

#include <algorithm>

#include "runtime/int_conversion.h"
#include "widgets/spin_logic.h"

namespace {
char DecimalSeparator()
{
    char sep[4] = {};
    if (GetLocaleInfoA(LOCALE_USER_DEFAULT, LOCALE_SDECIMAL, sep, sizeof(sep)) > 0 && sep[0])
        return sep[0];
    return '.';
}

int FullTextHeight(HDC dc, HFONT font)
{
    SelectObjectGuard sel(dc, font);
    TEXTMETRICA tm{};
    GetTextMetricsA(dc, &tm);
    return tm.tmAscent + tm.tmDescent;
}
}  // namespace

TSpinEdit::TSpinEdit(TComponent* owner) : TEdit(owner)
{
    button_.SetBounds(0, 0, 15, 17);
    button_.SetParent(this);
    button_.SetFocusControl(this);
    button_.OnUpClick = [this] { StepUp(); };
    button_.OnDownClick = [this] { StepDown(); };
    SetText("0");
}

void TSpinEdit::CreateParams(TCreateParams& params)
{
    TEdit::CreateParams(params);
    // Multi-line so the formatting rectangle can be narrowed to leave room for the buttons.
    params.style |= ES_MULTILINE | WS_CLIPCHILDREN;
}

void TSpinEdit::CreateWnd()
{
    TEdit::CreateWnd();
    Layout();
}

std::int32_t TSpinEdit::Value() const
{
    return StrToIntDef(Text(), minValue_);
}

std::int32_t TSpinEdit::ClampValue(std::int32_t v) const
{
    return ClampSpinValue(v, minValue_, maxValue_);
}

void TSpinEdit::SetValue(std::int32_t value)
{
    const std::string text = IntToStr(ClampValue(value));
    if (text != Text())
        SetText(text);
}

void TSpinEdit::StepUp()
{
    if (ReadOnly()) {
        MessageBeep(0);
        return;
    }
    SetValue(WrappingAdd(Value(), increment_));
}

void TSpinEdit::StepDown()
{
    if (ReadOnly()) {
        MessageBeep(0);
        return;
    }
    SetValue(WrappingAdd(Value(), -increment_));
}

bool TSpinEdit::IsAcceptedChar(char ch) const
{
    return IsAcceptedSpinChar(ch, DecimalSeparator(), editorEnabled_);
}

int TSpinEdit::MinimumHeight()
{
    ScreenDc screen;
    const int t = FullTextHeight(screen.get(), FontHandle());
    const int s = FullTextHeight(screen.get(), static_cast<HFONT>(GetStockObject(SYSTEM_FONT)));
    return t + std::min(s, t) / 4 + 4 * GetSystemMetrics(SM_CYBORDER) + 2;
}

void TSpinEdit::ApplyBounds()
{
    TEdit::ApplyBounds();
    Layout();
}

void TSpinEdit::FontChanged()
{
    TEdit::FontChanged();
    Layout();
}

void TSpinEdit::Layout()
{
    if (!HandleAllocated() || inLayout_)
        return;
    inLayout_ = true;
    const int minHeight = MulDiv(MinimumHeight(), 96, Dpi());
    if (Height() < minHeight) {
        inLayout_ = false;
        SetHeight(minHeight);  // lays out again
        return;
    }
    // Three-dimensional border (client edge): the pair sits inside it.
    const int w = button_.Width();
    button_.SetBounds(Width() - w - 5, 0, w, Height() - 5);
    FitTextArea();
    inLayout_ = false;
}

void TSpinEdit::FitTextArea()
{
    RECT client;
    GetClientRect(Handle(), &client);
    RECT r{0, 0, client.right - Scale(button_.Width()) - 2, client.bottom + 1};
    SendMessageW(Handle(), EM_SETRECTNP, 0, reinterpret_cast<LPARAM>(&r));
}

LRESULT TSpinEdit::WndProc(UINT msg, WPARAM wParam, LPARAM lParam)
{
    switch (msg) {
    case WM_GETDLGCODE: {
        // Not the multi-line edit's "all keys": Tab moves on; Enter comes here (and is refused).
        LRESULT code = DLGC_WANTCHARS | DLGC_WANTARROWS | DLGC_HASSETSEL;
        if (auto* m = reinterpret_cast<MSG*>(lParam); m && m->message == WM_KEYDOWN && m->wParam == VK_RETURN)
            code |= DLGC_WANTMESSAGE;
        return code;
    }
    case WM_KEYDOWN:
        if (wParam == VK_UP)
            StepUp();
        else if (wParam == VK_DOWN)
            StepDown();
        break;
    case WM_CHAR: {
        // The edit control works in UTF-16; the accepted characters are all ASCII, so compare there.
        const auto ch = static_cast<wchar_t>(wParam);
        const wchar_t sep = static_cast<unsigned char>(DecimalSeparator());
        const bool accepted = ch < 128 ? IsAcceptedChar(static_cast<char>(ch)) : (ch == sep && editorEnabled_);
        if (!accepted) {
            MessageBeep(0);
            return 0;
        }
        break;
    }
    case WM_PASTE:
    case WM_CUT:
        if (!editorEnabled_ || ReadOnly())
            return 0;
        break;
    case WM_SETFOCUS: {
        const LRESULT r = TEdit::WndProc(msg, wParam, lParam);
        if (autoSelect_ && !(GetKeyState(VK_LBUTTON) & 0x8000))
            SelectAll();
        return r;
    }
    case WM_KILLFOCUS: {
        const std::int32_t v = Value();
        if (ClampValue(v) != v)
            SetValue(v);
        break;
    }
    case WM_NCPAINT: {
        // The themed edit paints its frame over the whole window, children included, each time the
        // focus comes or goes: the button pair, inside the client area, draws itself again after it.
        const LRESULT r = TEdit::WndProc(msg, wParam, lParam);
        if (button_.HandleAllocated())
            RedrawWindow(button_.Handle(), nullptr, nullptr, RDW_INVALIDATE | RDW_ALLCHILDREN);
        return r;
    }
    case WM_SIZE: {
        const LRESULT r = TEdit::WndProc(msg, wParam, lParam);
        if (!inLayout_)
            FitTextArea();
        return r;
    }
    default:
        break;
    }
    return TEdit::WndProc(msg, wParam, lParam);
}
