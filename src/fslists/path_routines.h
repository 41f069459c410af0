#pragma once
// The file lists' dealings with the file system and the process's current directory.
#include <string>

#include "gui/font.h"

// A path text taken apart: drive letter ('\0' for a network path), folder part and file part.
struct TSplitPath {
    char drive = '\0';
    std::string directory;
    std::string file;
};

// Splits a path text, which may name a folder, a folder and a mask, or a folder and a file, or be a
// bracketed folder entry "[name]" of the current directory. A trailing name that is not an existing file
// and has no wildcards is taken for a folder. Fails with EInOutError when a folder cannot be entered;
// the process's current directory is as before afterwards (when it still exists).
TSplitPath SplitPathText(const std::string& text);

// The process's current directory as the platform reports it.
std::string CurrentDirectory();
// Makes path the process's current directory; fails with EInOutError carrying the platform's code.
void ChangeCurrentDirectory(const std::string& path);
bool DirectoryExists(const std::string& path);
// Whether the search for the name finds an entry that is not a folder, whatever its time stamp.
bool NamesExistingFile(const std::string& name);

// Orders two paths ignoring letter case: both lower-cased by the platform, then compared in the user's
// locale. Negative, zero or positive.
int ComparePathIgnoringCase(const std::string& a, const std::string& b);
// The same comparison with case counting.
int ComparePathWithCase(const std::string& a, const std::string& b);

// The full text height (ascent plus descent) of the font, in pixels at its own resolution.
int FontLineHeight(const TFont& font);
