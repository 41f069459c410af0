#include "fslists/path_text.h"

#include "runtime/lead_byte.h"

namespace {

// Calls f(position) for every character that is a whole single byte, skipping double-byte characters.
template <typename F>
void ForEachSingleByte(const std::string& text, size_t from, F f)
{
    for (size_t i = from; i < text.size(); ++i) {
        if (IsLeadByte(text[i])) {
            ++i;
            continue;
        }
        if (!f(i))
            return;
    }
}

size_t LastDelimiter(const std::string& text, const char* delimiters)
{
    size_t last = std::string::npos;
    ForEachSingleByte(text, 0, [&](size_t i) {
        for (const char* d = delimiters; *d; ++d)
            if (text[i] == *d)
                last = i;
        return true;
    });
    return last;
}

}  // namespace

bool EndsWithBackslash(const std::string& path)
{
    return !path.empty() && path.back() == '\\' && LastDelimiter(path, "\\") == path.size() - 1;
}

std::string JoinPath(const std::string& directory, const std::string& name)
{
    if (EndsWithBackslash(directory))
        return directory + name;
    return directory + "\\" + name;
}

size_t FindBackslash(const std::string& text, size_t from)
{
    size_t found = std::string::npos;
    ForEachSingleByte(text, from, [&](size_t i) {
        if (text[i] != '\\')
            return true;
        found = i;
        return false;
    });
    return found;
}

std::string DrivePart(const std::string& path)
{
    if (path.size() >= 2 && path[1] == ':' && !IsLeadByte(path[0]))
        return path.substr(0, 2);
    if (path.size() >= 2 && path[0] == '\\' && path[1] == '\\') {
        const size_t afterServer = FindBackslash(path, 2);
        if (afterServer == std::string::npos)
            return path;
        return path.substr(0, FindBackslash(path, afterServer + 1));
    }
    return std::string();
}

std::string FileNamePart(const std::string& path)
{
    const size_t last = LastDelimiter(path, "\\:");
    return last == std::string::npos ? path : path.substr(last + 1);
}

std::string FolderPart(const std::string& path)
{
    const size_t last = LastDelimiter(path, "\\:");
    return last == std::string::npos ? std::string() : path.substr(0, last + 1);
}

std::string ParentFolder(const std::string& path)
{
    const std::string root = DrivePart(path);
    std::string folder = path;
    if (folder.size() > root.size() + 1 && EndsWithBackslash(folder))
        folder.pop_back();
    if (folder.size() <= root.size() + 1)
        return std::string();
    std::string parent = FolderPart(folder);
    if (parent.size() > root.size() + 1)
        parent.pop_back();  // the root alone keeps its backslash
    return parent.size() > root.size() ? parent : std::string();
}

std::string ExtensionPart(const std::string& path)
{
    const size_t last = LastDelimiter(path, "\\:.");
    if (last == std::string::npos || path[last] != '.')
        return std::string();
    return path.substr(last);
}

int PathDepth(const std::string& path)
{
    int depth = 0;
    ForEachSingleByte(path, 0, [&](size_t i) {
        if (path[i] == '\\')
            ++depth;
        return true;
    });
    return depth;
}

bool HasWildcards(const std::string& name)
{
    return name.find_first_of("*?") != std::string::npos;
}

namespace {

template <class Text>
std::vector<Text> SplitAtSemicolons(const Text& mask)
{
    std::vector<Text> patterns;
    size_t start = 0;
    for (size_t semi; (semi = mask.find(';', start)) != Text::npos; start = semi + 1)
        patterns.push_back(mask.substr(start, semi - start));
    patterns.push_back(mask.substr(start));
    return patterns;
}

}  // namespace

std::vector<std::string> SplitMask(const std::string& mask)
{
    return SplitAtSemicolons(mask);
}

std::vector<std::wstring> SplitMask(const std::wstring& mask)
{
    return SplitAtSemicolons(mask);
}

std::string DropFirstFolder(std::string part)
{
    if (part == "\\")
        return std::string();
    const bool leading = !part.empty() && part[0] == '\\';
    if (leading)
        part.erase(0, 1);
    if (!part.empty() && part[0] == '.')
        part.erase(0, 4);  // an earlier "...\"
    const size_t backslash = FindBackslash(part);
    if (backslash != std::string::npos)
        part = "...\\" + part.substr(backslash + 1);
    else
        part.clear();
    if (leading)
        part.insert(part.begin(), '\\');
    return part;
}

std::string ShortenPathToWidth(const std::string& path, const std::function<int(const std::string&)>& width,
                               int limit)
{
    std::string result = path;
    std::string part = FolderPart(path);
    const std::string name = FileNamePart(path);
    std::string drive;
    if (part.size() >= 2 && part[1] == ':') {
        drive = part.substr(0, 2);
        part.erase(0, 2);
    }
    while ((!part.empty() || !drive.empty()) && width(result) > limit) {
        if (part == "\\...\\") {
            drive.clear();
            part = "...\\";
        } else if (part.empty()) {
            drive.clear();
        } else {
            part = DropFirstFolder(part);
        }
        result = drive + part + name;
    }
    return result;
}
