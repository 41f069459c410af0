// The file list's mask and the items its entries become. A mask is its patterns joined again by ";";
// no pattern holds a ";". An entry the search drops or the list passes over gives no item; a folder is
// "[name]", a file its name, with the program glyph exactly for the program extensions in any case.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "fslists/file_type.h"
#include "fslists/path_text.h"
#include "fuzz_check.h"

namespace {

void CheckMask(const std::string& mask)
{
    const std::vector<std::string> patterns = SplitMask(mask);
    std::string joined;
    size_t semicolons = 0;
    for (char c : mask)
        semicolons += c == ';';
    FUZZ_CHECK_MSG(patterns.size() == semicolons + 1, Shown(mask));
    for (size_t i = 0; i < patterns.size(); ++i) {
        FUZZ_CHECK_MSG(patterns[i].find(';') == std::string::npos, Shown(mask));
        joined += (i ? ";" : "") + patterns[i];
    }
    FUZZ_CHECK_MSG(joined == mask, Shown(mask));
}

void CheckItem(const std::string& name, std::uint32_t attributes, TFileType type, bool glyphs)
{
    const std::optional<TFileListItem> item = FileListItem(name, attributes, type, glyphs);
    const std::string detail = Shown(name) + " attributes " + std::to_string(attributes);
    // The search drops hidden, system, volume label and folder entries unless the type asks for them.
    const std::uint32_t asked = SearchAttributes(type);
    const bool dropped = (attributes & (faHidden | faSysFile | faVolumeID | faDirectory) & ~asked) != 0;
    const bool taken = type.Contains(TFileAttr::ftNormal) || (attributes & asked) != 0;
    FUZZ_CHECK_MSG(item.has_value() == (!dropped && taken), detail);
    if (!item)
        return;
    if (attributes & faDirectory) {
        FUZZ_CHECK_MSG(item->text == "[" + name + "]", detail);
        FUZZ_CHECK_MSG(item->glyph == (glyphs ? TFileGlyph::fgFolder : TFileGlyph::fgNone), detail);
        return;
    }
    FUZZ_CHECK_MSG(item->text == name, detail);
    const size_t dot = name.find_last_of(".\\:");
    std::string ext = dot == std::string::npos || name[dot] != '.' ? std::string() : name.substr(dot);
    for (char& c : ext)
        c = static_cast<char>(c >= 'A' && c <= 'Z' ? c + 32 : c);
    const bool program = ext == ".exe" || ext == ".com" || ext == ".bat" || ext == ".pif";
    FUZZ_CHECK_MSG(item->glyph == (program ? TFileGlyph::fgProgram : TFileGlyph::fgOtherFile), detail);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    if (size < 3)
        return 0;
    const std::uint32_t attributes = data[0] & 0x3F;
    TFileType type;
    for (unsigned n = 0; n < 7; ++n)
        type.Set(static_cast<TFileAttr>(n), (data[1] >> n) & 1);
    const bool glyphs = data[2] & 1;
    const std::string text(reinterpret_cast<const char*>(data + 3), size - 3);
    CheckMask(text);
    // Directory entries never carry a terminator in their names.
    std::string name = text;
    name.erase(std::remove(name.begin(), name.end(), '\0'), name.end());
    CheckItem(name, attributes, type, glyphs);
    return 0;
}
