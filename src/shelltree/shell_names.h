#pragma once
// The texts the shell gives for an item's name, made fit to show and to tell apart.
#include <cstddef>
#include <string>

// The text at text up to its terminator, read no further than room bytes: a STRRET_CSTR name, whose
// buffer a shell may fill to the brim.
std::string BoundedNameText(const char* text, std::size_t room);
// The NUL-terminated text stored inside the first item of list at offset, read no further than the end of
// that item; empty when the list has no item or the offset lies outside it.
std::string OffsetNameText(const void* list, std::size_t offset);
// A name longer than one character that begins with "?" and a decimal digit loses every "?" in it.
std::string CleanDisplayName(std::string name);
// A parsing name made of class identifiers ("::{...}"): a virtual folder without a file-system path.
bool IsClassIdName(const std::string& name);
