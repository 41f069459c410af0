// A stand-in for a web browser or mail program, registered for a scheme by the about window's tests:
//   url_handler <file> <text>   writes <text> to <file>, UTF-8, and nothing else.
#include <windows.h>

#include <shellapi.h>

#include <cstdio>

int main()
{
    int argc = 0;
    LPWSTR* argv = CommandLineToArgvW(GetCommandLineW(), &argc);
    if (!argv || argc != 3)
        return 2;
    const int n = WideCharToMultiByte(CP_UTF8, 0, argv[2], -1, nullptr, 0, nullptr, nullptr);
    char* text = static_cast<char*>(LocalAlloc(LPTR, static_cast<SIZE_T>(n)));
    WideCharToMultiByte(CP_UTF8, 0, argv[2], -1, text, n, nullptr, nullptr);
    // Written under another name first, so the test never reads half a file.
    wchar_t part[MAX_PATH + 8];
    swprintf(part, MAX_PATH + 8, L"%ls.part", argv[1]);
    FILE* f = _wfopen(part, L"wb");
    if (!f)
        return 1;
    std::fwrite(text, 1, static_cast<size_t>(n - 1), f);
    std::fclose(f);
    return MoveFileW(part, argv[1]) ? 0 : 1;
}
