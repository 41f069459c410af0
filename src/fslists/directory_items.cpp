#include "fslists/directory_items.h"

#include "fslists/path_text.h"

std::vector<TDirectoryItem> DirectoryChainItems(const std::string& folderPath)
{
    std::vector<TDirectoryItem> items;
    const std::string root = DrivePart(folderPath) + "\\";
    int level = 0;
    std::string rest = folderPath;
    if (root.size() >= 2 && root[1] == '\\') {
        items.push_back({root, TDirGlyph::dgOpenFolder});
        level = 1;
        rest = folderPath.size() > root.size() ? folderPath.substr(root.size()) : std::string();
    }
    if (!rest.empty()) {
        // A drive root (E:\) ends with "\" and is added whole as the folder itself.
        if (!EndsWithBackslash(rest)) {
            for (size_t slash; (slash = FindBackslash(rest)) != std::string::npos; ++level) {
                std::string name = rest.substr(0, slash);
                if (level == 0)
                    name += '\\';
                rest.erase(0, slash + 1);
                items.push_back({name, TDirGlyph::dgOpenFolder});
            }
        }
        items.push_back({rest, TDirGlyph::dgCurrentFolder});
    }
    return items;
}

std::string AncestorPath(const std::string& folderPath, int index)
{
    const std::string drive = DrivePart(folderPath);
    const std::string rest = folderPath.substr(drive.size());
    size_t end = std::string::npos;
    size_t from = 0;
    for (int n = 0; n <= index; ++n) {
        end = FindBackslash(rest, from);
        if (end == std::string::npos)
            break;
        from = end + 1;
    }
    return drive + rest.substr(0, end);
}

TDirectoryItemPlaces DirectoryItemPlaces(int index, TDirGlyph glyph, int folderDepth, int glyphWidth)
{
    int width = 16;
    int offset = index * 4 + 2;
    if (glyph != TDirGlyph::dgNone) {
        if (glyph == TDirGlyph::dgClosedFolder)
            offset = (folderDepth + 1) * 4 + 2;
        width = glyphWidth;
    }
    return {offset, width + offset + 4};
}
