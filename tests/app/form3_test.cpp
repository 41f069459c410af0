// The about window as the user meets it: its card, the clock that runs from the start, showing it from
// the main window's labels and closing it, and what its two buttons hand to the shell.
#include <gtest/gtest.h>

#include <windows.h>

#include <cstdlib>
#include <set>
#include <string>

#include "app/form1.h"
#include "app/form3.h"
#include "gui/application.h"
#include "runtime/ansi.h"
#include "runtime/locale_time.h"
#include "pump.h"
#include "temp_dir.h"

namespace {

std::wstring WindowText(HWND h)
{
    wchar_t buf[256] = {};
    GetWindowTextW(h, buf, 256);
    return buf;
}

// The time as the clock shows it, now or up to one second ago.
bool IsCurrentTime(const std::wstring& shown)
{
    SYSTEMTIME now;
    GetLocalTime(&now);
    if (shown == AnsiToWide(LongTimeText(now)))
        return true;
    FILETIME ft;
    SystemTimeToFileTime(&now, &ft);
    ULARGE_INTEGER t{{ft.dwLowDateTime, ft.dwHighDateTime}};
    t.QuadPart -= 10000000;  // one second
    ft = {t.LowPart, t.HighPart};
    SYSTEMTIME before;
    FileTimeToSystemTime(&ft, &before);
    return shown == AnsiToWide(LongTimeText(before));
}

// The program's about window for one test: the global the main window's labels show.
class AboutWindow {
public:
    AboutWindow() { form3 = &form; }
    ~AboutWindow() { form3 = nullptr; }
    AboutWindow(const AboutWindow&) = delete;
    AboutWindow& operator=(const AboutWindow&) = delete;
    Tform3 form{nullptr};
};

bool IsAbove(HWND upper, HWND lower)
{
    for (HWND h = GetWindow(upper, GW_HWNDNEXT); h; h = GetWindow(h, GW_HWNDNEXT))
        if (h == lower)
            return true;
    return false;
}

std::set<HWND> VisibleWindowsOfThisProcess()
{
    std::set<HWND> found;
    EnumWindows(
        [](HWND h, LPARAM p) -> BOOL {
            DWORD pid = 0;
            GetWindowThreadProcessId(h, &pid);
            if (pid == GetCurrentProcessId() && IsWindowVisible(h))
                reinterpret_cast<std::set<HWND>*>(p)->insert(h);
            return TRUE;
        },
        reinterpret_cast<LPARAM>(&found));
    return found;
}

// The web and mail schemes as the test prefix has them, for one test: the prefix's own handlers are set
// aside (and put back at the end, or at the next run after a crash), and ours may be registered instead.
// Wine reads the classes of the machine only, so both go there.
class SchemeHandlers {
public:
    SchemeHandlers()
    {
        for (const wchar_t* scheme : kSchemes) {
            Restore(scheme, false);  // what a crashed run left set aside
            HKEY original = nullptr;
            if (RegOpenKeyExW(HKEY_LOCAL_MACHINE, ClassKey(scheme).c_str(), 0, KEY_READ, &original) != ERROR_SUCCESS)
                continue;
            HKEY saved = nullptr;
            RegCreateKeyExW(HKEY_LOCAL_MACHINE, SavedKey(scheme).c_str(), 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &saved,
                            nullptr);
            const LONG copied = RegCopyTreeW(original, nullptr, saved);
            RegCloseKey(saved);
            RegCloseKey(original);
            EXPECT_EQ(copied, ERROR_SUCCESS);
            if (copied == ERROR_SUCCESS) {
                EXPECT_EQ(RegDeleteTreeW(HKEY_LOCAL_MACHINE, ClassKey(scheme).c_str()), ERROR_SUCCESS);
            }
        }
    }
    ~SchemeHandlers()
    {
        for (const wchar_t* scheme : kSchemes)
            Restore(scheme, true);
    }
    SchemeHandlers(const SchemeHandlers&) = delete;
    SchemeHandlers& operator=(const SchemeHandlers&) = delete;

