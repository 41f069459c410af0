#include "printing/printer_canvas.h"

#include "printing/printer.h"

void TPrinterCanvas::CreateHandle()
{
    printer_->ChangeHandleState(TPrinterHandleState::hsInfo);
    UpdateFont();
    SetHandle(printer_->dc_);
}

void TPrinterCanvas::Changing()
{
    printer_->EnsurePrinting(true);
    TCanvas::Changing();
    UpdateFont();
}

void TPrinterCanvas::UpdateFont()
{
    const int pixelsPerInch = printer_->spooler_->GetDeviceCaps(printer_->dc_, LOGPIXELSY);
    TFont& font = Font();
    if (pixelsPerInch != font.PixelsPerInch()) {
        const int size = font.Size();
        font.SetPixelsPerInch(pixelsPerInch);
        font.SetSize(size);
    }
}
