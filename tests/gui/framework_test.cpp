// The window framework under the real window manager: reflection of notifications to the child object,
// radio groups, the flat button's click rule, label sizing, inherited fonts and colours, the exception
// handler's message box, and that no exception escapes a window procedure.
#include <gtest/gtest.h>

#include <algorithm>
#include <map>
#include <memory>
#include <vector>

#include "dialog_driver.h"
#include "dialogs/save_dialog.h"
#include "file_dialog_typing.h"
#include "gui/application.h"
#include "gui/edit.h"
#include "gui/form.h"
#include "gui/group_box.h"
#include "gui/label.h"
#include "gui/radio_button.h"
#include "gui/speed_button.h"
#include "gui/timer.h"
#include "runtime/exceptions.h"

namespace {

class TestForm : public TForm {
public:
    TestForm() : TForm(nullptr)
    {
        SetClientSize(300, 200);
        SetColor(clWhite);
        box.SetBounds(10, 10, 150, 80);
        box.SetFont(TFont(L"Arial", -11, clNavy));
        box.SetParent(this);
        a.SetBounds(8, 20, 100, 17);
        a.SetCaption(L"a");
        a.SetParent(&box);
        b.SetBounds(8, 40, 100, 17);
        b.SetCaption(L"b");
        b.SetParent(&box);
        button.SetBounds(170, 10, 100, 22);
        button.SetCaption(L"Przycisk");
        button.SetParent(this);
        edit.SetBounds(170, 40, 100, 20);
        edit.SetParent(this);
        label.SetBounds(10, 120, 5, 5);
        label.SetParent(this);
        HandleNeeded();
    }
    TGroupBox box{this};
    TRadioButton a{this};
    TRadioButton b{this};
    TSpeedButton button{this};
    TEdit edit{this};
    TLabel label{this};
};

struct CapturedErrors {
    CapturedErrors()
    {
        Application().OnException = [this](const std::exception& e) { messages.push_back(e.what()); };
    }
    ~CapturedErrors() { Application().OnException = nullptr; }
    std::vector<std::string> messages;
};

LPARAM Point(int x, int y)
{
    return MAKELPARAM(x, y);
}

}  // namespace

TEST(Framework, ChildrenInheritFontAndColourUntilTheyGetTheirOwn)
{
    TestForm form;
    EXPECT_EQ(form.a.Font().Name(), L"Arial");
    EXPECT_EQ(form.a.Font().Color(), clNavy);
    EXPECT_EQ(form.box.Color(), clWhite);
    EXPECT_EQ(form.a.Color(), clWhite);
    form.a.SetFont(TFont(L"Arial", -12, clBlue));
    form.box.SetFont(TFont(L"Arial", -11, clMaroon));
    EXPECT_EQ(form.a.Font().Color(), clBlue);  // its own font stays
    EXPECT_EQ(form.b.Font().Color(), clMaroon);
}

TEST(Framework, NotificationsReachTheChildObjectThroughItsParent)
{
    TestForm form;
    int changes = 0;
    form.edit.OnChange = [&] { ++changes; };
    SendMessageW(form.edit.Handle(), WM_CHAR, 'x', 0);
    EXPECT_EQ(changes, 1);
    EXPECT_EQ(form.edit.Text(), "x");
    // The radio buttons sit in a group box: its WM_COMMAND must be reflected too.
    int clicks = 0;
    form.b.OnClick = [&] { ++clicks; };
    SendMessageW(form.b.Handle(), BM_CLICK, 0, 0);
    EXPECT_EQ(clicks, 1);
    EXPECT_TRUE(form.b.Checked());
    EXPECT_FALSE(form.a.Checked());
}

TEST(Framework, CheckingARadioButtonClearsTheOthersOfItsParent)
{
    TestForm form;
    form.a.SetChecked(true);
    form.b.SetChecked(true);
    EXPECT_FALSE(form.a.Checked());
    EXPECT_TRUE(form.b.Checked());
    EXPECT_TRUE(GetWindowLongW(form.a.Handle(), GWL_STYLE) & WS_GROUP);
    EXPECT_FALSE(GetWindowLongW(form.b.Handle(), GWL_STYLE) & WS_GROUP);
}