    // Registers the stand-in program for both schemes: it writes what it is handed to the file.
    void RegisterHandler(const std::string& outFile)
    {
        wchar_t self[MAX_PATH];
        GetModuleFileNameW(nullptr, self, MAX_PATH);
        std::wstring exe = self;
        exe = exe.substr(0, exe.find_last_of(L'\\') + 1) + L"url_handler.exe";
        ASSERT_NE(GetFileAttributesW(exe.c_str()), INVALID_FILE_ATTRIBUTES) << "url_handler.exe is not built";
        const std::wstring command = L"\"" + exe + L"\" \"" + AnsiToWide(outFile) + L"\" \"%1\"";
        for (const wchar_t* scheme : kSchemes) {
            HKEY key = nullptr;
            ASSERT_EQ(RegCreateKeyExW(HKEY_LOCAL_MACHINE, ClassKey(scheme).c_str(), 0, nullptr, 0, KEY_ALL_ACCESS,
                                      nullptr, &key, nullptr),
                      ERROR_SUCCESS);
            RegSetValueExW(key, L"URL Protocol", 0, REG_SZ, reinterpret_cast<const BYTE*>(L""), sizeof(wchar_t));
            RegCloseKey(key);
            ASSERT_EQ(RegCreateKeyExW(HKEY_LOCAL_MACHINE, (ClassKey(scheme) + L"\\shell\\open\\command").c_str(), 0,
                                      nullptr, 0, KEY_ALL_ACCESS, nullptr, &key, nullptr),
                      ERROR_SUCCESS);
            RegSetValueExW(key, nullptr, 0, REG_SZ, reinterpret_cast<const BYTE*>(command.c_str()),
                           static_cast<DWORD>((command.size() + 1) * sizeof(wchar_t)));
            RegCloseKey(key);
        }
    }

private:
    static constexpr const wchar_t* kSchemes[] = {L"http", L"mailto"};

    static std::wstring ClassKey(const wchar_t* scheme) { return std::wstring(L"Software\\Classes\\") + scheme; }
    static std::wstring SavedKey(const wchar_t* scheme)
    {
        return std::wstring(L"Software\\OrvandTestSetAside\\") + scheme;
    }

    // Puts the prefix's own handler back in place of ours when one was set aside; with ours set, ours
    // goes in any case.
    static void Restore(const wchar_t* scheme, bool oursSet)
    {
        HKEY saved = nullptr;
        if (RegOpenKeyExW(HKEY_LOCAL_MACHINE, SavedKey(scheme).c_str(), 0, KEY_READ, &saved) != ERROR_SUCCESS) {
            if (oursSet)
                RegDeleteTreeW(HKEY_LOCAL_MACHINE, ClassKey(scheme).c_str());
            return;
        }
        RegDeleteTreeW(HKEY_LOCAL_MACHINE, ClassKey(scheme).c_str());
        HKEY original = nullptr;
        RegCreateKeyExW(HKEY_LOCAL_MACHINE, ClassKey(scheme).c_str(), 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &original,
                        nullptr);
        const LONG copied = RegCopyTreeW(saved, nullptr, original);
        RegCloseKey(original);
        RegCloseKey(saved);
        if (copied == ERROR_SUCCESS)
            RegDeleteTreeW(HKEY_LOCAL_MACHINE, SavedKey(scheme).c_str());
    }
};

}  // namespace

