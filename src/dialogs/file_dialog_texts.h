#pragma once
// The texts the file dialog exchanges with the platform: the filter list it is given and the name
// buffer it hands back.
#include <string>
#include <vector>

// The filter as the platform takes it: every bar becomes a terminator and one more ends the list;
// empty for an empty filter. "Pliki tekstowe|*.txt" gives "Pliki tekstowe\0*.txt\0\0".
std::string BuildFilterList(const std::string& filter);

// The names chosen in the dialog, read from its name buffer, which ends in two terminators. A single
// choice is the text up to the first terminator. A multiple choice is a folder followed by names
// (blank-separated in a classic dialog, else each ended by a terminator): each name becomes a full path
// unless it is one already; a folder alone is the one chosen name. Never empty: FileName is the first.
std::vector<std::string> ChosenFileNames(const char* buffer, bool multiSelect, bool classicStyle);
