#include "gui/font.h"

#include <cmath>

TFont::TFont(const std::wstring& name, int height, TColor color, unsigned style)
    : name_(name), height_(height), color_(color), style_(style)
{
}

TFont::TFont(const TFont& o)
    : name_(o.name_), height_(o.height_), pixelsPerInch_(o.pixelsPerInch_), color_(o.color_), style_(o.style_),
      charset_(o.charset_)
{
}

TFont& TFont::operator=(const TFont& o)
{
    if (this != &o && !SameAs(o)) {
        name_ = o.name_;
        height_ = o.height_;
        pixelsPerInch_ = o.pixelsPerInch_;
        color_ = o.color_;
        style_ = o.style_;
        charset_ = o.charset_;
        Changed();
    }
    return *this;
}

bool TFont::SameAs(const TFont& o) const
{
    return name_ == o.name_ && height_ == o.height_ && pixelsPerInch_ == o.pixelsPerInch_ &&
           color_ == o.color_ && style_ == o.style_ && charset_ == o.charset_;
}

void TFont::SetName(const std::wstring& name)
{
    if (name != name_) {
        name_ = name;
        Changed();
    }
}

void TFont::SetHeight(int height)
{
    if (height != height_) {
        height_ = height;
        Changed();
    }
}

int TFont::Size() const
{
    return static_cast<int>(std::lround(-height_ * 72.0 / pixelsPerInch_));
}

void TFont::SetSize(int points)
{
    SetHeight(-MulDiv(points, pixelsPerInch_, 72));
}

void TFont::SetPixelsPerInch(int ppi)
{
    if (ppi > 0 && ppi != pixelsPerInch_) {
        pixelsPerInch_ = ppi;
        Changed();
    }
}

void TFont::SetColor(TColor color)
{
    if (color != color_) {
        color_ = color;
        // The colour is not part of the GDI font: only tell the owner.
        if (OnChange)
            OnChange();
    }
}

void TFont::SetStyle(unsigned style)
{
    if (style != style_) {
        style_ = style;
        Changed();
    }
}

void TFont::SetCharset(BYTE charset)
{
    if (charset != charset_) {
        charset_ = charset;
        Changed();
    }
}

void TFont::Changed()
{
    handle_.reset();
    if (OnChange)
        OnChange();
}

HFONT TFont::Create(int height) const
{
    LOGFONTW lf{};
    lf.lfHeight = height;
    lf.lfWeight = (style_ & fsBold) ? FW_BOLD : FW_NORMAL;
    lf.lfItalic = (style_ & fsItalic) ? TRUE : FALSE;
    lf.lfUnderline = (style_ & fsUnderline) ? TRUE : FALSE;
    lf.lfStrikeOut = (style_ & fsStrikeOut) ? TRUE : FALSE;
    lf.lfCharSet = charset_;
    lf.lfOutPrecision = OUT_DEFAULT_PRECIS;
    lf.lfClipPrecision = CLIP_DEFAULT_PRECIS;
    lf.lfQuality = DEFAULT_QUALITY;
    lf.lfPitchAndFamily = DEFAULT_PITCH;
    lstrcpynW(lf.lfFaceName, name_.c_str(), LF_FACESIZE);
    return CreateFontIndirectW(&lf);
}

HFONT TFont::Handle() const
{
    if (!handle_)
        handle_.reset(Create(height_));
    return handle_.get();
}

UniqueFont TFont::CreateScaled(int dpi) const
{
    return UniqueFont(Create(MulDiv(height_, dpi, 96)));
}

int FontLineHeight(const TFont& font)
{
    ScreenDc dc;
    SelectObjectGuard select(dc.get(), font.Handle());
    TEXTMETRICA metrics{};
    GetTextMetricsA(dc.get(), &metrics);
    return metrics.tmHeight;
}
