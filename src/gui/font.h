#pragma once
// A font description (name, height or point size, colour, style, character set) and its GDI handle,
// made when first asked for and remade after every change.
#include <functional>
#include <string>

#include "gui/graphics.h"
#include "gui/handles.h"

enum TFontStyle : unsigned { fsBold = 1, fsItalic = 2, fsUnderline = 4, fsStrikeOut = 8 };

class TFont {
public:
    TFont() = default;
    TFont(const std::wstring& name, int height, TColor color, unsigned style = 0);
    TFont(const TFont& other);
    TFont& operator=(const TFont& other);  // takes the description, keeps OnChange

    const std::wstring& Name() const { return name_; }
    void SetName(const std::wstring& name);
    // Height in pixels of PixelsPerInch: negative gives the character height, positive the cell height.
    int Height() const { return height_; }
    void SetHeight(int height);
    // Size in points: -Height * 72 / PixelsPerInch, rounded.
    int Size() const;
    void SetSize(int points);
    int PixelsPerInch() const { return pixelsPerInch_; }
    void SetPixelsPerInch(int ppi);
    TColor Color() const { return color_; }
    void SetColor(TColor color);
    unsigned Style() const { return style_; }
    void SetStyle(unsigned style);
    BYTE Charset() const { return charset_; }
    void SetCharset(BYTE charset);

    bool SameAs(const TFont& o) const;
    // The handle for the description as it is, height in device pixels.
    HFONT Handle() const;
    // A new handle with the height scaled from 96 pixels per inch to dpi (for screen controls).
    UniqueFont CreateScaled(int dpi) const;

    std::function<void()> OnChange;

private:
    void Changed();
    HFONT Create(int height) const;

    std::wstring name_ = L"MS Sans Serif";
    int height_ = -11;
    int pixelsPerInch_ = 96;
    TColor color_ = clWindowText;
    unsigned style_ = 0;
    BYTE charset_ = DEFAULT_CHARSET;
    mutable UniqueFont handle_;
};

// The full text height (ascent plus descent) of the font, in pixels at its own resolution.
int FontLineHeight(const TFont& font);
