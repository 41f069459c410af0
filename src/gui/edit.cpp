#include "gui/edit.h"

TEdit::TEdit(TComponent* owner) : TWinControl(owner)
{
    SetTabStop(true);
    SetColor(clWindow);
}

void TEdit::CreateParams(TCreateParams& params)
{
    TWinControl::CreateParams(params);
    params.className = L"EDIT";
    params.style |= ES_AUTOHSCROLL;
    if (readOnly_)
        params.style |= ES_READONLY;
    params.exStyle |= WS_EX_CLIENTEDGE;
}

void TEdit::SetReadOnly(bool readOnly)
{
    readOnly_ = readOnly;
    if (HandleAllocated())
        SendMessageW(Handle(), EM_SETREADONLY, readOnly ? TRUE : FALSE, 0);
}

void TEdit::SelectAll()
{
    if (HandleAllocated())
        SendMessageW(Handle(), EM_SETSEL, 0, -1);
}

void TEdit::Change()
{
    if (OnChange)
        OnChange();
}

LRESULT TEdit::WndProc(UINT msg, WPARAM wParam, LPARAM lParam)
{
    // A multi-line edit sends no EN_CHANGE for text set by code: tell the change here.
    if (msg == WM_SETTEXT && (GetWindowLongW(Handle(), GWL_STYLE) & ES_MULTILINE)) {
        const std::wstring before = Caption();
        const LRESULT result = TWinControl::WndProc(msg, wParam, lParam);
        if (Caption() != before)
            Change();
        return result;
    }
    if (msg == CN_COMMAND) {
        if (HIWORD(wParam) == EN_CHANGE)
            Change();
        return 0;
    }
    return TWinControl::WndProc(msg, wParam, lParam);
}
