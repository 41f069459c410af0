#pragma once
// Texts the application object derives: its title and the text of an error message box.
#include <string>

// The executable's file name without folder and without anything from its first full stop on,
// every character after the first lower-cased ("C:\Prog\ORVAND.EXE" gives "Orvand").
std::string TitleFromExeName(const std::string& exePath);

// The exception's message, with a full stop added when its last character has a code above the full stop's.
std::string MessageWithFullStop(const std::string& message);
