// The main window as the user meets it: frame, controls, defaults, help panel, and leaving the program.
#include <gtest/gtest.h>

#include <windows.h>
#include <shellapi.h>

#include <algorithm>
#include <cstdlib>
#include <string>
#include <vector>

#include "app/form1.h"
#include "dialog_driver.h"
#include "gui/application.h"
#include "key_press.h"
#include "runtime/ansi.h"
#include "runtime/exceptions.h"

namespace {

std::wstring WindowText(HWND h)
{
    wchar_t buf[512] = {};
    GetWindowTextW(h, buf, 512);
    return buf;
}

// Bounds of a control relative to its parent's client area, in pixels.
RECT Bounds(const TWinControl& c)
{
    return c.BoundsInPixels();
}

int S(const TWinControl& c, int v)
{
    return c.Scale(v);
}

}  // namespace

TEST(MainWindow, FrameCaptionAndClientArea)
{
    TForm1 form(nullptr);
    form.Show();
    HWND h = form.Handle();
    EXPECT_EQ(WindowText(h), L"Orvand 3");
    const LONG style = GetWindowLongW(h, GWL_STYLE);
    EXPECT_TRUE((style & WS_CAPTION) == WS_CAPTION);
    EXPECT_FALSE(style & WS_SYSMENU);  // no system menu, so no title-bar buttons
    EXPECT_FALSE(style & (WS_MINIMIZEBOX | WS_MAXIMIZEBOX));
    EXPECT_FALSE(style & WS_THICKFRAME);  // cannot be resized
    RECT client;
    GetClientRect(h, &client);
    EXPECT_EQ(client.right, S(form, 760));
    EXPECT_EQ(client.bottom, S(form, 469));
    // Centred on the desktop's work area.
    RECT win, work;
    GetWindowRect(h, &win);
    SystemParametersInfoW(SPI_GETWORKAREA, 0, &work, 0);
    EXPECT_LE(std::abs((win.left + win.right) - (work.left + work.right)), 2);
    EXPECT_LE(std::abs((win.top + win.bottom) - (work.top + work.bottom)), 2);
    EXPECT_EQ(form.Color(), clWhite);
}

