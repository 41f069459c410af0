// The spin edit in a real window: value and text, keys, paste and cut, focus, layout, auto-repeat.
#include <gtest/gtest.h>

#include "gui/application.h"
#include "gui/form.h"
#include "widgets/spin_edit.h"

namespace {

class Host : public TForm {
public:
    Host() : TForm(nullptr)
    {
        SetClientSize(300, 120);
        other.SetBounds(10, 60, 80, 20);
        other.SetParent(this);
        spin.SetBounds(10, 10, 97, 24);
        spin.SetFont(TFont(L"Arial", -12, clBlue));
        spin.SetParent(this);
        HandleNeeded();
        Show();
        spin.OnChange = [this] { ++changes; };
    }
    TEdit other{this};
    TSpinEdit spin{this};
    int changes = 0;
};

void Type(TWinControl& c, const char* text)
{
    for (const char* p = text; *p; ++p)
        SendMessageW(c.Handle(), WM_CHAR, static_cast<unsigned char>(*p), 0);
}

void Key(TWinControl& c, WPARAM vk)
{
    SendMessageW(c.Handle(), WM_KEYDOWN, vk, 0);
}

void PutOnClipboard(const wchar_t* text)
{
    OpenClipboard(nullptr);
    EmptyClipboard();
    const size_t bytes = (wcslen(text) + 1) * sizeof(wchar_t);
    HGLOBAL mem = GlobalAlloc(GMEM_MOVEABLE, bytes);
    memcpy(GlobalLock(mem), text, bytes);
    GlobalUnlock(mem);
    SetClipboardData(CF_UNICODETEXT, mem);
    CloseClipboard();
}

}  // namespace

TEST(SpinEdit, ValueTextAndChangeEvent)
{
    Host h;
    EXPECT_EQ(h.spin.Text(), "0");
    h.spin.SetValue(-5);  // no limits
    EXPECT_EQ(h.spin.Text(), "-5");
    EXPECT_EQ(h.changes, 1);
    h.spin.SetValue(-5);  // same text: no event
    EXPECT_EQ(h.changes, 1);
    h.spin.SetMinValue(1);
    h.spin.SetMaxValue(10);
    h.spin.SetValue(20);
    EXPECT_EQ(h.spin.Text(), "10");
    h.spin.SetValue(-3);
    EXPECT_EQ(h.spin.Text(), "1");
    // Text that is no number reads as MinValue; the text stays.
    h.spin.SetText("");
    EXPECT_EQ(h.spin.Value(), 1);
    EXPECT_EQ(h.spin.Text(), "");
}

TEST(SpinEdit, ArrowKeysAndButtonsStepWithWrapAround)
{
    Host h;
    Key(h.spin, VK_DOWN);
    EXPECT_EQ(h.spin.Text(), "-1");
    Key(h.spin, VK_UP);
    Key(h.spin, VK_UP);
    EXPECT_EQ(h.spin.Text(), "1");
    h.spin.SetValue(2147483647);
    h.spin.StepUp();
    EXPECT_EQ(h.spin.Text(), "-2147483648");
    h.spin.SetIncrement(5);
    h.spin.SetValue(0);
    h.spin.SpinButtons().DownPart().Click();
    EXPECT_EQ(h.spin.Value(), -5);
}

TEST(SpinEdit, ReadOnlyStepsChangeNothing)
{
    Host h;
    h.spin.SetReadOnly(true);
    h.spin.StepUp();
    Key(h.spin, VK_UP);
    EXPECT_EQ(h.spin.Text(), "0");
    EXPECT_EQ(h.changes, 0);
}

TEST(SpinEdit, TypedCharactersAreFiltered)
{
    Host h;
    h.spin.SetText("");
    Type(h.spin, "1a2 \r-");
    EXPECT_EQ(h.spin.Text(), "12-");  // letters, blanks and Enter refused
    EXPECT_EQ(h.spin.Value(), 0);     // not a number: MinValue
    h.spin.SetText("");
    Type(h.spin, "1,5");  // the Polish decimal separator may be typed
    EXPECT_EQ(h.spin.Text(), "1,5");
    EXPECT_EQ(h.spin.Value(), 0);
    h.spin.SetEditorEnabled(false);
    h.spin.SetText("7");
    SendMessageW(h.spin.Handle(), EM_SETSEL, 1, 1);
    Type(h.spin, "9\b");
    EXPECT_EQ(h.spin.Text(), "7");
    Key(h.spin, VK_UP);  // the arrows still step
    EXPECT_EQ(h.spin.Text(), "8");
}

