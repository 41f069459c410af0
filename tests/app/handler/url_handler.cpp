// A stand-in for a web browser or mail program, registered for a scheme by the about window's tests:
//   url_handler <file> <text>   writes <text> to <file>, UTF-8, and nothing else.
#include <windows.h>

#include <shellapi.h>

#include <cstdio>
#include <string>

int main()
{
    int argc = 0;
    LPWSTR* argv = CommandLineToArgvW(GetCommandLineW(), &argc);
    if (!argv || argc != 3)
        return 2;
    const int n = WideCharToMultiByte(CP_UTF8, 0, argv[2], -1, nullptr, 0, nullptr, nullptr);
    std::string text(static_cast<size_t>(n > 0 ? n : 1), '\0');
    WideCharToMultiByte(CP_UTF8, 0, argv[2], -1, text.data(), n, nullptr, nullptr);
    text.resize(text.size() - 1);
    // Written under another name first, so the test never reads half a file.
    const std::wstring target = argv[1];
    const std::wstring part = target + L".part";
    FILE* f = _wfopen(part.c_str(), L"wb");
    if (!f)
        return 1;
    std::fwrite(text.data(), 1, text.size(), f);
    std::fclose(f);
    return MoveFileW(part.c_str(), target.c_str()) ? 0 : 1;
}