TEST(AboutWindow, FrameCardAndButtons)
{
    Tform3 form(nullptr);
    HWND h = form.Handle();
    ASSERT_TRUE(h);
    EXPECT_FALSE(IsWindowVisible(h));  // made hidden
    EXPECT_EQ(WindowText(h), L"");
    const LONG style = GetWindowLongW(h, GWL_STYLE);
    EXPECT_FALSE(style & WS_SYSMENU);  // no close box: "Zamknij okno" is the only way out
    EXPECT_FALSE(style & (WS_MINIMIZEBOX | WS_MAXIMIZEBOX | WS_THICKFRAME));
    RECT client;
    GetClientRect(h, &client);
    EXPECT_EQ(client.right, form.Scale(317));
    EXPECT_EQ(client.bottom, form.Scale(175));
    EXPECT_EQ(form.Color(), RGB(245, 245, 245));
    EXPECT_EQ(form.Font().Name(), L"System");
    EXPECT_EQ(form.Font().Height(), -13);

    struct Expect {
        const TWinControl& c;
        const TWinControl& parent;
        int left, top, width, height;
    };
    const Expect placed[] = {
        {form.Panel2, form, 12, 8, 297, 113},         {form.Bevel1, form.Panel2, 196, 4, 93, 101},
        {form.Image1, form.Panel2, 200, 8, 85, 93},   {form.SpeedButton1, form, 12, 128, 177, 22},
        {form.SpeedButton2, form, 12, 148, 177, 22},  {form.SpeedButton3, form, 200, 148, 109, 22},
    };
    for (const Expect& e : placed) {
        SCOPED_TRACE(e.c.Name());
        EXPECT_EQ(e.c.Parent(), &e.parent);
        const RECT r = e.c.BoundsInPixels();
        EXPECT_EQ(r.left, form.Scale(e.left));
        EXPECT_EQ(r.top, form.Scale(e.top));
        EXPECT_EQ(r.right - r.left, form.Scale(e.width));
        EXPECT_EQ(r.bottom - r.top, form.Scale(e.height));
    }
    EXPECT_EQ(form.Panel2.Color(), clWhite);
    EXPECT_EQ(form.Panel2.BevelInner(), TPanelBevel::bvLowered);
    // The labels of the card: the program's own team and made-up details, the addresses reserved ones.
    EXPECT_EQ(WindowText(form.Label1.Handle()), L"Zespół Orvand");
    EXPECT_EQ(WindowText(form.Label4.Handle()), L"www.example.org");
    EXPECT_EQ(WindowText(form.Label5.Handle()), L"orvand@example.org");
    for (const TLabel* l : {&form.Label1, &form.Label2, &form.Label3, &form.Label6, &form.Label4, &form.Label5}) {
        SCOPED_TRACE(l->Name());
        EXPECT_EQ(l->Parent(), &form.Panel2);
        EXPECT_FALSE(WindowText(l->Handle()).empty());
        EXPECT_EQ(l->Font().Color(), l == &form.Label4 || l == &form.Label5 ? clGray : clBlack);
    }

    // The picture: libjpeg's bitmap of the stored JPEG, stretched to the control above its frame.
    EXPECT_EQ(form.Image1.Bitmap().Width(), 255);
    EXPECT_EQ(form.Image1.Bitmap().Height(), 279);
    EXPECT_TRUE(form.Image1.Stretch());
    EXPECT_TRUE(IsAbove(form.Image1.Handle(), form.Bevel1.Handle()));

    const TSpeedButton* buttons[] = {&form.SpeedButton1, &form.SpeedButton2, &form.SpeedButton3};
    const wchar_t* captions[] = {L"Odwiedź witrynę www autora", L"Wyślij pocztę", L"Zamknij okno"};
    for (int i = 0; i < 3; ++i) {
        SCOPED_TRACE(i);
        EXPECT_EQ(WindowText(buttons[i]->Handle()), captions[i]);
        EXPECT_FALSE(buttons[i]->Glyph().Empty());
        EXPECT_EQ(buttons[i]->Font().Name(), L"MS Sans Serif");
        EXPECT_EQ(buttons[i]->Font().Color(), clGray);
        EXPECT_EQ(buttons[i]->Font().Charset(), EASTEUROPE_CHARSET);
    }
}

TEST(AboutWindow, ClockRunsFromCreationWhetherShownOrNot)
{
    Tform3 form(nullptr);
    EXPECT_EQ(WindowText(form.Label7.Handle()), L"00:00:00");  // until the first tick
    EXPECT_EQ(form.Timer1.Interval(), 100u);
    EXPECT_TRUE(form.Timer1.Running());
    ASSERT_FALSE(form.Visible());
    // The first ticks come with the message loop; the window is still hidden.
    ASSERT_TRUE(PumpUntil(1000, [&] { return WindowText(form.Label7.Handle()) != L"00:00:00"; }));
    EXPECT_TRUE(IsCurrentTime(WindowText(form.Label7.Handle())));
    const std::wstring first = WindowText(form.Label7.Handle());
    EXPECT_TRUE(PumpUntil(2000, [&] { return WindowText(form.Label7.Handle()) != first; }));
    EXPECT_TRUE(IsCurrentTime(WindowText(form.Label7.Handle())));
}