TEST(SpinEdit, PasteAndCutOnlyWhenTheEditorIsEnabledAndWritable)
{
    Host h;
    PutOnClipboard(L"34");
    h.spin.SetEditorEnabled(false);
    h.spin.SelectAll();
    SendMessageW(h.spin.Handle(), WM_PASTE, 0, 0);
    SendMessageW(h.spin.Handle(), WM_CUT, 0, 0);
    EXPECT_EQ(h.spin.Text(), "0");
    h.spin.SetEditorEnabled(true);
    h.spin.SetReadOnly(true);
    SendMessageW(h.spin.Handle(), WM_PASTE, 0, 0);
    EXPECT_EQ(h.spin.Text(), "0");
    h.spin.SetReadOnly(false);
    h.spin.SelectAll();
    SendMessageW(h.spin.Handle(), WM_PASTE, 0, 0);
    EXPECT_EQ(h.spin.Text(), "34");
}

TEST(SpinEdit, FocusSelectsAllAndLeavingClampsTheText)
{
    Host h;
    h.spin.SetValue(123);
    h.other.SetFocus();
    h.spin.SetFocus();
    DWORD start = 0, end = 0;
    SendMessageW(h.spin.Handle(), EM_GETSEL, reinterpret_cast<WPARAM>(&start), reinterpret_cast<LPARAM>(&end));
    EXPECT_EQ(start, 0u);
    EXPECT_EQ(end, 3u);
    h.spin.SetMinValue(0);
    h.spin.SetMaxValue(10);
    h.spin.SetText("15");
    h.other.SetFocus();
    EXPECT_EQ(h.spin.Text(), "10");
    // An empty text reads MinValue, which passes the clamp: it is left empty.
    h.spin.SetFocus();
    h.spin.SetText("");
    h.other.SetFocus();
    EXPECT_EQ(h.spin.Text(), "");
}

TEST(SpinEdit, ButtonPairAtTheRightEdgeSharingOnePixelRow)
{
    Host h;
    TSpinButton& pair = h.spin.SpinButtons();
    EXPECT_EQ(pair.Width(), 15);
    EXPECT_EQ(pair.Left(), 97 - 15 - 5);
    EXPECT_EQ(pair.Top(), 0);
    EXPECT_EQ(pair.Height(), 24 - 5);
    const int up = pair.UpPart().Height();
    EXPECT_EQ(up, 19 / 2);
    EXPECT_EQ(pair.DownPart().Top(), up - 1);
    EXPECT_EQ(pair.DownPart().Height(), 19 - up + 1);
    // The text stops short of the buttons.
    RECT text;
    SendMessageW(h.spin.Handle(), EM_GETRECT, 0, reinterpret_cast<LPARAM>(&text));
    RECT client;
    GetClientRect(h.spin.Handle(), &client);
    EXPECT_LE(text.right, client.right - h.spin.Scale(15) - 2);
    // Too low for its font: raised to the least height.
    h.spin.SetHeight(5);
    EXPECT_EQ(h.spin.Scale(h.spin.Height()), h.spin.MinimumHeight());
}

namespace {
// Dark pixels on the screen where the button pair is: its arrows and edges, as the user sees them.
int DarkPixelsOnScreen(const TWinControl& c)
{
    Application().ProcessMessages();
    RECT r;
    GetWindowRect(c.Handle(), &r);
    HDC screen = GetDC(nullptr);
    int dark = 0;
    for (int y = r.top; y < r.bottom; ++y)
        for (int x = r.left; x < r.right; ++x) {
            const COLORREF p = GetPixel(screen, x, y);
            if (GetRValue(p) + GetGValue(p) + GetBValue(p) < 3 * 96)
                ++dark;
        }
    ReleaseDC(nullptr, screen);
    return dark;
}
}  // namespace

