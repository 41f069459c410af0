#include "gui/canvas.h"

#include "runtime/exceptions.h"

HDC TCanvas::Handle()
{
    if (!dc_)
        CreateHandle();
    return dc_;
}

void TCanvas::Refresh()
{
    if (!dc_)
        return;
    SelectObject(dc_, GetStockObject(BLACK_PEN));
    SelectObject(dc_, GetStockObject(WHITE_BRUSH));
    SelectObject(dc_, GetStockObject(SYSTEM_FONT));
}

HDC TCanvas::Prepare()
{
    Changing();
    HDC dc = Handle();
    if (!dc)
        throw Exception("Canvas does not allow drawing");
    return dc;
}

void TCanvas::TextOut(int x, int y, const std::string& text)
{
    HDC dc = Prepare();
    SelectObjectGuard font(dc, font_.Handle());
    SetTextColor(dc, ColorToRGB(font_.Color()));
    SetBkMode(dc, TRANSPARENT);
    TextOutA(dc, x, y, text.data(), static_cast<int>(text.size()));
}

void TCanvas::TextOutW(int x, int y, const std::wstring& text)
{
    HDC dc = Prepare();
    SelectObjectGuard font(dc, font_.Handle());
    SetTextColor(dc, ColorToRGB(font_.Color()));
    SetBkMode(dc, TRANSPARENT);
    ::TextOutW(dc, x, y, text.data(), static_cast<int>(text.size()));
}

SIZE TCanvas::TextExtent(const std::wstring& text)
{
    HDC dc = Handle();
    SIZE size{};
    if (!dc)
        return size;
    SelectObjectGuard font(dc, font_.Handle());
    GetTextExtentPoint32W(dc, text.data(), static_cast<int>(text.size()), &size);
    return size;
}

void TCanvas::FillRect(const RECT& r)
{
    HDC dc = Prepare();
    UniqueBrush brush(CreateSolidBrush(ColorToRGB(brushColor_)));
    ::FillRect(dc, &r, brush.get());
}
