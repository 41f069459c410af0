#include "widgets/spin_button.h"

namespace {
constexpr wchar_t kUpGlyph[] = L"SpinUp";
constexpr wchar_t kDownGlyph[] = L"SpinDown";
}  // namespace

TSpinButton::TSpinButton(TComponent* owner) : TWinControl(owner)
{
    SetColor(clBtnFace);
    SetBounds(0, 0, 20, 25);
    for (TTimerSpeedButton* part : {&upPart_, &downPart_}) {
        part->SetFlat(false);
        part->SetRepeatEnabled(true);
        part->SetParent(this);
        part->OnMouseDown = [this, part] { PartPressed(*part); };
    }
    upPart_.SetGlyph(kUpGlyph);
    downPart_.SetGlyph(kDownGlyph);
    upPart_.OnClick = [this] {
        if (OnUpClick)
            OnUpClick();
    };
    downPart_.OnClick = [this] {
        if (OnDownClick)
            OnDownClick();
    };
    FitParts(Width(), Height());
}

void TSpinButton::CreateParams(TCreateParams& params)
{
    TWinControl::CreateParams(params);
    params.style |= WS_CLIPCHILDREN;
}

void TSpinButton::ApplyBounds()
{
    TWinControl::ApplyBounds();
    FitParts(Width(), Height());
}

void TSpinButton::FitParts(int w, int h)
{
    w = w < 15 ? 15 : w;
    const int upHeight = h / 2;
    upPart_.SetBounds(0, 0, w, upHeight);
    downPart_.SetBounds(0, upHeight - 1, w, h - upHeight + 1);
}

void TSpinButton::SetUpGlyph(const std::wstring& resourceName, int numGlyphs)
{
    if (resourceName.empty())
        upPart_.SetGlyph(kUpGlyph, 1);
    else
        upPart_.SetGlyph(resourceName, numGlyphs);
}

void TSpinButton::SetDownGlyph(const std::wstring& resourceName, int numGlyphs)
{
    if (resourceName.empty())
        downPart_.SetGlyph(kDownGlyph, 1);
    else
        downPart_.SetGlyph(resourceName, numGlyphs);
}

bool TSpinButton::AcceptsFocusChange() const
{
    return TabStop() && CanFocus();
}

void TSpinButton::SetFocusedPart(TTimerSpeedButton* part)
{
    if (!part || part == focusedPart_ || !AcceptsFocusChange())
        return;
    focusedPart_->SetShowFocusFrame(false);
    focusedPart_ = part;
    if (Focused()) {
        focusedPart_->SetShowFocusFrame(true);
        Invalidate();
    }
}

void TSpinButton::PartPressed(TTimerSpeedButton& part)
{
    SetFocusedPart(&part);
    if (focusControl_ && focusControl_->TabStop() && focusControl_->CanFocus() && !focusControl_->Focused())
        focusControl_->SetFocus();
    else if (TabStop() && !Focused() && CanFocus())
        SetFocus();
}

LRESULT TSpinButton::WndProc(UINT msg, WPARAM wParam, LPARAM lParam)
{
    switch (msg) {
    case WM_GETDLGCODE:
        return DLGC_WANTARROWS;
    case WM_KEYDOWN:
        if (wParam == VK_SPACE) {
            focusedPart_->Click();
            return 0;
        }
        if (wParam == VK_UP || wParam == VK_DOWN) {
            TTimerSpeedButton& part = wParam == VK_UP ? upPart_ : downPart_;
            SetFocusedPart(&part);
            part.Click();
            return 0;
        }
        break;
    case WM_SETFOCUS:
        focusedPart_->SetShowFocusFrame(true);
        break;
    case WM_KILLFOCUS:
        focusedPart_->SetShowFocusFrame(false);
        break;
    default:
        break;
    }
    return TWinControl::WndProc(msg, wParam, lParam);
}