TEST(MainWindow, ControlsInTheirPlacesWithTheirTexts)
{
    TForm1 form(nullptr);
    struct Expect {
        const TWinControl& c;
        int left, top, width, height;
        const wchar_t* text;
        bool sized;  // labels take the width of their text
    };
    const Expect controls[] = {
        {form.Label9, 272, 12, 80, 13, L"Obraz katalogów", false},
        {form.Label10, 272, 208, 61, 13, L"Obraz plików", false},
        {form.Label1, 412, 208, 32, 13, L"Maska", false},
        {form.Edit1, 456, 204, 33, 17, L"*.*", true},
        {form.Label4, 520, 16, 185, 20, L"Przeglądarka katalogów", false},
        {form.Label5, 544, 40, 143, 13, L"z możliwością zapisu do pliku", false},
        {form.Label6, 584, 56, 63, 13, L"lub wydruku", false},
        {form.Label3, 596, 104, 30, 13, L"v 3.03", false},
        {form.GroupBox1, 504, 136, 121, 65, L"Co uwzględniać", true},
        {form.dr1, 8, 24, 81, 17, L"Obraz plików", true},
        {form.dr2, 8, 40, 105, 17, L"Obraz katalogów", true},
        {form.GroupBox2, 632, 136, 113, 81, L"Numeracja pozycji", true},
        {form.nr1, 8, 24, 89, 17, L"tak,wspólna", true},
        {form.nr3, 8, 40, 97, 17, L"tak,oddzielna", true},
        {form.nr2, 8, 56, 57, 17, L"nie", true},
        {form.Label7, 504, 208, 70, 14, L"Nagłówek listy", false},
        {form.naglowek, 504, 224, 241, 17, L"", true},
        {form.GroupBox3, 504, 260, 241, 41, L"Jak drukować nagłówek", true},
        {form.na1, 8, 16, 113, 17, L"z odstępem", true},
        {form.na2, 120, 16, 81, 17, L"bez odstępu", true},
        {form.Label8, 504, 308, 220, 14, L"Drukuj (zapisz) listę począwszy od pozycji....", false},
        {form.pozycja, 504, 324, 97, 24, L"0", true},
        {form.SpeedButton4, 560, 368, 193, 22, L"Pomoc", true},
        {form.SpeedButton3, 560, 392, 193, 22, L"Drukuj obraz katalogu", true},
        {form.SpeedButton2, 560, 416, 193, 22, L"Zapisz obraz katalogu w pliku", true},
        {form.SpeedButton1, 560, 440, 193, 22, L"Koniec", true},
    };
    for (const Expect& e : controls) {
        SCOPED_TRACE(e.c.Name());
        const RECT r = Bounds(e.c);
        EXPECT_EQ(r.left, S(form, e.left));
        EXPECT_EQ(r.top, S(form, e.top));
        if (e.sized) {
            EXPECT_EQ(r.right - r.left, S(form, e.width));
            EXPECT_EQ(r.bottom - r.top, S(form, e.height));
        } else {
            EXPECT_GT(r.right - r.left, 0);
        }
        EXPECT_EQ(WindowText(e.c.Handle()), e.text);
        EXPECT_TRUE(IsWindowVisible(e.c.Handle()) || !form.Visible());
    }
    EXPECT_EQ(form.SpeedButton1.Font().Name(), L"Arial");
    EXPECT_EQ(form.SpeedButton1.Font().Height(), -12);
    EXPECT_EQ(form.SpeedButton1.Font().Color(), clMaroon);
    EXPECT_EQ(form.SpeedButton1.Font().Charset(), EASTEUROPE_CHARSET);
    EXPECT_FALSE(form.SpeedButton2.Glyph().Empty());
    EXPECT_EQ(form.naglowek.Font().Color(), clBlue);
    EXPECT_EQ(form.nr1.Font().Color(), clNavy);  // from its group box
    EXPECT_EQ(form.Label4.Font().Height(), -16);
    EXPECT_TRUE(form.Label4.Font().Style() & fsItalic);
    EXPECT_EQ(form.Panel1.Color(), clSilver);
    EXPECT_FALSE(form.Panel1.Visible());
    EXPECT_FALSE(form.Memo1.Enabled());
    EXPECT_NE(form.Image1.Icon(), nullptr);
    EXPECT_FALSE(form.Timer1.Running());  // no handler: no timer at all
}

TEST(MainWindow, DefaultsAfterCreation)
{
    TForm1 form(nullptr);
    EXPECT_TRUE(form.dr1.Checked());
    EXPECT_FALSE(form.dr2.Checked());
    EXPECT_TRUE(form.nr2.Checked());
    EXPECT_FALSE(form.nr1.Checked());
    EXPECT_FALSE(form.nr3.Checked());
    EXPECT_TRUE(form.na1.Checked());
    EXPECT_FALSE(form.na2.Checked());
    EXPECT_EQ(form.naglowek.Text(), "");  // the stored "naglowek" is cleared
    EXPECT_EQ(form.Edit1.Text(), "*.*");
    EXPECT_EQ(form.pozycja.Value(), 0);
    EXPECT_EQ(form.pozycja.Text(), "0");
    // The tree draws its nodes' icons from the shell's own image list.
    SHFILEINFOA info{};
    const auto system = SHGetFileInfoA("C:\\", 0, &info, sizeof(info), SHGFI_SYSICONINDEX | SHGFI_SMALLICON);
    EXPECT_EQ(SendMessageW(form.ShellTreeView1.Handle(), TVM_GETIMAGELIST, TVSIL_NORMAL, 0),
              static_cast<LRESULT>(system));
}

