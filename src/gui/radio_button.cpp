#include "gui/radio_button.h"

TRadioButton::TRadioButton(TComponent* owner) : TWinControl(owner)
{
    SetTabStop(true);
}

bool TRadioButton::FirstOfGroup() const
{
    if (!Parent())
        return true;
    for (const TWinControl* c : Parent()->Controls())
        if (dynamic_cast<const TRadioButton*>(c))
            return c == this;
    return true;
}

void TRadioButton::CreateParams(TCreateParams& params)
{
    TWinControl::CreateParams(params);
    params.className = L"BUTTON";
    params.style |= BS_AUTORADIOBUTTON;
    // The radio buttons of one parent form one group for the arrow keys.
    if (FirstOfGroup())
        params.style |= WS_GROUP;
}

void TRadioButton::CreateWnd()
{
    TWinControl::CreateWnd();
    SendMessageW(Handle(), BM_SETCHECK, checked_ ? BST_CHECKED : BST_UNCHECKED, 0);
}

bool TRadioButton::Checked() const
{
    if (HandleAllocated())
        return SendMessageW(Handle(), BM_GETCHECK, 0, 0) == BST_CHECKED;
    return checked_;
}

void TRadioButton::SetChecked(bool checked)
{
    checked_ = checked;
    if (HandleAllocated())
        SendMessageW(Handle(), BM_SETCHECK, checked ? BST_CHECKED : BST_UNCHECKED, 0);
    if (checked && Parent()) {
        for (TWinControl* c : Parent()->Controls())
            if (auto* other = dynamic_cast<TRadioButton*>(c); other && other != this)
                other->SetChecked(false);
    }
}

LRESULT TRadioButton::WndProc(UINT msg, WPARAM wParam, LPARAM lParam)
{
    if (msg == CN_COMMAND) {
        if (HIWORD(wParam) == BN_CLICKED) {
            checked_ = Checked();
            if (OnClick)
                OnClick();
        }
        return 0;
    }
    return TWinControl::WndProc(msg, wParam, lParam);
}
