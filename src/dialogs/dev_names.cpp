#include "dialogs/dev_names.h"

#include <algorithm>
#include <cstring>

namespace {

constexpr std::size_t kHeaderSize = 8;

void PutWord(std::vector<unsigned char>& block, std::size_t at, std::size_t value)
{
    block[at] = static_cast<unsigned char>(value & 0xFF);
    block[at + 1] = static_cast<unsigned char>((value >> 8) & 0xFF);
}

std::size_t Word(const unsigned char* block, std::size_t at)
{
    return static_cast<std::size_t>(block[at]) | (static_cast<std::size_t>(block[at + 1]) << 8);
}

std::string TextAt(const unsigned char* block, std::size_t size, std::size_t offset)
{
    if (offset >= size)
        return {};
    const auto* begin = reinterpret_cast<const char*>(block + offset);
    const auto* end = static_cast<const char*>(std::memchr(begin, '\0', size - offset));
    return std::string(begin, end ? end : reinterpret_cast<const char*>(block + size));
}

}  // namespace

std::vector<unsigned char> BuildDevNames(const TDevNamesTexts& texts)
{
    std::vector<unsigned char> block(kHeaderSize + texts.Driver.size() + texts.Device.size() + texts.Port.size() + 3);
    std::size_t at = kHeaderSize;
    std::size_t word = 0;
    for (const std::string* text : {&texts.Driver, &texts.Device, &texts.Port}) {
        PutWord(block, word, at);
        word += 2;
        std::copy(text->begin(), text->end(), block.begin() + static_cast<std::ptrdiff_t>(at));
        at += text->size() + 1;  // the terminator is already there
    }
    PutWord(block, 6, 0);
    return block;
}

TDevNamesTexts ReadDevNames(const unsigned char* block, std::size_t size)
{
    if (!block || size < kHeaderSize)
        return {};
    return {TextAt(block, size, Word(block, 0)), TextAt(block, size, Word(block, 2)),
            TextAt(block, size, Word(block, 4))};
}
