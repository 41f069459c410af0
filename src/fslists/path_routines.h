#pragma once
// The file lists' dealings with the file system and the process's current directory.
#include <string>

#include "fslists/path_split.h"
#include "runtime/ansi_path.h"

// SplitPathText on the real file system and the process's current directory.
TSplitPath SplitPathText(const std::string& text);

// Makes path the process's current directory; fails with EInOutError carrying the platform's code.
void ChangeCurrentDirectory(const std::string& path);
// How both lists change folder: makes path the process's current directory, a relative path taken from the
// folder shown while that can still be entered. Refused, it puts the current directory back where it was
// and raises EInOutError, so the list changes nothing at all.
void EnterFolderFrom(const std::string& shown, const std::string& path);
bool DirectoryExists(const std::string& path);
// Whether the search for the name finds an entry that is not a folder, whatever its time stamp.
bool NamesExistingFile(const std::string& name);

// Orders two paths ignoring letter case: both lower-cased by the platform, then compared in the user's
// locale. Negative, zero or positive.
int ComparePathIgnoringCase(const std::string& a, const std::string& b);
// The same folder under either name: the same text but for letter case, or the same place on the same volume
// (a link, a second drive letter for it).
bool SameFolder(const std::string& a, const std::string& b);
// The same comparison with case counting.
int ComparePathWithCase(const std::string& a, const std::string& b);
