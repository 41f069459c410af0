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

class Form1Save : public testing::Test {
protected:
    void SetUp() override
    {
        Application().OnException = [this](const std::exception& e) { errors.push_back(e.what()); };
    }
    void TearDown() override
    {
        Application().OnException = nullptr;
        SetListingCounter(0);
        EXPECT_FALSE(watchdog.Fired());
    }
    // Clicks the save button with the mouse while the dialog is worked by the given hand.
    void ClickSave(TForm1& form, std::function<void(HWND)> hand)
    {
        DialogDriver driver(std::move(hand));
        PostMessageW(form.SpeedButton2.Handle(), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(5, 5));
        PostMessageW(form.SpeedButton2.Handle(), WM_LBUTTONUP, 0, MAKELPARAM(5, 5));
        Application().ProcessMessages();
        EXPECT_TRUE(driver.Done());
    }

    TempDir dir;
    std::vector<std::string> errors;
    DialogWatchdog watchdog;
};

}  // namespace

TEST_F(Form1Save, SavesWhatTheControlsSayAndACancelChangesNothing)
{
    TForm1 form(nullptr);
    EXPECT_EQ(form.SaveDialog1.Filter(), "Pliki tekstowe|*.txt");
    EXPECT_EQ(form.SaveDialog1.DefaultExt(), "txt");
    form.nr3.SetChecked(true);  // "tak,oddzielna"
    form.na1.SetChecked(true);  // "z odstępem"
    const std::string header = "Wykaz \xB3\xF3\x64\xBC";  // Polish letters, as the ANSI code page holds them
    form.naglowek.SetText(header);
    form.pozycja.SetValue(1000000);  // past the end of any list: the header alone
    SetListingCounter(4);
    ClickSave(form, [&](HWND window) { TypeFileNameAndConfirm(window, dir / "lista"); });
    EXPECT_EQ(form.SaveDialog1.FileName(), dir / "lista.txt");
    // No item from that start: the gap and the header only, and the counter restarted.
    EXPECT_EQ(ReadFileBytes(dir / "lista.txt"), "\r\n" + header + "\r\n");
    EXPECT_EQ(ListingCounter(), 0);

    form.na2.SetChecked(true);  // "bez odstępu", appended
    ClickSave(form, [&](HWND window) { TypeFileNameAndConfirm(window, dir / "lista.txt"); });
    EXPECT_EQ(ReadFileBytes(dir / "lista.txt"), "\r\n" + header + "\r\n" + header + "\r\n");

    // Cancelled: no file changes and the counter stays, even with "tak,oddzielna".
    SetListingCounter(12);
    ClickSave(form, [](HWND window) { CancelDialog(window); });
    EXPECT_EQ(ListingCounter(), 12);
    EXPECT_EQ(ReadFileBytes(dir / "lista.txt"), "\r\n" + header + "\r\n" + header + "\r\n");
    EXPECT_EQ(form.SaveDialog1.FileName(), dir / "lista.txt");
    EXPECT_TRUE(errors.empty());
}

TEST_F(Form1Save, AFailureIsShownAndTheNextSaveWorks)
{
    TForm1 form(nullptr);
    form.naglowek.SetText("H");
    form.na2.SetChecked(true);
    form.pozycja.SetValue(1000000);  // past the end of any list: the header alone
    dir.WriteFile("zajety.txt", "cudzy");
    const std::string path = dir / "zajety.txt";
    HANDLE other = CreateFileA(path.c_str(), GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                               OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(other, INVALID_HANDLE_VALUE);
    ClickSave(form, [&](HWND window) { TypeFileNameAndConfirm(window, path); });
    CloseHandle(other);
    EXPECT_EQ(errors, std::vector<std::string>{"I/O error 32"});
    EXPECT_EQ(ReadFileBytes(path), "cudzy");
    ClickSave(form, [&](HWND window) { TypeFileNameAndConfirm(window, path); });
    EXPECT_EQ(errors.size(), 1u);
    EXPECT_EQ(ReadFileBytes(path), "cudzyH\r\n");
}
