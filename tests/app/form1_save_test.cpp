// "Zapisz obraz katalogu w pliku" on the real main window: the options read from its controls, the real
// save dialog worked by hand, and failures shown through the application's exception handler.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "app/form1.h"
#include "dialog_driver.h"
#include "file_dialog_typing.h"
#include "gui/application.h"
#include "listing/listing_composition.h"
#include "temp_dir.h"

namespace {

void DropQuitMessages()
{
    MSG msg;
    while (PeekMessageW(&msg, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE)) {
    }
}

// Clicks a flat button with the mouse: pressed and released over it, then the messages run.
void Click(TSpeedButton& button)
{
    PostMessageW(button.Handle(), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(5, 5));
    PostMessageW(button.Handle(), WM_LBUTTONUP, 0, MAKELPARAM(5, 5));
    Application().ProcessMessages();
}

class Form1Save : public testing::Test {
protected:
    void SetUp() override
    {
        DropQuitMessages();  // a main window closed by an earlier test asked the loop to end
        Application().OnException = [this](const std::exception& e) { errors.push_back(e.what()); };
        SetListingCounter(0);
    }
    void TearDown() override
    {
        Application().OnException = nullptr;
        SetListingCounter(0);
        DropQuitMessages();
    }

    TempDir dir;
    std::vector<std::string> errors;
    DialogWatchdog watchdog;
};

}  // namespace

TEST_F(Form1Save, SavesWhatTheControlsSayToTheFileNamedInTheDialog)
{
    TForm1 form(nullptr);
    EXPECT_EQ(form.SaveDialog1.Filter(), "Pliki tekstowe|*.txt");
    EXPECT_EQ(form.SaveDialog1.DefaultExt(), "txt");
    form.nr3.SetChecked(true);  // "tak,oddzielna"
    form.na1.SetChecked(true);  // "z odstępem"
    form.naglowek.SetText("Wykaz \xB3\xF3\x64\xBC");  // Polish letters, as the ANSI code page holds them
    SetListingCounter(4);
    {
        DialogDriver driver([&](HWND window) { TypeFileNameAndConfirm(window, dir / "lista"); });
        Click(form.SpeedButton2);
        EXPECT_TRUE(driver.Done());
    }
    EXPECT_TRUE(errors.empty());
    EXPECT_EQ(form.SaveDialog1.FileName(), dir / "lista.txt");
    // The lists are not on the window yet: the gap and the header only, and the counter restarted.
    EXPECT_EQ(ReadFileBytes(dir / "lista.txt"), "\r\nWykaz \xB3\xF3\x64\xBC\r\n");
    EXPECT_EQ(ListingCounter(), 0);

    // Again without the gap: appended.
    form.na2.SetChecked(true);
    {
        DialogDriver driver([&](HWND window) { TypeFileNameAndConfirm(window, dir / "lista.txt"); });
        Click(form.SpeedButton2);
    }
    EXPECT_EQ(ReadFileBytes(dir / "lista.txt"), "\r\nWykaz \xB3\xF3\x64\xBC\r\nWykaz \xB3\xF3\x64\xBC\r\n");
    EXPECT_FALSE(DialogWatchdog::Fired());
}

TEST_F(Form1Save, CancelChangesNoFileAndNotTheCounter)
{
    TForm1 form(nullptr);
    form.nr3.SetChecked(true);  // even "tak,oddzielna" leaves the counter alone
    form.naglowek.SetText("Lista");
    dir.WriteFile("stara.txt", "tresc");
    form.SaveDialog1.SetFileName(dir / "stara.txt");
    SetListingCounter(12);
    {
        DialogDriver driver([&](HWND window) { CancelDialog(window); });
        Click(form.SpeedButton2);
        EXPECT_TRUE(driver.Done());
    }
    EXPECT_TRUE(errors.empty());
    EXPECT_EQ(ListingCounter(), 12);
    EXPECT_EQ(ReadFileBytes(dir / "stara.txt"), "tresc");
    EXPECT_EQ(form.SaveDialog1.FileName(), dir / "stara.txt");
    EXPECT_FALSE(DialogWatchdog::Fired());
}

TEST_F(Form1Save, AFailureIsShownAndTheNextSaveWorks)
{
    TForm1 form(nullptr);
    form.nr1.SetChecked(true);
    form.naglowek.SetText("H");
    dir.WriteFile("zajety.txt", "cudzy");
    const std::string path = dir / "zajety.txt";
    HANDLE other = CreateFileA(path.c_str(), GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                               OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(other, INVALID_HANDLE_VALUE);
    {
        DialogDriver driver([&](HWND window) { TypeFileNameAndConfirm(window, path); });
        Click(form.SpeedButton2);
    }
    CloseHandle(other);
    EXPECT_EQ(errors, std::vector<std::string>{"I/O error 32"});
    EXPECT_EQ(ReadFileBytes(path), "cudzy");
    {
        DialogDriver driver([&](HWND window) { TypeFileNameAndConfirm(window, path); });
        Click(form.SpeedButton2);
    }
    EXPECT_EQ(errors.size(), 1u);
    EXPECT_EQ(ReadFileBytes(path), "cudzy\r\nH\r\n");
    EXPECT_FALSE(DialogWatchdog::Fired());
}