TEST(MainWindow, NegativeStartPositionGoesBackToZeroAtOnce)
{
    TForm1 form(nullptr);
    form.Show();
    form.pozycja.SetFocus();
    SendMessageW(form.pozycja.Handle(), EM_SETSEL, 0, -1);
    for (char c : std::string("-5"))
        SendMessageW(form.pozycja.Handle(), WM_CHAR, static_cast<WPARAM>(c), 0);
    EXPECT_EQ(form.pozycja.Text(), "0");
    SendMessageW(form.pozycja.Handle(), WM_KEYDOWN, VK_DOWN, 0);  // below 0 by the arrow key
    EXPECT_EQ(form.pozycja.Text(), "0");
    form.pozycja.SetText("12");
    EXPECT_EQ(form.pozycja.Value(), 12);
}

TEST(MainWindow, KeyboardOrderOfTheOptions)
{
    TForm1 form(nullptr);
    form.Show();
    // Walk the Tab cycle once and keep the controls this test knows, in the order met.
    const std::vector<HWND> known = {form.Edit1.Handle(),    form.dr1.Handle(),     form.nr2.Handle(),
                                     form.naglowek.Handle(), form.pozycja.Handle(), form.na1.Handle()};
    std::vector<HWND> order;
    HWND start = GetNextDlgTabItem(form.Handle(), nullptr, FALSE);
    HWND h = start;
    for (int i = 0; i < 50 && h; ++i) {
        if (std::find(known.begin(), known.end(), h) != known.end())
            order.push_back(h);
        h = GetNextDlgTabItem(form.Handle(), h, FALSE);
        if (h == start)
            break;
    }
    // Tab goes to the checked radio button of each group.
    ASSERT_EQ(order.size(), known.size());
    const auto first = std::find(order.begin(), order.end(), form.Edit1.Handle());
    std::rotate(order.begin(), first, order.end());
    EXPECT_EQ(order, known);
}

namespace {
// Screen pixels in a rectangle of a window (window coordinates): the navy ones, and the dark ones that
// are not blue (black or grey text).
struct Ink {
    int navy = 0;
    int darkNotBlue = 0;
};

Ink InkOnScreen(HWND window, RECT r)
{
    Application().ProcessMessages();
    RECT w;
    GetWindowRect(window, &w);
    OffsetRect(&r, w.left, w.top);
    HDC screen = GetDC(nullptr);
    Ink ink;
    for (int y = r.top; y < r.bottom; ++y)
        for (int x = r.left; x < r.right; ++x) {
            const COLORREF p = GetPixel(screen, x, y);
            const int red = GetRValue(p), green = GetGValue(p), blue = GetBValue(p);
            if (red < 64 && green < 64 && blue >= 96)
                ++ink.navy;
            else if (red + green + blue < 3 * 96 && blue < red + 48)
                ++ink.darkNotBlue;
        }
    ReleaseDC(nullptr, screen);
    return ink;
}

LOGFONTW FontOf(HWND window)
{
    LOGFONTW lf{};
    GetObjectW(reinterpret_cast<HFONT>(SendMessageW(window, WM_GETFONT, 0, 0)), sizeof(lf), &lf);
    return lf;
}
}  // namespace

TEST(MainWindow, GroupCaptionsAreNavyArialOnScreen)
{
    TForm1 form(nullptr);
    form.Show();
    SetForegroundWindow(form.Handle());
    for (const TGroupBox* box : {&form.GroupBox1, &form.GroupBox2, &form.GroupBox3}) {
        SCOPED_TRACE(box->Name());
        const LOGFONTW lf = FontOf(box->Handle());
        EXPECT_STREQ(lf.lfFaceName, L"Arial");
        EXPECT_EQ(lf.lfHeight, S(form, -11));
        // The caption's band: the box's top rows, left of its first control's right edge.
        const Ink ink = InkOnScreen(box->Handle(), RECT{S(form, 6), 0, S(form, 100), S(form, 12)});
        EXPECT_GT(ink.navy, 20);
        EXPECT_EQ(ink.darkNotBlue, 0);
    }
}

