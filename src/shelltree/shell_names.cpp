#include "shelltree/shell_names.h"

#include <algorithm>
#include <cstdint>

std::string BoundedNameText(const char* text, std::size_t room)
{
    return std::string(text, std::find(text, text + room, '\0'));
}

std::string OffsetNameText(const void* list, std::size_t offset)
{
    if (!list)
        return {};
    auto item = static_cast<const std::uint8_t*>(list);
    const std::size_t size = static_cast<std::size_t>(item[0]) | (static_cast<std::size_t>(item[1]) << 8);
    if (offset >= size)
        return {};
    return BoundedNameText(reinterpret_cast<const char*>(item + offset), size - offset);
}

std::string CleanDisplayName(std::string name)
{
    if (name.size() > 1 && name[0] == '?' && name[1] >= '0' && name[1] <= '9')
        name.erase(std::remove(name.begin(), name.end(), '?'), name.end());
    return name;
}

bool IsClassIdName(const std::string& name)
{
    return name.compare(0, 3, "::{") == 0;
}
