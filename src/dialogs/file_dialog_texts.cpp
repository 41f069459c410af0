#include "dialogs/file_dialog_texts.h"

#include <algorithm>
#include <cstring>

#include "runtime/lead_byte.h"

namespace {

bool HasDrivePrefix(const std::string& name)
{
    return name.size() > 3 && name[1] == ':' && name[2] == '\\';
}

// Whether the last character is a "\": in a double-byte code page the second byte of a character may
// look like one.
bool EndsWithSeparator(const std::string& path)
{
    bool separator = false;
    for (size_t i = 0; i < path.size(); ++i) {
        separator = !IsLeadByte(path[i]) && path[i] == '\\';
        if (IsLeadByte(path[i]))
            ++i;
    }
    return separator;
}

}  // namespace

std::string BuildFilterList(const std::string& filter)
{
    if (filter.empty())
        return {};
    std::string list = filter;
    for (size_t i = 0; i < list.size(); ++i) {
        if (IsLeadByte(list[i]))
            ++i;  // the trail byte may look like a bar
        else if (list[i] == '|')
            list[i] = '\0';
    }
    list.push_back('\0');
    list.push_back('\0');
    return list;
}

std::vector<std::string> ChosenFileNames(const char* buffer, bool multiSelect, bool classicStyle)
{
    if (!multiSelect)
        return {std::string(buffer)};
    std::vector<std::string> fields;
    if (classicStyle) {
        const std::string all = buffer;
        for (size_t start = 0; start < all.size();) {
            const size_t blank = std::min(all.find(' ', start), all.size());
            if (blank > start)
                fields.push_back(all.substr(start, blank - start));
            start = blank + 1;
        }
    } else {
        for (const char* p = buffer; *p != '\0'; p += std::strlen(p) + 1)
            fields.emplace_back(p);
    }
    if (fields.empty())
        fields.emplace_back();
    std::string folder = fields.front();
    if (fields.size() == 1)
        return {folder};
    if (!EndsWithSeparator(folder))
        folder += '\\';
    std::vector<std::string> names;
    for (size_t i = 1; i < fields.size(); ++i) {
        const std::string& name = fields[i];
        names.push_back(name[0] == '\\' || HasDrivePrefix(name) ? name : folder + name);
    }
    return names;
}
