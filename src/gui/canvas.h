#pragma once
// Drawing on a device context: a font and a brush, text and filled rectangles. Serves owner-drawn
// controls and the printer alike.
#include <string>

#include "gui/font.h"
#include "gui/graphics.h"

class TCanvas {
public:
    TCanvas() = default;
    explicit TCanvas(HDC dc) : dc_(dc) {}
    virtual ~TCanvas() = default;
    TCanvas(const TCanvas&) = delete;
    TCanvas& operator=(const TCanvas&) = delete;

    // The device context; a canvas without one asks CreateHandle for it.
    HDC Handle();
    void SetHandle(HDC dc) { dc_ = dc; }
    // Puts the stock pen, brush and font into the device context (a printer's new page starts clean).
    void Refresh();

    TFont& Font() { return font_; }
    void SetBrushColor(TColor c) { brushColor_ = c; }

    // Text in the ANSI code page (data) or UTF-16 (captions); the background is left as it is.
    void TextOut(int x, int y, const std::string& text);
    void TextOutW(int x, int y, const std::wstring& text);
    SIZE TextExtent(const std::wstring& text);
    int TextWidth(const std::wstring& text) { return TextExtent(text).cx; }
    void FillRect(const RECT& r);

protected:
    // Called when a drawing operation finds no device context.
    virtual void CreateHandle() {}
    // Called before every drawing operation (the printer checks that it is printing).
    virtual void Changing() {}

private:
    HDC Prepare();

    HDC dc_ = nullptr;
    TFont font_{L"MS Sans Serif", -11, clWindowText};
    TColor brushColor_ = clWhite;
};
