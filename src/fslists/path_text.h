#pragma once
// Path texts in the ANSI code page, taken apart and shortened without asking the file system.
// A second byte of a double-byte character is never taken for a "\" or ":".
#include <functional>
#include <string>
#include <vector>

// directory + name, with one "\" between them unless the directory ends with one.
std::string JoinPath(const std::string& directory, const std::string& name);

// "E:" for E:\Data, "\\server\share" for \\server\share\docs, else empty.
std::string DrivePart(const std::string& path);
// The text after the last "\" or ":".
std::string FileNamePart(const std::string& path);
// The text from the last "." on, when that "." comes after the last "\" and ":"; else empty.
std::string ExtensionPart(const std::string& path);
// Everything up to and including the last "\" or ":".
std::string FolderPart(const std::string& path);
// The folder that holds the folder path, in the lists' form: E:\A for E:\A\B, E:\ for E:\A,
// \\server\share\ for \\server\share\docs; empty for a drive's or a share's root.
std::string ParentFolder(const std::string& path);

bool EndsWithBackslash(const std::string& path);
// A letter that can name a drive.
inline bool IsDriveLetter(char c)
{
    return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z');
}
// Position of the first "\" at or after from, or npos.
size_t FindBackslash(const std::string& text, size_t from = 0);
// The number of "\" in the path.
int PathDepth(const std::string& path);

bool HasWildcards(const std::string& name);
// The mask's patterns, split at every ";", left to right; empty patterns are kept.
std::vector<std::string> SplitMask(const std::string& mask);
std::vector<std::wstring> SplitMask(const std::wstring& mask);

// Shortens the folder part by one folder from the front: \A\B\ gives \...\B\, \...\B\ gives \...\,
// ...\ gives empty.
std::string DropFirstFolder(std::string part);
// The path, with folders replaced by "..." from the front (and at last the drive dropped) until
// width(text) fits in limit or nothing but the file name is left.
std::string ShortenPathToWidth(const std::string& path, const std::function<int(const std::string&)>& width,
                               int limit);
