// Saving a long listing as its user waits for it: from the Return in the save dialog until the file is
// complete, on the real main window with its file list on a big folder; against a bare save of the same
// bytes (GetSaveFileNameA, one WriteFile), the two alternating.
//
// Usage: bench_save_rows <folder> <out-folder> <rounds>
//   prints `value figure <ms>` and `value baseline <ms>` for each round.
#include <windows.h>
#include <commdlg.h>

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <string>

#include "app/form1.h"
#include "bench_clock.h"
#include "file_dialog_typing.h"
#include "gui/application.h"

namespace {

[[noreturn]] void Fail(const std::string& what)
{
    std::fprintf(stderr, "bench_save_rows: %s\n", what.c_str());
    std::exit(2);
}

// Runs save, which opens the dialog, and answers the dialog as its user would: the name typed, then Return
// (IDOK). Returns the time from the Return to the end of save.
template <typename F>
double FromReturn(const std::string& name, F save)
{
    double returnAt = 0;
    DialogDriver hand([&](HWND dialog) {
        SetWindowTextA(FileNameEdit(dialog), name.c_str());
        returnAt = NowMs();
        DialogDriver::Press(dialog, IDOK);
    });
    save();
    const double end = NowMs();
    if (returnAt == 0)
        Fail("the dialog was not answered");
    return end - returnAt;
}

std::string ReadAll(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

void BareSave(const std::string& bytes)
{
    char name[MAX_PATH] = {};
    OPENFILENAMEA ofn{};
    ofn.lStructSize = sizeof(ofn);
    ofn.hwndOwner = Application().Handle();
    ofn.lpstrFilter = "Pliki tekstowe\0*.txt\0\0";
    ofn.lpstrFile = name;
    ofn.nMaxFile = MAX_PATH;
    ofn.lpstrDefExt = "txt";
    ofn.Flags = OFN_EXPLORER | OFN_HIDEREADONLY | OFN_ENABLESIZING;
    if (!GetSaveFileNameA(&ofn))
        Fail("the bare dialog was cancelled");
    HANDLE file = CreateFileA(name, GENERIC_WRITE, FILE_SHARE_READ, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL,
                              nullptr);
    if (file == INVALID_HANDLE_VALUE)
        Fail("cannot create the bare file");
    DWORD written = 0;
    WriteFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr);
    CloseHandle(file);
}

}  // namespace

int main(int argc, char** argv)
{
    if (argc < 3) {
        std::fprintf(stderr, "usage: bench_save_rows <folder> <out-folder> [rounds]\n");
        return 2;
    }
    Application().Initialize();
    const std::string folder = argv[1];
    const std::string out = argv[2];
    const int rounds = argc > 3 ? std::atoi(argv[3]) : 1;
    CreateDirectoryA(out.c_str(), nullptr);
    const std::string listing = out + "\\lista.txt";
    const std::string bare = out + "\\goly.txt";

    TForm1 form(nullptr);
    form.Show();
    form.FileListBox1.EnterPath(folder);
    PumpMessages();
    std::fprintf(stderr, "  %d items\n", form.FileListBox1.Count());
    std::string bytes;
    for (int i = 0; i < rounds; ++i) {
        DeleteFileA(listing.c_str());
        PrintValue("figure", FromReturn(listing, [&] { form.SpeedButton2Click(); }));
        PumpMessages();
        if (bytes.empty())
            bytes = ReadAll(listing);
        else if (ReadAll(listing) != bytes)
            Fail("the listing changed between rounds");
        DeleteFileA(bare.c_str());
        PrintValue("baseline", FromReturn(bare, [&] { BareSave(bytes); }));
        PumpMessages();
    }
    std::fprintf(stderr, "  %zu bytes\n", bytes.size());
    DeleteFileA(listing.c_str());
    DeleteFileA(bare.c_str());
    return 0;
}