TEST(MainWindow, EveryHelpLineFitsTheHelpPanel)
{
    TForm1 form(nullptr);
    form.Show();
    form.SpeedButton4Click();
    HWND memo = form.Memo1.Handle();
    RECT text{};
    SendMessageW(memo, EM_GETRECT, 0, reinterpret_cast<LPARAM>(&text));
    HDC dc = GetDC(memo);
    TEXTMETRICW tm{};
    {
        SelectObjectGuard font(dc, reinterpret_cast<HFONT>(SendMessageW(memo, WM_GETFONT, 0, 0)));
        GetTextMetricsW(dc, &tm);
        for (std::wstring line : HelpLines()) {
            while (!line.empty() && line.back() == L' ')
                line.pop_back();  // a trailing blank shows nothing
            SIZE size{};
            GetTextExtentPoint32W(dc, line.c_str(), static_cast<int>(line.size()), &size);
            EXPECT_LE(size.cx, text.right - text.left) << "cut at the right edge: " << WideToAnsi(line);
        }
    }
    ReleaseDC(memo, dc);
    EXPECT_LE(15 * tm.tmHeight, text.bottom - text.top);  // and no row below the bottom edge
}

TEST(MainWindow, HelpPanelShowsTheFifteenLinesAndCloses)
{
    TForm1 form(nullptr);
    form.Show();
    form.SpeedButton4Click();
    EXPECT_TRUE(IsWindowVisible(form.Panel1.Handle()));
    const RECT r = Bounds(form.Panel1);
    EXPECT_EQ(r.left, S(form, 144));
    EXPECT_EQ(r.top, S(form, 80));
    EXPECT_EQ(r.right - r.left, S(form, 457));
    EXPECT_EQ(r.bottom - r.top, S(form, 281));
    // It lies over the other controls.
    POINT inside{S(form, 144 + 200), S(form, 80 + 100)};
    ClientToScreen(form.Handle(), &inside);
    HWND top = WindowFromPoint(inside);
    EXPECT_TRUE(top == form.Panel1.Handle() || GetParent(top) == form.Panel1.Handle());

    const std::vector<std::wstring> expected = {
        L"Przeglądając katalogi możesz drukować lub zapisywać ich zawartość. Masz do ",
        L"dyspozycji kilka opcji ułatwiających dopasowanie wydruku lub zapisu informacji do ",
        L"własnych potrzeb.",
        L"1. Możesz wybrać okno do wydruku lub zapisu (katalogi lub pliki)",
        L"2. Przy długich katalogach możesz włączyć numerowanie wierszy.",
        L"3. Każdy katalog może byc poprzedzony wierszem nagłówka.",
        L"4. Po nagłówku możesz wstawić wiersz pusty.",
        L"5. Nie musisz drukować lub zapisywać całego katalogu, możesz to zrobić od podanego ",
        L"numeru.",
        L"6. Stosując tzw maskę plików, możesz drukować lub zapisywać tylko wybrany rodzaj ",
        L"plików.",
        L"",
        L"Jeżeli decydujesz się na zapis w pliku obrazu katalogu, podj nazwę pliku pod którą ",
        L"zapiszesz listę plików lub katalogów. Jeżeli wybierzesz nazwę już istniejącą, nastąpi ",
        L"DOPISANIE nowej listy do już istniejącej.",
    };
    EXPECT_EQ(form.Memo1.Lines(), expected);

    form.SpeedButton4Click();  // again: nothing changes
    EXPECT_TRUE(IsWindowVisible(form.Panel1.Handle()));
    form.SpeedButton5Click();
    EXPECT_FALSE(IsWindowVisible(form.Panel1.Handle()));
}

namespace {
std::vector<BYTE> g_opacities;
BOOL WINAPI RecordOpacity(HWND, COLORREF, BYTE alpha, DWORD flags)
{
    if (flags == LWA_ALPHA)
        g_opacities.push_back(alpha);
    return TRUE;
}

struct LayeredSeam {
    LayeredSeam()
    {
        saved = SetLayeredWindowAttributesPtr;
        SetLayeredWindowAttributesPtr = RecordOpacity;
        g_opacities.clear();
    }
    ~LayeredSeam() { SetLayeredWindowAttributesPtr = saved; }
    SetLayeredWindowAttributesProc saved;
};
}  // namespace

