#include "gui/panel.h"

void TPanel::CreateParams(TCreateParams& params)
{
    TWinControl::CreateParams(params);
    params.style |= WS_CLIPCHILDREN;
    if (border_)
        params.style |= WS_BORDER;
    params.exStyle |= WS_EX_CONTROLPARENT;
}