TEST(Framework, SpeedButtonClicksOnReleaseOverItOnly)
{
    TestForm form;
    int clicks = 0;
    form.button.OnClick = [&] { ++clicks; };
    HWND h = form.button.Handle();
    SendMessageW(h, WM_LBUTTONDOWN, MK_LBUTTON, Point(5, 5));
    EXPECT_EQ(clicks, 0);
    EXPECT_TRUE(form.button.DrawnPressed());
    SendMessageW(h, WM_LBUTTONUP, 0, Point(5, 5));
    EXPECT_EQ(clicks, 1);
    // Pressed, then released away from it: no click.
    SendMessageW(h, WM_LBUTTONDOWN, MK_LBUTTON, Point(5, 5));
    SendMessageW(h, WM_MOUSEMOVE, MK_LBUTTON, Point(500, 5));
    EXPECT_FALSE(form.button.DrawnPressed());
    SendMessageW(h, WM_LBUTTONUP, 0, Point(500, 5));
    EXPECT_EQ(clicks, 1);
    // It never takes the focus from the edit.
    form.Show();
    form.edit.SetFocus();
    SendMessageW(h, WM_LBUTTONDOWN, MK_LBUTTON, Point(5, 5));
    SendMessageW(h, WM_LBUTTONUP, 0, Point(5, 5));
    EXPECT_TRUE(form.edit.Focused());
}

TEST(Framework, LabelTakesTheWidthOfItsText)
{
    TestForm form;
    form.label.SetFont(TFont(L"MS Sans Serif", -11, clGray, fsItalic));
    form.label.SetCaption(L"z możliwością zapisu do pliku");
    const RECT wide = form.label.BoundsInPixels();
    static_cast<TWinControl&>(form.label).SetCaption(L"z");  // through the base too
    const RECT narrow = form.label.BoundsInPixels();
    EXPECT_GT(wide.right - wide.left, 100);
    EXPECT_LT(narrow.right - narrow.left, 30);
    EXPECT_EQ(form.label.Caption(), L"z");
}

// The rightmost column a text's ink reaches when drawn from x 0 with the label's font.
static int InkRight(const TLabel& label)
{
    const std::wstring text = label.Caption();
    HDC screen = GetDC(label.Handle());
    HDC mem = CreateCompatibleDC(screen);
    HBITMAP bitmap = CreateCompatibleBitmap(screen, 400, 40);
    ReleaseDC(label.Handle(), screen);
    HGDIOBJ oldBitmap = SelectObject(mem, bitmap);
    RECT all{0, 0, 400, 40};
    FillRect(mem, &all, static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH)));
    HGDIOBJ oldFont = SelectObject(mem, reinterpret_cast<HFONT>(SendMessageW(label.Handle(), WM_GETFONT, 0, 0)));
    DrawTextW(mem, text.c_str(), -1, &all, DT_SINGLELINE | DT_NOPREFIX);
    int right = -1;
    for (int y = 0; y < 40; ++y)
        for (int x = 0; x < 400; ++x)
            if ((GetPixel(mem, x, y) & 0xFFFFFF) != 0xFFFFFF && x > right)
                right = x;
    SelectObject(mem, oldFont);
    SelectObject(mem, oldBitmap);
    DeleteObject(bitmap);
    DeleteDC(mem);
    return right;
}

TEST(Framework, LabelIsWideEnoughForTheInkOfItsText)
{
    // Under Wine these draw a few pixels wider than their measured advances.
    TestForm form;
    form.label.SetFont(TFont(L"MS Sans Serif", -11, clGray));
    const wchar_t* texts[] = {L"www.example.org", L"Zespół Orvand", L"orvand@example.org"};
    for (int i = 0; i < 3; ++i) {
        SCOPED_TRACE(i);
        form.label.SetCaption(texts[i]);
        const RECT r = form.label.BoundsInPixels();
        EXPECT_GT(r.right - r.left, InkRight(form.label));
        // A label whose text is known before its window is made is made at that size, measured as its own
        // window draws it.
        TLabel early(nullptr);
        early.SetFont(TFont(L"MS Sans Serif", -11, clGray));
        early.SetCaption(texts[i]);
        early.SetBounds(10, 150, 5, 5);
        early.SetParent(&form);
        const RECT e = early.BoundsInPixels();
        EXPECT_EQ(e.right - e.left, r.right - r.left);
        HDC dc = GetDC(early.Handle());
        HGDIOBJ old = SelectObject(dc, reinterpret_cast<HFONT>(SendMessageW(early.Handle(), WM_GETFONT, 0, 0)));
        RECT text{};
        DrawTextW(dc, texts[i], -1, &text, DT_CALCRECT | DT_SINGLELINE | DT_NOPREFIX);
        SelectObject(dc, old);
        ReleaseDC(early.Handle(), dc);
        EXPECT_EQ(e.bottom - e.top, text.bottom);
        EXPECT_GE(e.right - e.left, text.right);
    }
}

