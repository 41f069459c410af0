// Path splitting against a file system in memory. Whatever the text: the current directory is as it
// was, a failure is an I/O error with a code, the file part is a bare name, and the folder part names
// a folder that exists (the file part a file in it). For a clean drive or network path the split must
// give the path back: folder part, or folder part joined with the file part, is the text again.
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "fslists/path_split.h"
#include "fslists/path_text.h"
#include "fuzz_check.h"
#include "model_file_system.h"
#include "runtime/exceptions.h"

namespace {

const char* const kStartFolders[] = {
    "C:\\Data", "C:\\", "E:\\X\\sub", "\\\\server\\share\\docs", "\\\\server\\share\\", "c:\\data\\SUB",
};

void Populate(TModelFileSystem& fs, std::uint8_t choice)
{
    fs.AddFolder("C:\\Data\\Sub\\Deep");
    fs.AddFolder("C:\\Windows\\System32");
    fs.AddFolder("C:\\a.b");
    fs.AddFile("C:\\Data\\a.txt");
    fs.AddFile("C:\\Data\\Sub\\b.exe");
    fs.AddFile("C:\\f");
    fs.AddFolder("E:\\X\\sub");
    fs.AddFile("E:\\X\\c.txt");
    fs.AddFolder("\\\\server\\share\\docs\\old");
    fs.AddFile("\\\\server\\share\\docs\\d.txt");
    if (choice & 0x80)
        fs.Remember('E', "E:\\X");
    fs.SetCurrent(kStartFolders[choice % std::size(kStartFolders)]);
}

bool IsCleanName(const std::string& name, bool last)
{
    if (name.empty() || name == "." || name == ".." || name.back() == '.' || name.back() == ' ')
        return false;
    for (unsigned char c : name)
        if (c < 0x20 || std::string("\\/:<>\"|").find(static_cast<char>(c)) != std::string::npos ||
            (!last && (c == '*' || c == '?')))
            return false;
    return true;
}

// A drive path (E:\A\B, E:\, E:\A\) or a network path (\\server\share\A) of plain names, wildcards only in
// the last one: its root and names.
bool IsCleanPath(const std::string& text, std::string& root, std::vector<std::string>& names)
{
    std::string rest;
    if (text.size() >= 3 && IsDriveLetter(text[0]) && text[1] == ':' && text[2] == '\\') {
        root = text.substr(0, 2);
        rest = text.substr(3);
    } else if (text.size() >= 2 && text[0] == '\\' && text[1] == '\\') {
        root = DrivePart(text);
        if (root.size() == text.size())
            rest.clear();
        else
            rest = text.substr(root.size() + 1);
        const std::string server = root.substr(2);
        const size_t slash = server.find('\\');
        if (slash == std::string::npos || !IsCleanName(server.substr(0, slash), false) ||
            !IsCleanName(server.substr(slash + 1), false))
            return false;
    } else {
        return false;
    }
    // After a trailing "\" the last name is a folder's, without wildcards.
    const bool folderLast = !rest.empty() && rest.back() == '\\';
    if (folderLast)
        rest.pop_back();
    names.clear();
    size_t start = 0;
    while (start < rest.size()) {
        size_t end = rest.find('\\', start);
        if (end == std::string::npos)
            end = rest.size();
        names.push_back(rest.substr(start, end - start));
        start = end + 1;
    }
    if (!rest.empty() && rest.back() == '\\')
        return false;
    for (size_t i = 0; i < names.size(); ++i)
        if (!IsCleanName(names[i], i + 1 == names.size() && !folderLast))
            return false;
    return true;
}

std::string Joined(const std::string& root, const std::vector<std::string>& names, size_t count)
{
    std::string path = root + "\\";
    for (size_t i = 0; i < count; ++i)
        path += (i ? "\\" : "") + names[i];
    return path;
}

// The model, keeping the current directory after every change.
class TRecordingFileSystem : public TModelFileSystem {
public:
    int EnterFolder(const std::string& path) override
    {
        const int code = TModelFileSystem::EnterFolder(path);
        if (code == 0)
            visited.push_back(CurrentFolder());
        return code;
    }
    std::vector<std::string> visited;
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    if (size < 2)
        return 0;  // the lists never split an empty text
    TRecordingFileSystem fs;
    Populate(fs, data[0]);
    const std::string text(reinterpret_cast<const char*>(data + 1), size - 1);
    const std::string saved = fs.CurrentFolder();
    const std::string detail = Shown(text) + " from " + Shown(saved);

