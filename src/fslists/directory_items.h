#pragma once
// What the directory list shows for a folder, decided from the path text alone: the network or drive
// root, the ancestors and the folder itself, where each item is drawn, and the path an ancestor stands for.
#include <cstdint>
#include <string>
#include <vector>

// Glyph kinds, kept as each item's number; the kind also tells what the item stands for.
enum class TDirGlyph : std::uint8_t { dgNone, dgOpenFolder, dgCurrentFolder, dgClosedFolder };

struct TDirectoryItem {
    std::string text;
    TDirGlyph glyph = TDirGlyph::dgNone;
};

// The items before the subfolders: the network root (\\server\share\) or the drive root (E:\), every
// further ancestor by its own name, and the folder itself by its own name, as written in folderPath.
// The last item is the one to select: the folder's, or the network root's at a share's root.
std::vector<TDirectoryItem> DirectoryChainItems(const std::string& folderPath);

// The path of ancestor item index (at least 1): the drive part, then the rest of folderPath up to,
// not including, its (index + 1)-th backslash.
std::string AncestorPath(const std::string& folderPath, int index);

// Horizontal places in an item, in pixels at 96 DPI from the item's left edge.
struct TDirectoryItemPlaces {
    int glyphLeft;
    int textLeft;
};
// Every ancestor step indents by 4; all subfolders share the indent of the folder's depth + 1.
TDirectoryItemPlaces DirectoryItemPlaces(int index, TDirGlyph glyph, int folderDepth, int glyphWidth);
