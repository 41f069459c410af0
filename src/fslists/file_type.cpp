#include "fslists/file_type.h"

#include "fslists/path_text.h"
#include "runtime/ansi_case.h"
#include "runtime/format.h"

std::uint32_t SearchAttributes(TFileType type)
{
    static constexpr std::uint32_t bits[] = {faReadOnly, faHidden, faSysFile, faVolumeID, faDirectory, faArchive};
    std::uint32_t word = 0;
    for (unsigned n = 0; n < 6; ++n)
        if (type.Contains(static_cast<TFileAttr>(n)))
            word |= bits[n];
    return word;
}

bool SearchReturns(std::uint32_t entryAttributes, std::uint32_t searchAttributes)
{
    const std::uint32_t excluded = (faHidden | faSysFile | faVolumeID | faDirectory) & ~searchAttributes;
    return (entryAttributes & excluded) == 0;
}

bool ListTakes(std::uint32_t entryAttributes, TFileType type)
{
    return type.Contains(TFileAttr::ftNormal) || (entryAttributes & SearchAttributes(type)) != 0;
}

bool IsProgramName(const std::string& name)
{
    const std::string ext = AnsiLowerCase(ExtensionPart(name));
    return ext == ".exe" || ext == ".com" || ext == ".bat" || ext == ".pif";
}

std::optional<TFileListItem> FileListItem(const std::string& name, std::uint32_t entryAttributes, TFileType type,
                                          bool showGlyphs)
{
    if (!SearchReturns(entryAttributes, SearchAttributes(type)) || !ListTakes(entryAttributes, type))
        return std::nullopt;
    if (entryAttributes & faDirectory)
        return TFileListItem{Format("[%s]", name.c_str()), showGlyphs ? TFileGlyph::fgFolder : TFileGlyph::fgNone};
    return TFileListItem{name, IsProgramName(name) ? TFileGlyph::fgProgram : TFileGlyph::fgOtherFile};
}