    // What the model says a clean path should give.
    std::string root;
    std::vector<std::string> names;
    const bool clean = IsCleanPath(text, root, names);
    bool mustSucceed = false;
    bool mustFail = false;
    std::string wantFolder;
    std::string wantFile;
    if (clean && fs.FolderExists(root)) {
        const TModelFileSystem::Lookup whole = fs.Find(text);
        const bool wild = !names.empty() && HasWildcards(names.back());
        // A name followed by a backslash can only be a folder's: a file of that name is no way through.
        const bool folderLast = text.back() == '\\';
        if (!wild && whole.exists && whole.folder) {
            mustSucceed = true;
            wantFolder = Joined(root, names, names.size());
        } else if (!names.empty() && (wild || (whole.exists && !whole.folder && !folderLast))) {
            const TModelFileSystem::Lookup parent = fs.Find(Joined(root, names, names.size() - 1));
            if (parent.exists && parent.folder) {
                mustSucceed = true;
                wantFolder = Joined(root, names, names.size() - 1);
                wantFile = names.back();
            } else {
                mustFail = true;
            }
        } else {
            mustFail = true;  // a clean path to nothing
        }
        if (!wantFolder.empty() && names.size() > (wantFile.empty() ? 0u : 1u) && wantFolder.back() == '\\')
            wantFolder.pop_back();
    }

    TSplitPath split;
    try {
        split = SplitPathText(text, fs);
    } catch (const EInOutError& e) {
        FUZZ_CHECK_MSG(e.ErrorCode() != 0, detail);
        FUZZ_CHECK_MSG(fs.CurrentFolder() == saved, detail + " left in " + Shown(fs.CurrentFolder()));
        FUZZ_CHECK_MSG(!mustSucceed, detail + " failed with " + std::to_string(e.ErrorCode()));
        return 0;
    }
    const std::string folder =
        IsDriveLetter(split.drive) ? std::string(1, split.drive) + ":" + split.directory : split.directory;
    const std::string got = detail + " gave " + Shown(folder) + " + " + Shown(split.file);

    FUZZ_CHECK_MSG(fs.CurrentFolder() == saved, got + ", left in " + Shown(fs.CurrentFolder()));
    FUZZ_CHECK_MSG(split.file.find_first_of("\\:") == std::string::npos, got);
    FUZZ_CHECK_MSG(!mustFail, got);

    const bool bracket = text.front() == '[' && text.back() == ']';
    if (bracket) {
        FUZZ_CHECK_MSG(split.drive == saved[0], got);
    } else {
        // The text's drive, or the current one for a text without; none for a network path.
        const std::string root = DrivePart(text).empty() ? DrivePart(saved) : DrivePart(text);
        FUZZ_CHECK_MSG(split.drive == (root.size() >= 2 && root[1] == ':' ? root[0] : '\0'), got);
    }

    // A folder part that the split entered names a folder from where the text was split. (A text whose
    // drive or share is missing is split on the current drive, and one with a ":" elsewhere than after
    // its drive, or with a doubled "\" after its start, is no path: entering their folder parts fails
    // afterwards.)
    const std::string textRoot = bracket ? std::string() : DrivePart(text);
    const bool rootHeld = textRoot.empty() || fs.FolderExists(textRoot);
    const size_t colon = text.find(':');
    const bool wellFormed =
        (colon == std::string::npos || (!bracket && colon == 1 && text.find(':', 2) == std::string::npos)) &&
        text.find("\\\\", bracket ? 0 : 1) == std::string::npos;
    if (rootHeld && wellFormed) {
        const TModelFileSystem::Lookup f = fs.Find(folder);
        FUZZ_CHECK_MSG(f.exists && f.folder, got);
        // And it is the folder the split ended in, before it went back to where it started.
        const std::string ended = fs.visited.size() >= 2 ? fs.visited[fs.visited.size() - 2] : saved;
        FUZZ_CHECK_MSG(fs.Canonical(folder) == fs.Canonical(ended), got + ", ended in " + Shown(ended));
        if (!split.file.empty() && !HasWildcards(split.file)) {
            const TModelFileSystem::Lookup file = fs.Find(JoinPath(folder, split.file));
            FUZZ_CHECK_MSG(file.exists && !file.folder, got);
        }
    }
    if (mustSucceed) {
        FUZZ_CHECK_MSG(folder == wantFolder, got + ", want " + Shown(wantFolder));
        FUZZ_CHECK_MSG(split.file == wantFile, got + ", want file " + Shown(wantFile));
    }
    return 0;
}