TEST(SpinEdit, ArrowsStayDrawnWhenTheFocusComesAndGoes)
{
    Host h;
    SetForegroundWindow(h.Handle());
    h.other.SetFocus();
    const int shown = DarkPixelsOnScreen(h.spin.SpinButtons());
    ASSERT_GT(shown, 10);  // two arrows of 9 x 6 pixels at least
    h.spin.SetFocus();
    EXPECT_EQ(DarkPixelsOnScreen(h.spin.SpinButtons()), shown);
    h.other.SetFocus();
    EXPECT_EQ(DarkPixelsOnScreen(h.spin.SpinButtons()), shown);
}

TEST(SpinEdit, HeldButtonRepeatsAfter400MsThenEvery100AndOnceMoreOnRelease)
{
    Host h;
    TTimerSpeedButton& up = h.spin.SpinButtons().UpPart();
    HWND part = up.Handle();
    // A short press steps once, on release.
    SendMessageW(part, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(2, 2));
    ASSERT_NE(up.AutoRepeatTimer(), nullptr);
    EXPECT_TRUE(up.AutoRepeatTimer()->Running());
    EXPECT_EQ(up.AutoRepeatTimer()->Interval(), TTimerSpeedButton::FirstRepeatDelay);
    EXPECT_EQ(h.spin.Text(), "0");
    SendMessageW(part, WM_LBUTTONUP, 0, MAKELPARAM(2, 2));
    EXPECT_EQ(h.spin.Text(), "1");
    EXPECT_FALSE(up.AutoRepeatTimer()->Running());
    EXPECT_TRUE(h.spin.Focused());  // pressing a button focuses the edit

    // Held for one second: expiries at 400, 500, ... 1000 ms step seven times, the release once more.
    SendMessageW(part, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(2, 2));
    EXPECT_EQ(up.AutoRepeatTimer()->Interval(), TTimerSpeedButton::FirstRepeatDelay);
    for (int i = 0; i < 7; ++i) {
        up.AutoRepeatTimer()->Tick();
        EXPECT_EQ(up.AutoRepeatTimer()->Interval(), TTimerSpeedButton::RepeatInterval);
    }
    EXPECT_EQ(h.spin.Text(), "8");
    SendMessageW(part, WM_LBUTTONUP, 0, MAKELPARAM(2, 2));
    EXPECT_EQ(h.spin.Text(), "9");

    // Held, but the pointer moved off the part: the timer steps nothing and the release neither.
    SendMessageW(part, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(2, 2));
    SendMessageW(part, WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(200, 200));
    up.AutoRepeatTimer()->Tick();
    SendMessageW(part, WM_LBUTTONUP, 0, MAKELPARAM(200, 200));
    EXPECT_EQ(h.spin.Text(), "9");
}

TEST(SpinEdit, TabMovesOnAndEnterComesToTheEdit)
{
    Host h;
    MSG tab{h.spin.Handle(), WM_KEYDOWN, VK_TAB, 0};
    const LRESULT tabCode = SendMessageW(h.spin.Handle(), WM_GETDLGCODE, VK_TAB, reinterpret_cast<LPARAM>(&tab));
    EXPECT_FALSE(tabCode & (DLGC_WANTALLKEYS | DLGC_WANTTAB | DLGC_WANTMESSAGE));
    MSG enter{h.spin.Handle(), WM_KEYDOWN, VK_RETURN, 0};
    const LRESULT enterCode =
        SendMessageW(h.spin.Handle(), WM_GETDLGCODE, VK_RETURN, reinterpret_cast<LPARAM>(&enter));
    EXPECT_TRUE(enterCode & DLGC_WANTMESSAGE);
}

TEST(SpinEdit, AHeldButtonThatLosesTheMouseStopsRepeating)
{
    Host h;
    TTimerSpeedButton& up = h.spin.SpinButtons().UpPart();
    SendMessageW(up.Handle(), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(2, 2));
    ASSERT_TRUE(up.AutoRepeatTimer()->Running());
    // Another window takes the mouse (a message box, a window of another program): the press is over.
    SetCapture(h.other.Handle());
    EXPECT_FALSE(up.AutoRepeatTimer()->Running());
    EXPECT_FALSE(up.DrawnPressed());
    ReleaseCapture();
    SendMessageW(up.Handle(), WM_LBUTTONUP, 0, MAKELPARAM(2, 2));
    EXPECT_EQ(h.spin.Text(), "0");  // no step: not while lost, not at the release
}