TEST(AboutWindow, LabelsOfTheMainWindowShowItAndZamknijOknoHidesIt)
{
    TForm1 main(nullptr);
    main.Show();
    AboutWindow about;
    Tform3& form = about.form;
    HWND h = form.Handle();
    Pump(300);  // the clock has ticked before the user gets to the label

    main.Label2Click();
    ASSERT_TRUE(IsWindowVisible(h));
    EXPECT_TRUE(IsWindowEnabled(main.Handle()));  // not modal
    EXPECT_TRUE(IsCurrentTime(WindowText(form.Label7.Handle())));
    RECT win, work;
    GetWindowRect(h, &win);
    SystemParametersInfoW(SPI_GETWORKAREA, 0, &work, 0);
    EXPECT_LE(std::abs((win.left + win.right) - (work.left + work.right)), 2);
    EXPECT_LE(std::abs((win.top + win.bottom) - (work.top + work.bottom)), 2);
    EXPECT_TRUE(IsAbove(h, main.Handle()));

    // Shown already, behind the main window: the label brings it to the front.
    SetWindowPos(main.Handle(), HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
    ASSERT_TRUE(IsAbove(main.Handle(), h));
    main.Label3Click();
    EXPECT_TRUE(IsWindowVisible(h));
    EXPECT_TRUE(IsAbove(h, main.Handle()));

    form.SpeedButton3.Click();  // "Zamknij okno"
    EXPECT_FALSE(IsWindowVisible(h));
    EXPECT_TRUE(IsWindow(h));
    EXPECT_TRUE(IsWindowVisible(main.Handle()));
    EXPECT_TRUE(form.Timer1.Running());

    // Moved away by the user and closed; shown again it is centred again, with the clock still current.
    SetWindowPos(h, nullptr, 0, 0, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    Pump(1200);
    main.Label3Click();
    ASSERT_TRUE(IsWindowVisible(h));
    GetWindowRect(h, &win);
    EXPECT_LE(std::abs((win.left + win.right) - (work.left + work.right)), 2);
    EXPECT_TRUE(IsCurrentTime(WindowText(form.Label7.Handle())));
    form.SpeedButton3.Click();
    main.Label2Click();
    EXPECT_TRUE(IsWindowVisible(h));
    form.SpeedButton3.Click();
}

TEST(AboutWindow, ShellButtonsHandTheirAddressesToTheRegisteredHandler)
{
    TempDir dir;
    SchemeHandlers schemes;
    schemes.RegisterHandler(dir / "handed.txt");
    Tform3 form(nullptr);
    form.Show();

    form.SpeedButton1.Click();
    ASSERT_TRUE(PumpUntil(15000, [&] { return FileExists(dir / "handed.txt"); }));
    EXPECT_EQ(ReadFileBytes(dir / "handed.txt"), "http://www.example.org/orvand/");
    DeleteFileA((dir / "handed.txt").c_str());

    form.SpeedButton2.Click();
    ASSERT_TRUE(PumpUntil(15000, [&] { return FileExists(dir / "handed.txt"); }));
    EXPECT_EQ(ReadFileBytes(dir / "handed.txt"), "mailto:orvand@example.org");
    form.Hide();
}

TEST(AboutWindow, ShellButtonsWithoutHandlerDoNothingAndShowNothing)
{
    TempDir dir;
    SchemeHandlers schemes;  // the prefix's own handlers set aside, none of ours
    Tform3 form(nullptr);
    form.Show();
    Pump(200);
    const std::set<HWND> before = VisibleWindowsOfThisProcess();
    form.SpeedButton1.Click();
    form.SpeedButton2.Click();
    Pump(1500);
    EXPECT_EQ(VisibleWindowsOfThisProcess(), before);
    EXPECT_TRUE(form.Visible());
    form.Hide();
}