TEST(Framework, ExceptionInAnEventIsHandedToTheApplicationNotThroughThePlatform)
{
    TestForm form;
    CapturedErrors errors;
    form.button.OnClick = [] { throw EInOutError(5); };
    SendMessageW(form.button.Handle(), WM_LBUTTONDOWN, MK_LBUTTON, Point(5, 5));
    SendMessageW(form.button.Handle(), WM_LBUTTONUP, 0, Point(5, 5));
    ASSERT_EQ(errors.messages.size(), 1u);
    EXPECT_EQ(errors.messages[0], "File access denied");
    // A silent abort is not shown.
    form.button.OnClick = [] { throw EAbort(); };
    SendMessageW(form.button.Handle(), WM_LBUTTONDOWN, MK_LBUTTON, Point(5, 5));
    SendMessageW(form.button.Handle(), WM_LBUTTONUP, 0, Point(5, 5));
    EXPECT_EQ(errors.messages.size(), 1u);
}

TEST(Framework, DefaultHandlerShowsTheMessageWithTitleAndFullStop)
{
    TestForm form;
    form.Show();
    DialogDriver driver([](HWND dialog) { DialogDriver::Press(dialog, IDOK); });
    Application().HandleException(EInOutError(32));
    ASSERT_TRUE(driver.Done());
    EXPECT_EQ(driver.Caption(), L"test_gui");  // test_gui.exe: the first letter as it is, the rest lower-cased
    EXPECT_NE(driver.Text().find(L"I/O error 32."), std::wstring::npos);
}

TEST(Framework, CreationHandlerFailureIsShownAndTheWindowIsMadeAllTheSame)
{
    class FailingForm : public TForm {
    public:
        FailingForm() : TForm(nullptr)
        {
            HandleNeeded();
            DoCreate();
        }

    protected:
        void FormCreate() override
        {
            throw Exception("Error setting path: \"X\"");
        }
    };
    CapturedErrors errors;
    FailingForm form;
    EXPECT_TRUE(form.HandleAllocated());
    ASSERT_EQ(errors.messages.size(), 1u);
    EXPECT_EQ(errors.messages[0], "Error setting path: \"X\"");
}

TEST(Framework, TimerRunsOnlyWithAHandlerAndTicksThroughTheLoop)
{
    TTimer timer(nullptr);
    timer.SetInterval(20);
    EXPECT_FALSE(timer.Running());
    int ticks = 0;
    timer.SetOnTimer([&] { ++ticks; });
    EXPECT_TRUE(timer.Running());
    const DWORD start = GetTickCount();
    while (ticks < 3 && GetTickCount() - start < 3000) {
        Application().ProcessMessages();
        Sleep(5);
    }
    EXPECT_GE(ticks, 3);
    timer.SetEnabled(false);
    EXPECT_FALSE(timer.Running());
}

namespace {

constexpr wchar_t kRecorderClass[] = L"OrvandTestRecorder";
std::vector<UINT> g_recorded;
std::map<HWND, WNDPROC> g_handedOnTo;
std::map<HWND, std::vector<UINT>> g_laterSaw;

// Stands for a standard control: its own procedure, which has to see its own destruction.
LRESULT CALLBACK RecorderProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam)
{
    g_recorded.push_back(msg);
    return DefWindowProcW(hwnd, msg, wParam, lParam);
}

// Someone else's subclass, put on after ours, handing on to what it found.
LRESULT CALLBACK LaterSubclassProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam)
{
    g_laterSaw[hwnd].push_back(msg);
    return CallWindowProcW(g_handedOnTo.at(hwnd), hwnd, msg, wParam, lParam);
}

void SubclassLater(HWND hwnd)
{
    g_handedOnTo[hwnd] = reinterpret_cast<WNDPROC>(
        SetWindowLongPtrW(hwnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&LaterSubclassProc)));
}

bool Saw(HWND hwnd, UINT msg)
{
    const std::vector<UINT>& seen = g_laterSaw[hwnd];
    return std::find(seen.begin(), seen.end(), msg) != seen.end();
}

class RecorderControl : public TWinControl {
public:
    explicit RecorderControl(TComponent* owner) : TWinControl(owner) {}

protected:
    void CreateParams(TCreateParams& params) override
    {
        TWinControl::CreateParams(params);
        params.className = kRecorderClass;
    }
};

}  // namespace

