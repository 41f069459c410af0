#include "app/form3.h"

#include <shellapi.h>

#include "gui/application.h"
#include "imaging/jpeg_image.h"
#include "runtime/ansi.h"
#include "runtime/locale_time.h"

// Under a reserved example domain: no click ever reaches a real site or mailbox.
const char* const kAboutWebAddress = "http://www.example.org/orvand/";
const char* const kAboutMailTarget = "mailto:orvand@example.org";

Tform3* form3 = nullptr;

namespace {

constexpr TColor kCardGrey = RGB(245, 245, 245);  // 16119285

}  // namespace

Tform3::Tform3(TComponent* owner) : TForm(owner)
{
    SetName("form3");
    SetCaption(L"");
    SetClientSize(317, 175);
    SetPosition(TPosition::poScreenCenter);
    SetSystemMenu(false);
    SetColor(kCardGrey);
    SetFont(TFont(L"System", -13, clWindowText));
    BuildControls();
    HandleNeeded();
    Image1.BringToFront();  // over its frame
    // The clock runs from now on, shown or not.
    Timer1.SetName("Timer1");
    Timer1.SetInterval(100);
    Timer1.SetEnabled(true);
    Timer1.SetOnTimer([this] { Timer1Timer(); });
    // A picture libjpeg refuses is shown as the failure it is; the window is made all the same.
    try {
        TJPEGImage picture;
        picture.LoadFromResourceName(L"ABOUTPICTURE");
        Image1.SetBitmap(picture.ToBitmap());
    } catch (...) {
        Application().HandleCurrentException();
    }
}

void Tform3::BuildControls()
{
    Place(Panel2, *this, "Panel2", 12, 8, 297, 113);
    Panel2.SetColor(clWhite);
    Panel2.SetBevelOuter(TPanelBevel::bvRaised);
    Panel2.SetBevelInner(TPanelBevel::bvLowered);

    const TFont card(L"MS Sans Serif", -13, clBlack);
    const TFont small(L"MS Sans Serif", -11, clGray);
    struct LabelDef {
        TLabel& label;
        const char* name;
        int left, top, width, height;
        const wchar_t* caption;
        const TFont& font;
    };
    const LabelDef labels[] = {
        {Label1, "Label1", 52, 4, 98, 16, L"Zespół Orvand", card},
        {Label2, "Label2", 20, 20, 157, 16, L"ul. Katalogowa 3/5", card},
        {Label3, "Label3", 52, 36, 85, 16, L"00-303 Orvandów", card},
        {Label6, "Label6", 48, 56, 96, 16, L"tel. (00) 303 03 03", card},
        {Label4, "Label4", 52, 76, 80, 13, L"www.example.org", small},
        {Label5, "Label5", 52, 92, 81, 13, L"orvand@example.org", small},
    };
    for (const LabelDef& d : labels) {
        Place(d.label, Panel2, d.name, d.left, d.top, d.width, d.height);
        d.label.SetCaption(d.caption);
        d.label.SetFont(d.font);
    }

    // The frame first, the picture above it.
    Place(Bevel1, Panel2, "Bevel1", 196, 4, 93, 101);
    Place(Image1, Panel2, "Image1", 200, 8, 85, 93);
    Image1.SetStretch(true);

    TFont buttonFont(L"MS Sans Serif", -11, clGray);
    buttonFont.SetCharset(EASTEUROPE_CHARSET);
    struct ButtonDef {
        TSpeedButton& button;
        const char* name;
        int left, top, width;
        const wchar_t* caption;
        const wchar_t* glyph;
        TButtonLayout layout;
        void (Tform3::*handler)();
    };
    const ButtonDef buttons[] = {
        {SpeedButton1, "SpeedButton1", 12, 128, 177, L"Odwiedź witrynę www autora", L"WEBGLYPH",
         TButtonLayout::blGlyphLeft, &Tform3::SpeedButton1Click},
        {SpeedButton2, "SpeedButton2", 12, 148, 177, L"Wyślij pocztę", L"MAILGLYPH", TButtonLayout::blGlyphLeft,
         &Tform3::SpeedButton2Click},
        {SpeedButton3, "SpeedButton3", 200, 148, 109, L"Zamknij okno", L"CLOSEGLYPH", TButtonLayout::blGlyphRight,
         &Tform3::SpeedButton3Click},
    };
    for (const ButtonDef& d : buttons) {
        Place(d.button, *this, d.name, d.left, d.top, d.width, 22);
        d.button.SetCaption(d.caption);
        d.button.SetFont(buttonFont);
        d.button.SetCursor(IDC_HAND);
        d.button.SetGlyph(d.glyph);
        d.button.SetLayout(d.layout);
        d.button.OnClick = [this, handler = d.handler] { (this->*handler)(); };
    }

    Place(Label7, *this, "Label7", 256, 128, 48, 16);
    Label7.SetCaption(L"00:00:00");
    Label7.SetFont(TFont(L"MS Sans Serif", -13, clGray));
}

void Tform3::Timer1Timer()
{
    SYSTEMTIME now;
    GetLocalTime(&now);
    const std::wstring text = AnsiToWide(LongTimeText(now));
    if (text != Label7.Caption())  // ten ticks a second, one change: the label repaints once a second
        Label7.SetCaption(text);
}

void Tform3::SpeedButton1Click()
{
    ShellExecuteA(Handle(), "open", kAboutWebAddress, nullptr, nullptr, SW_SHOWNORMAL);
}

void Tform3::SpeedButton2Click()
{
    ShellExecuteA(Handle(), "open", kAboutMailTarget, nullptr, nullptr, SW_SHOWNORMAL);
}

void Tform3::SpeedButton3Click()
{
    Close();
}
