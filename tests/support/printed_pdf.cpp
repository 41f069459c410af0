#include "printed_pdf.h"

#include <windows.h>

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <cstring>
#include <map>
#include <sstream>

#include "temp_dir.h"

namespace {

using UnixNameFunction = char*(CDECL*)(const wchar_t*);
using DosNameFunction = wchar_t*(CDECL*)(const char*);

std::wstring Wide(const std::string& text, UINT codePage = CP_ACP)
{
    const int n = MultiByteToWideChar(codePage, 0, text.data(), static_cast<int>(text.size()), nullptr, 0);
    std::wstring out(static_cast<size_t>(n), L'\0');
    MultiByteToWideChar(codePage, 0, text.data(), static_cast<int>(text.size()), out.data(), n);
    return out;
}

std::string Narrow(const std::wstring& text, UINT codePage = CP_ACP)
{
    const int n = WideCharToMultiByte(codePage, 0, text.data(), static_cast<int>(text.size()), nullptr, 0, nullptr, nullptr);
    std::string out(static_cast<size_t>(n), '\0');
    WideCharToMultiByte(codePage, 0, text.data(), static_cast<int>(text.size()), out.data(), n, nullptr, nullptr);
    return out;
}

// Wine's own conversions between its drive paths and Unix paths; absent outside Wine.
std::string UnixPath(const std::string& windowsPath)
{
    auto f = reinterpret_cast<UnixNameFunction>(
        reinterpret_cast<void*>(GetProcAddress(GetModuleHandleW(L"kernel32.dll"), "wine_get_unix_file_name")));
    if (!f)
        return {};
    char* name = f(Wide(windowsPath).c_str());
    if (!name)
        return {};
    std::string result = name;
    HeapFree(GetProcessHeap(), 0, name);
    return result;
}

std::string WindowsPath(const std::string& unixPath)
{
    auto f = reinterpret_cast<DosNameFunction>(
        reinterpret_cast<void*>(GetProcAddress(GetModuleHandleW(L"kernel32.dll"), "wine_get_dos_file_name")));
    if (!f)
        return {};
    wchar_t* name = f(unixPath.c_str());
    if (!name)
        return {};
    std::string result = Narrow(name);
    HeapFree(GetProcessHeap(), 0, name);
    return result;
}

std::string Quoted(const std::string& unixPath)
{
    std::string out = "'";
    for (char c : unixPath) {
        if (c == '\'')
            out += "'\\''";
        else
            out += c;
    }
    return out + "'";
}

// Runs a shell command on the Unix side; its result is written to a file and moved into place at the
// end, so the file's appearing tells that the command has finished.
std::string RunToFile(const std::string& command, const std::string& outputWindowsPath)
{
    const std::string output = UnixPath(outputWindowsPath);
    const std::string line = "/bin/sh -c \"" + command + " > " + Quoted(output + ".part") + " 2>&1; mv " +
                             Quoted(output + ".part") + " " + Quoted(output) + "\"";
    STARTUPINFOA startup{};
    startup.cb = sizeof(startup);
    PROCESS_INFORMATION process{};
    std::string mutableLine = line;
    if (!CreateProcessA(nullptr, mutableLine.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &process))
        return {};
    WaitForSingleObject(process.hProcess, 60000);
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
    for (int waited = 0; waited < 60000 && !FileExists(outputWindowsPath); waited += 50)
        Sleep(50);
    return ReadFileBytes(outputWindowsPath);
}

double Attribute(const std::string& tag, const std::string& name)
{
    const size_t at = tag.find(name + "=\"");
    return at == std::string::npos ? 0.0 : std::atof(tag.c_str() + at + name.size() + 2);
}

std::string Unescaped(std::string text)
{
    const std::pair<const char*, const char*> entities[] = {{"&lt;", "<"}, {"&gt;", ">"}, {"&quot;", "\""},
                                                            {"&apos;", "'"}, {"&#39;", "'"}, {"&amp;", "&"}};
    for (const auto& [from, to] : entities)
        for (size_t at; (at = text.find(from)) != std::string::npos;)
            text.replace(at, std::strlen(from), to);
    return text;
}

}  // namespace

std::string PdfFolder()
{
    const char* folder = std::getenv("ORVAND_PDF_DIR");
    if (!folder || !*folder)
        return {};
    return WindowsPath(folder);
}

std::vector<std::string> PdfFiles(const std::string& folder)
{
    std::vector<std::string> names;
    WIN32_FIND_DATAA data;
    HANDLE find = FindFirstFileA((folder + "\\*.pdf").c_str(), &data);
    if (find == INVALID_HANDLE_VALUE)
        return names;
    do
        names.push_back(data.cFileName);
    while (FindNextFileA(find, &data));
    FindClose(find);
    return names;
}