TEST(MainWindow, KoniecAnsweredNoLeavesEverythingAsItWas)
{
    LayeredSeam seam;
    TForm1 form(nullptr);
    form.Show();
    bool halted = false;
    Application().OnHalt = [&](int) { halted = true; };
    DialogDriver driver([](HWND dialog) { DialogDriver::Press(dialog, IDNO); });
    form.SpeedButton1Click();
    Application().OnHalt = nullptr;
    ASSERT_TRUE(driver.Done());
    EXPECT_EQ(driver.Caption(), L"Pytanie");
    EXPECT_EQ(driver.Text(), L"Koniec pracy ?");  // text only: no icon
    EXPECT_FALSE(halted);
    EXPECT_TRUE(g_opacities.empty());
    EXPECT_FALSE(GetWindowLongW(form.Handle(), GWL_EXSTYLE) & WS_EX_LAYERED);
    EXPECT_TRUE(IsWindowVisible(form.Handle()));
}

// "Koniec" with the question answered "Tak": the code the program would end with, -1 when it would not end.
static int KoniecAnsweredYes(TForm1& form)
{
    int exitCode = -1;
    Application().OnHalt = [&](int code) { exitCode = code; };
    DialogDriver driver([](HWND dialog) { DialogDriver::Press(dialog, IDYES); });
    try {
        form.SpeedButton1Click();
    } catch (const EAbort&) {
        // the halt hook returned; the program would have ended here
    }
    Application().OnHalt = nullptr;
    EXPECT_TRUE(driver.Done());
    return exitCode;
}

TEST(MainWindow, KoniecAnsweredYesFadesInFiftyStepsThenEnds)
{
    LayeredSeam seam;
    TForm1 form(nullptr);
    form.Show();
    const int exitCode = KoniecAnsweredYes(form);
    EXPECT_EQ(exitCode, 0);
    // What the window was given: fifty steps from opaque down to 10, each 5 below the one before.
    ASSERT_EQ(g_opacities.size(), 50u);
    EXPECT_EQ(g_opacities.front(), 255);
    EXPECT_EQ(g_opacities.back(), 10);
    for (size_t i = 1; i < g_opacities.size(); ++i)
        EXPECT_EQ(g_opacities[i - 1] - g_opacities[i], 5) << i;
    EXPECT_TRUE(GetWindowLongW(form.Handle(), GWL_EXSTYLE) & WS_EX_LAYERED);
}

TEST(MainWindow, FadeWithoutTheLayeredCallStillEnds)
{
    LayeredSeam seam;
    SetLayeredWindowAttributesPtr = nullptr;  // as where the platform lacks it
    TForm1 form(nullptr);
    form.Show();
    const int exitCode = KoniecAnsweredYes(form);
    EXPECT_EQ(exitCode, 0);  // the program ends all the same
    EXPECT_FALSE(GetWindowLongW(form.Handle(), GWL_EXSTYLE) & WS_EX_LAYERED);
}


TEST(MainWindow, ShortcutKeysReachTheFlatButtons)
{
    TForm1 form(nullptr);
    form.Show();
    form.naglowek.SetFocus();
    PressKey(form.naglowek.Handle(), VK_F1);
    EXPECT_TRUE(form.Panel1.Visible());
    PressKey(form.naglowek.Handle(), VK_ESCAPE);  // closes the help first
    EXPECT_FALSE(form.Panel1.Visible());
    {
        DialogDriver driver([](HWND dialog) { DialogDriver::Press(dialog, IDNO); });
        PressKey(form.naglowek.Handle(), VK_ESCAPE);  // then asks to leave
        EXPECT_TRUE(driver.Done());
        EXPECT_EQ(driver.Text(), L"Koniec pracy ?");
    }
    {
        DialogDriver driver([](HWND dialog) { DialogDriver::Press(dialog, IDCANCEL); });
        PressKey(form.naglowek.Handle(), 'S', true);  // the save dialog
        EXPECT_TRUE(driver.Done());
    }
    PressKey(form.naglowek.Handle(), 'S');  // without Ctrl it is typing, not a shortcut
    EXPECT_EQ(form.naglowek.Text(), "s");
}
