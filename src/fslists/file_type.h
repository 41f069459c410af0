#pragma once
// Which directory entries the file list shows, and what each shown entry becomes: its text and glyph.
#include <cstdint>
#include <optional>
#include <string>

#include "runtime/enum_set.h"

enum class TFileAttr : std::uint8_t { ftReadOnly, ftHidden, ftSystem, ftVolumeID, ftDirectory, ftArchive, ftNormal };

// A set of TFileAttr: element number n is bit n, all of them within one byte.
using TFileType = TEnumSet<TFileAttr>;

// The platform's attribute bits the file lists deal with.
constexpr std::uint32_t faReadOnly = 0x01;
constexpr std::uint32_t faHidden = 0x02;
constexpr std::uint32_t faSysFile = 0x04;
constexpr std::uint32_t faVolumeID = 0x08;
constexpr std::uint32_t faDirectory = 0x10;
constexpr std::uint32_t faArchive = 0x20;

// The search attribute word: the bits of the kinds in the set, ftNormal adding none.
std::uint32_t SearchAttributes(TFileType type);
// The search drops an entry carrying hidden, system, volume label or directory when that bit is not asked for.
bool SearchReturns(std::uint32_t entryAttributes, std::uint32_t searchAttributes);
// Of what the search returns, the list takes every entry with ftNormal, else those sharing a bit with the word.
bool ListTakes(std::uint32_t entryAttributes, TFileType type);

// Glyph kinds, kept as each item's number.
enum class TFileGlyph : std::uint8_t { fgNone, fgProgram, fgFolder, fgOtherFile };

// ".exe", ".com", ".bat" and ".pif" in any letter case.
bool IsProgramName(const std::string& name);

struct TFileListItem {
    std::string text;
    TFileGlyph glyph = TFileGlyph::fgNone;
};
// The item a returned entry becomes, or nothing when the list passes it over. A folder entry is "[name]"
// and has the folder glyph only while glyphs are shown; a file always has its glyph.
std::optional<TFileListItem> FileListItem(const std::string& name, std::uint32_t entryAttributes, TFileType type,
                                          bool showGlyphs);
