// The file dialog's texts. The filter list is the filter with every bar turned into a terminator and
// two more at the end, so the platform reads back exactly the bar-separated fields. The chosen names
// come from a name buffer the platform filled (ending in two terminators, as the dialog lays it out):
// nothing is read past it, there is always a first name, and a multiple choice gives full paths. In a
// single-byte code page and in a double-byte one, where a second byte may look like "|" or "\".
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string>
#include <vector>

#include "dialogs/file_dialog_texts.h"
#include "fuzz_check.h"
#include "lead_bytes.h"

namespace {

void CheckFilter(const std::string& filter)
{
    const std::string list = BuildFilterList(filter);
    if (filter.empty()) {
        FUZZ_CHECK(list.empty());
        return;
    }
    FUZZ_CHECK_MSG(list.size() == filter.size() + 2, Shown(filter));
    FUZZ_CHECK_MSG(list[list.size() - 1] == '\0' && list[list.size() - 2] == '\0', Shown(filter));
    // The platform's reading: fields up to each terminator, until an empty one.
    std::vector<std::string> read;
    for (const char* p = list.c_str(); *p; p += std::strlen(p) + 1)
        read.emplace_back(p);
    const std::vector<std::string> fields = SplitAtWholeCharacter(filter, '|');
    // A filter without terminators or empty fields is read back whole.
    bool plain = filter.find('\0') == std::string::npos && !EndsInsideCharacter(filter);
    for (const std::string& f : fields)
        plain = plain && !f.empty();
    if (plain)
        FUZZ_CHECK_MSG(read == fields, Shown(filter));
}

bool IsFullPath(const std::string& name)
{
    return (!name.empty() && name[0] == '\\') || (name.size() > 3 && name[1] == ':' && name[2] == '\\');
}

void CheckChosen(const std::vector<char>& buffer, bool multi, bool classic)
{
    const std::vector<std::string> names = ChosenFileNames(buffer.data(), multi, classic);
    const std::string first(buffer.data());
    FUZZ_CHECK(!names.empty());
    if (!multi) {
        FUZZ_CHECK(names.size() == 1 && names[0] == first);
        return;
    }
    // The fields as the dialog lays them out: blank-separated in the first text of a classic dialog,
    // else terminator-separated up to an empty one.
    std::vector<std::string> fields;
    if (classic) {
        std::string field;
        for (char c : first + ' ') {
            if (c != ' ') {
                field += c;
            } else if (!field.empty()) {
                fields.push_back(field);
                field.clear();
            }
        }
    } else {
        for (const char* p = buffer.data(); *p; p += std::strlen(p) + 1)
            fields.emplace_back(p);
    }
    if (fields.size() <= 1) {
        FUZZ_CHECK_MSG(names.size() == 1 && names[0] == (fields.empty() ? "" : fields[0]), Shown(first));
        return;
    }
    FUZZ_CHECK_MSG(names.size() == fields.size() - 1, Shown(first));
    const std::string folder = EndsWithWholeCharacter(fields[0], '\\') ? fields[0] : fields[0] + "\\";
    for (size_t i = 0; i < names.size(); ++i) {
        const std::string& field = fields[i + 1];
        FUZZ_CHECK_MSG(names[i] == (IsFullPath(field) ? field : folder + field), Shown(first));
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    if (size < 1)
        return 0;
    const bool multi = data[0] & 1;
    const bool classic = data[0] & 2;
    UseDoubleByteCodePage(data[0] & 4);
    const std::string text(reinterpret_cast<const char*>(data + 1), size - 1);
    CheckFilter(text);
    // The name buffer exactly as large as the dialog makes it: the text and two terminators.
    std::vector<char> buffer(text.begin(), text.end());
    buffer.push_back('\0');
    buffer.push_back('\0');
    CheckChosen(buffer, multi, classic);
    return 0;
}