std::string WaitForNewPdf(const std::string& folder, const std::vector<std::string>& before,
                          const std::string& prefix, int timeoutMs)
{
    std::string found;
    for (int waited = 0; waited < timeoutMs && found.empty(); waited += 100) {
        for (const std::string& name : PdfFiles(folder))
            if (name.rfind(prefix, 0) == 0 && std::find(before.begin(), before.end(), name) == before.end())
                found = folder + "\\" + name;
        if (found.empty())
            Sleep(100);
    }
    if (found.empty())
        return {};
    // Complete when it ends with the trailer's end mark and has stopped growing.
    std::string last;
    for (int waited = 0; waited < timeoutMs; waited += 200) {
        const std::string bytes = ReadFileBytes(found);
        if (!bytes.empty() && bytes == last && bytes.rfind("%%EOF") != std::string::npos)
            return found;
        last = bytes;
        Sleep(200);
    }
    return {};
}

std::vector<std::string> QueueJobs()
{
    std::vector<std::string> jobs;
    const char* queue = std::getenv("PRINTER");
    if (!queue || !*queue || UnixPath("C:\\").empty())
        return jobs;
    TempDir work;
    std::istringstream lines(RunToFile("LANG=C lpstat -W all -o " + Quoted(queue), work / "jobs.txt"));
    for (std::string line; std::getline(lines, line);)
        if (line.rfind(std::string(queue) + "-", 0) == 0)
            jobs.push_back(line.substr(0, line.find(' ')));
    return jobs;
}

TPdfDocument ReadPdf(const std::string& path)
{
    TPdfDocument document;
    const std::string unixPath = UnixPath(path);
    if (unixPath.empty()) {
        document.Error = "no Unix path for " + path;
        return document;
    }
    TempDir work;
    const std::string info = RunToFile("pdfinfo " + Quoted(unixPath), work / "info.txt");
    const size_t pages = info.find("Pages:");
    if (pages == std::string::npos) {
        document.Error = "pdfinfo: " + info;
        return document;
    }
    document.Pages = std::atoi(info.c_str() + pages + 6);

    const std::string html = RunToFile("pdftotext -bbox " + Quoted(unixPath) + " -", work / "words.html");
    struct Word {
        double left, top;
        std::string text;
    };
    std::vector<std::vector<Word>> words;
    for (size_t at = 0; (at = html.find('<', at)) != std::string::npos;) {
        const size_t end = html.find('>', at);
        if (end == std::string::npos)
            break;
        const std::string tag = html.substr(at, end - at + 1);
        if (tag.rfind("<page ", 0) == 0) {
            words.emplace_back();
            document.PageWidth = Attribute(tag, "width");
            document.PageHeight = Attribute(tag, "height");
        } else if (tag.rfind("<word ", 0) == 0 && !words.empty()) {
            const size_t close = html.find("</word>", end);
            const std::string utf8 = Unescaped(html.substr(end + 1, close - end - 1));
            words.back().push_back({Attribute(tag, "xMin"), Attribute(tag, "yMin"), Narrow(Wide(utf8, CP_UTF8))});
        }
        at = end + 1;
    }
    // Words whose tops agree within a tenth of a point are one line.
    for (size_t page = 0; page < words.size(); ++page) {
        std::vector<Word>& list = words[page];
        std::stable_sort(list.begin(), list.end(), [](const Word& a, const Word& b) {
            if (std::fabs(a.top - b.top) > 0.1)
                return a.top < b.top;
            return a.left < b.left;
        });
        for (const Word& w : list) {
            if (document.Lines.empty() || document.Lines.back().Page != static_cast<int>(page) + 1 ||
                std::fabs(document.Lines.back().Top - w.top) > 0.1) {
                document.Lines.push_back({static_cast<int>(page) + 1, w.left, w.top, w.text});
            } else {
                document.Lines.back().Text += " " + w.text;
            }
        }
    }
    return document;
}

bool RenderPdfPage(const std::string& pdfPath, int page, int dpi, const std::string& pngPath)
{
    const std::string pdf = UnixPath(pdfPath);
    const std::string png = UnixPath(pngPath);
    if (pdf.empty() || png.empty())
        return false;
    const std::string stem = png.substr(0, png.size() - 4);
    TempDir work;
    RunToFile("pdftoppm -png -singlefile -r " + std::to_string(dpi) + " -f " + std::to_string(page) + " -l " +
                  std::to_string(page) + " " + Quoted(pdf) + " " + Quoted(stem),
              work / "render.txt");
    return FileExists(pngPath);
}
