#include "shelltree/shell_tree_types.h"

#include <cctype>
#include <iterator>

namespace {

struct RootFolderName {
    TRootFolder folder;
    const char* name;
    int csidl;
};

// In the order of the enumeration.
constexpr RootFolderName kRootFolders[] = {
    {TRootFolder::rfDesktop, "rfDesktop", 0x00},
    {TRootFolder::rfMyComputer, "rfMyComputer", 0x11},
    {TRootFolder::rfNetwork, "rfNetwork", 0x12},
    {TRootFolder::rfRecycleBin, "rfRecycleBin", 0x0A},
    {TRootFolder::rfAppData, "rfAppData", 0x1A},
    {TRootFolder::rfCommonDesktopDirectory, "rfCommonDesktopDirectory", 0x19},
    {TRootFolder::rfCommonPrograms, "rfCommonPrograms", 0x17},
    {TRootFolder::rfCommonStartMenu, "rfCommonStartMenu", 0x16},
    {TRootFolder::rfCommonStartup, "rfCommonStartup", 0x18},
    {TRootFolder::rfControlPanel, "rfControlPanel", 0x03},
    {TRootFolder::rfDesktopDirectory, "rfDesktopDirectory", 0x10},
    {TRootFolder::rfFavorites, "rfFavorites", 0x06},
    {TRootFolder::rfFonts, "rfFonts", 0x14},
    {TRootFolder::rfInternet, "rfInternet", 0x01},
    {TRootFolder::rfPersonal, "rfPersonal", 0x05},
    {TRootFolder::rfPrinters, "rfPrinters", 0x04},
    {TRootFolder::rfPrintHood, "rfPrintHood", 0x1B},
    {TRootFolder::rfPrograms, "rfPrograms", 0x02},
    {TRootFolder::rfRecent, "rfRecent", 0x08},
    {TRootFolder::rfSendTo, "rfSendTo", 0x09},
    {TRootFolder::rfStartMenu, "rfStartMenu", 0x0B},
    {TRootFolder::rfStartup, "rfStartup", 0x07},
    {TRootFolder::rfTemplates, "rfTemplates", 0x15},
};

// The names are plain ASCII, so ASCII folding is enough.
bool SameNameIgnoringCase(const std::string& a, const char* b)
{
    std::size_t i = 0;
    for (; i < a.size() && b[i]; ++i)
        if (std::tolower(static_cast<unsigned char>(a[i])) != std::tolower(static_cast<unsigned char>(b[i])))
            return false;
    return i == a.size() && !b[i];
}

}  // namespace

bool FindRootFolder(const std::string& text, TRootFolder& folder)
{
    for (const RootFolderName& r : kRootFolders)
        if (SameNameIgnoringCase(text, r.name)) {
            folder = r.folder;
            return true;
        }
    return false;
}

int RootFolderCsidl(TRootFolder folder)
{
    const auto index = static_cast<std::size_t>(folder);
    return index < std::size(kRootFolders) ? kRootFolders[index].csidl : 0;
}

std::string RootPathText(std::string text)
{
    if (!text.empty() && text.back() == ':')
        text += '\\';
    return text;
}

std::uint32_t ObjectTypesFlags(TShellObjectTypes types)
{
    std::uint32_t flags = 0;
    if (types.Contains(TShellObjectType::otFolders))
        flags |= 0x20;  // SHCONTF_FOLDERS
    if (types.Contains(TShellObjectType::otNonFolders))
        flags |= 0x40;  // SHCONTF_NONFOLDERS
    if (types.Contains(TShellObjectType::otHidden))
        flags |= 0x80;  // SHCONTF_INCLUDEHIDDEN
    return flags;
}
