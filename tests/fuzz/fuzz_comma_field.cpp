// Walking a comma-separated text in place, as the printer walks a port list and the "device" profile
// value: the walk ends, reads nothing past the terminator, and its fields are the text's comma-separated
// fields with their leading blanks dropped (trailing ones kept).
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "fuzz_check.h"
#include "printing/comma_field.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    std::string text(reinterpret_cast<const char*>(data), size);
    text = text.substr(0, text.find('\0'));  // the platform hands over a terminated text
    std::vector<char> buffer(text.begin(), text.end());
    buffer.push_back('\0');

    std::vector<std::string> expected;
    size_t start = 0;
    for (;;) {
        const size_t comma = text.find(',', start);
        std::string field = text.substr(start, comma == std::string::npos ? std::string::npos : comma - start);
        field.erase(0, field.find_first_not_of(' ') == std::string::npos ? field.size() : field.find_first_not_of(' '));
        expected.push_back(field);
        if (comma == std::string::npos)
            break;
        start = comma + 1;
    }

    // The printer's walk: every field until the cursor rests on the terminator.
    std::vector<std::string> got;
    char* cursor = buffer.data();
    const char* end = buffer.data() + buffer.size() - 1;
    do {
        const char* field = NextCommaField(cursor);
        FUZZ_CHECK(field != nullptr);
        FUZZ_CHECK(cursor >= buffer.data() && cursor <= end);
        got.emplace_back(field);
        FUZZ_CHECK(got.size() <= text.size() + 1);
    } while (*cursor);
    // A text ending in a comma (or in a comma and blanks) has one more, empty field.
    if (got.size() + 1 == expected.size() && expected.back().empty())
        got.emplace_back(NextCommaField(cursor));
    FUZZ_CHECK_MSG(got == expected, Shown(text));
    // At the end the cursor stays on the terminator, and further calls give empty fields.
    FUZZ_CHECK(std::string(NextCommaField(cursor)).empty() && cursor == end);
    char* nowhere = nullptr;
    FUZZ_CHECK(NextCommaField(nowhere) == nullptr);
    return 0;
}
