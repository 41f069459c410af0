// The path texts taken apart and put together without the file system: a path is its folder part
// followed by its file part, joining puts exactly one "\" between folder and name, the directory list's
// chain of items spells its folder path again and each ancestor item stands for the path up to it, and
// a shortened label either fits or is down to the file name. In a single-byte code page and in a
// double-byte one, where the second byte of a character may be a "\" that is no separator.
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "fslists/directory_items.h"
#include "fslists/path_text.h"
#include "fuzz_check.h"
#include "lead_bytes.h"

namespace {

bool StartsWith(const std::string& s, const std::string& prefix)
{
    return s.compare(0, prefix.size(), prefix) == 0;
}
bool EndsWith(const std::string& s, const std::string& suffix)
{
    return s.size() >= suffix.size() && s.compare(s.size() - suffix.size(), suffix.size(), suffix) == 0;
}

void CheckParts(const std::string& path)
{
    const std::string folder = FolderPart(path);
    const std::string name = FileNamePart(path);
    FUZZ_CHECK_MSG(folder + name == path, Shown(path));
    FUZZ_CHECK_MSG(!HasWholeCharacter(name, '\\') && !HasWholeCharacter(name, ':'), Shown(path));
    FUZZ_CHECK_MSG(folder.empty() || folder.back() == '\\' || folder.back() == ':', Shown(path));

    const std::string ext = ExtensionPart(path);
    FUZZ_CHECK_MSG(EndsWith(name, ext), Shown(path));
    FUZZ_CHECK_MSG(ext.empty() || (ext[0] == '.' && !HasWholeCharacter(ext.substr(1), '.')), Shown(path));
    FUZZ_CHECK_MSG(!ext.empty() || !HasWholeCharacter(name, '.'), Shown(path));

    const std::string drive = DrivePart(path);
    FUZZ_CHECK_MSG(StartsWith(path, drive), Shown(path));
    FUZZ_CHECK_MSG(drive.empty() || drive.size() == 2 || StartsWith(drive, "\\\\"), Shown(path));

    // Joined back where the folder part ends with "\": the same path.
    if (EndsWithBackslash(folder))
        FUZZ_CHECK_MSG(JoinPath(folder, name) == path, Shown(path));

    // From any character on, the first "\" that is a whole character.
    const std::vector<size_t> starts = CharacterStarts(path);
    for (size_t n = 0; n < starts.size(); n += 1 + starts.size() / 8) {
        size_t want = std::string::npos;
        for (size_t m = n; m < starts.size() && want == std::string::npos; ++m)
            if (path[starts[m]] == '\\')
                want = starts[m];
        FUZZ_CHECK_MSG(FindBackslash(path, starts[n]) == want, Shown(path));
    }
}

void CheckJoin(const std::string& directory, const std::string& name)
{
    const std::string joined = JoinPath(directory, name);
    const std::string detail = Shown(directory) + " + " + Shown(name);
    FUZZ_CHECK_MSG(StartsWith(joined, directory) && EndsWith(joined, name), detail);
    FUZZ_CHECK_MSG(joined.size() == directory.size() + name.size() + (EndsWithBackslash(directory) ? 0 : 1), detail);
    FUZZ_CHECK_MSG(joined[directory.size() - (EndsWithBackslash(directory) ? 1 : 0)] == '\\', detail);
    if (EndsInsideCharacter(directory))
        return;  // the "\" put after a lone first byte is that character's second byte
    FUZZ_CHECK_MSG(PathDepth(joined) == PathDepth(directory) + PathDepth(name) + (EndsWithBackslash(directory) ? 0 : 1),
                   detail);
    if (!HasWholeCharacter(name, '\\') && !HasWholeCharacter(name, ':'))
        FUZZ_CHECK_MSG(FileNamePart(joined) == name, detail);
}

// A folder path as the lists hold it: E:\, E:\A\B, \\server\share\ or \\server\share\A, with names that
// are not empty and hold no "\" or ":" (as whole characters).
bool IsFolderPath(const std::string& path)
{
    if (EndsInsideCharacter(path) || HasWholeCharacter(path.size() > 2 ? path.substr(2) : "", ':'))
        return false;
    const std::vector<std::string> parts = SplitAtWholeCharacter(path, '\\');
    size_t first;  // the first folder name
    if (parts[0].size() == 2 && IsDriveLetter(parts[0][0]) && parts[0][1] == ':' && parts.size() >= 2) {
        first = 1;
    } else if (parts[0].empty() && parts.size() >= 5 && parts[1].empty() && !parts[2].empty() && !parts[3].empty()) {
        first = 4;  // the lists hold a share's root with its "\"
    } else {
        return false;
    }
    if (parts.size() == first + 1 && parts[first].empty())
        return true;  // the root
    for (size_t i = first; i < parts.size(); ++i)
        if (parts[i].empty())
            return false;
    return true;
}

void CheckChain(const std::string& path)
{
    const std::vector<TDirectoryItem> items = DirectoryChainItems(path);
    if (path.empty())
        return;
    FUZZ_CHECK_MSG(!items.empty(), Shown(path));
    for (const TDirectoryItem& item : items)
        FUZZ_CHECK_MSG(item.glyph == TDirGlyph::dgOpenFolder || item.glyph == TDirGlyph::dgCurrentFolder, Shown(path));
    if (!IsFolderPath(path))
        return;

    // The items spell the path: the root with its "\", then the names with a "\" between them.
    std::string spelt = items[0].text;
    for (size_t i = 1; i < items.size(); ++i)
        spelt += (i > 1 ? "\\" : "") + items[i].text;
    FUZZ_CHECK_MSG(spelt == path, Shown(path) + " spelt " + Shown(spelt));
    FUZZ_CHECK_MSG(items.back().glyph == TDirGlyph::dgCurrentFolder || EndsWithBackslash(path), Shown(path));
    FUZZ_CHECK_MSG(static_cast<int>(items.size()) == PathDepth(path) - (StartsWith(path, "\\\\") ? 3 : 0) +
                                                         (EndsWithBackslash(path) ? 0 : 1),
                   Shown(path));

    // Each ancestor item stands for the path up to and including its name.
    std::string upTo = DrivePart(path);
    for (size_t i = 1; i + 1 < items.size(); ++i) {
        upTo += "\\" + items[i].text;
        FUZZ_CHECK_MSG(AncestorPath(path, static_cast<int>(i)) == upTo,
                       Shown(path) + " item " + std::to_string(i) + " " + Shown(AncestorPath(path, static_cast<int>(i))));
    }
}

void CheckShortened(const std::string& path, int limit)
{
    int calls = 0;
    const auto width = [&](const std::string& text) {
        ++calls;
        return static_cast<int>(text.size());
    };
    const std::string shown = ShortenPathToWidth(path, width, limit);
    const std::string name = FileNamePart(path);
    const std::string detail = Shown(path) + " in " + std::to_string(limit) + " gave " + Shown(shown);
    FUZZ_CHECK_MSG(EndsWith(shown, name), detail);
    FUZZ_CHECK_MSG(static_cast<int>(shown.size()) <= limit || shown == name, detail);
    FUZZ_CHECK_MSG(calls <= static_cast<int>(path.size()) + 3, detail);  // one folder less each round
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    if (size < 1)
        return 0;
    const int limit = data[0] & 0x7F;
    UseDoubleByteCodePage(data[0] & 0x80);
    const std::string text(reinterpret_cast<const char*>(data + 1), size - 1);
    CheckParts(text);
    CheckChain(text);
    CheckShortened(text, limit);
    // Split the text in two at its first "|" to join a folder and a name.
    const std::vector<std::string> pieces = SplitAtWholeCharacter(text, '|');
    if (pieces.size() > 1)
        CheckJoin(pieces[0], text.substr(pieces[0].size() + 1));
    else
        CheckJoin(text, "x");
    return 0;
}
