#pragma once
// What the shell folder tree is told to show: its root folder by name and the kinds of items it lists.
#include <cstdint>
#include <string>

#include "runtime/enum_set.h"

enum class TRootFolder {
    rfDesktop, rfMyComputer, rfNetwork, rfRecycleBin, rfAppData, rfCommonDesktopDirectory, rfCommonPrograms,
    rfCommonStartMenu, rfCommonStartup, rfControlPanel, rfDesktopDirectory, rfFavorites, rfFonts, rfInternet,
    rfPersonal, rfPrinters, rfPrintHood, rfPrograms, rfRecent, rfSendTo, rfStartMenu, rfStartup, rfTemplates
};

// Finds the root folder a text names (letter case ignored); false when it names none.
bool FindRootFolder(const std::string& text, TRootFolder& folder);
// The special-folder identifier (CSIDL) of a root folder.
int RootFolderCsidl(TRootFolder folder);
// A drive letter and colon ("D:") becomes the drive's root ("D:\"); any other text is kept.
std::string RootPathText(std::string text);

enum class TShellObjectType { otFolders, otNonFolders, otHidden };
using TShellObjectTypes = TEnumSet<TShellObjectType>;

// The enumeration flags (SHCONTF_*) a set of object types asks for.
std::uint32_t ObjectTypesFlags(TShellObjectTypes types);