TEST(Framework, AControlSubclassedAgainAfterOursStillHandlesItsOwnDestruction)
{
    WNDCLASSW wc{};
    wc.lpfnWndProc = RecorderProc;
    wc.hInstance = GetModuleHandleW(nullptr);
    wc.lpszClassName = kRecorderClass;
    RegisterClassW(&wc);
    TestForm form;
    auto control = std::make_unique<RecorderControl>(&form);
    control->SetBounds(10, 150, 50, 20);
    control->SetParent(&form);
    const HWND hwnd = control->Handle();
    ASSERT_TRUE(IsWindow(hwnd));
    EXPECT_EQ(TWinControl::FromHandle(hwnd), control.get());
    SubclassLater(hwnd);
    g_recorded.clear();
    SendMessageW(hwnd, WM_USER + 5, 0, 0);
    control.reset();  // our object goes first; the window is destroyed through the whole chain
    EXPECT_FALSE(IsWindow(hwnd));
    const auto saw = [](UINT msg) { return std::find(g_recorded.begin(), g_recorded.end(), msg) != g_recorded.end(); };
    EXPECT_TRUE(saw(WM_USER + 5));
    EXPECT_TRUE(saw(WM_DESTROY));
    EXPECT_TRUE(saw(WM_NCDESTROY));
}

// The dialog's windows and the application's window, each taken over while the dialog runs, with another
// procedure put on each after ours.
TEST(Framework, WindowsOfADialogSubclassedAgainAfterOursKeepTheWholeChain)
{
    TSaveDialog dialog(nullptr);
    dialog.SetHelpContext(7);
    std::vector<int> helped;
    HelpContextHandler = [&](int context) { helped.push_back(context); };
    const HWND app = Application().Handle();
    HWND inner = nullptr, explorer = nullptr;
    dialog.OnShow = [&] {
        inner = dialog.DialogWindow();
        explorer = GetParent(inner);
        for (HWND hwnd : {inner, explorer, app})
            SubclassLater(hwnd);
    };
    bool closed = false;
    dialog.OnClose = [&] { closed = true; };
    {
        DialogWatchdog watchdog;
        DialogDriver driver([&](HWND window) {
            SendMessageW(app, HelpMessageId(), 0, 0);  // the later procedure hands it on to the dialog's hook
            CancelDialog(window);
        });
        EXPECT_FALSE(dialog.Execute());
        ASSERT_TRUE(driver.Done());
        EXPECT_FALSE(watchdog.Fired());
    }
    // Cancelled and destroyed through the whole chain, down to the dialog's own procedures.
    ASSERT_NE(inner, nullptr);
    ASSERT_NE(inner, explorer);
    EXPECT_TRUE(closed);
    EXPECT_EQ(dialog.DialogWindow(), nullptr);
    for (HWND hwnd : {inner, explorer}) {
        EXPECT_FALSE(IsWindow(hwnd));
        EXPECT_TRUE(Saw(hwnd, WM_DESTROY));
        EXPECT_TRUE(Saw(hwnd, WM_NCDESTROY));
    }
    // The application's window outlives the dialog: the later procedure still sees its messages, the
    // window still answers as it did, and the help message no longer reaches the dialog.
    EXPECT_EQ(helped, std::vector<int>{7});
    g_laterSaw[app].clear();
    SendMessageW(app, HelpMessageId(), 0, 0);
    EXPECT_TRUE(Saw(app, HelpMessageId()));
    EXPECT_EQ(helped, std::vector<int>{7});
    wchar_t title[256] = {};
    InternalGetWindowText(app, title, 256);
    SetWindowTextW(app, L"chain");  // stored by the window's own procedure at the end of the chain
    wchar_t stored[16] = {};
    InternalGetWindowText(app, stored, 16);
    EXPECT_STREQ(stored, L"chain");
    SetWindowTextW(app, title);

    // The next dialog takes the window over again, whatever stands in its chain.
    SetWindowLongPtrW(app, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(g_handedOnTo.at(app)));
    dialog.OnShow = nullptr;
    DialogDriver again([&](HWND window) {
        SendMessageW(app, HelpMessageId(), 0, 0);
        CancelDialog(window);
    });
    EXPECT_FALSE(dialog.Execute());
    EXPECT_EQ(helped, (std::vector<int>{7, 7}));
    HelpContextHandler = nullptr;
}

TEST(Framework, AWindowGivesTheFocusBackToItsControlAfterAMessageBox)
{
    TestForm form;
    form.Show();
    SetForegroundWindow(form.Handle());
    form.edit.SetFocus();
    ASSERT_EQ(GetFocus(), form.edit.Handle());
    DialogDriver driver([](HWND dialog) { DialogDriver::Press(dialog, IDOK); });
    Application().MessageBox(L"Komunikat", L"Pytanie", MB_OK);
    ASSERT_TRUE(driver.Done());
    EXPECT_EQ(GetFocus(), form.edit.Handle());
}
