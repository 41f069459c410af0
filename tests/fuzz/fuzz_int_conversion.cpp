// Text to a 32-bit number, as the start position's edit reads it: leading blanks, a sign, then decimal
// digits within the signed range, or "$", "x", "X", "0x", "0X" and hexadecimal digits taken as a 32-bit
// pattern; the whole text used. Checked against a reading of its own, and every number's decimal text
// reads back as that number.
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>

#include "fuzz_check.h"
#include "runtime/int_conversion.h"

namespace {

std::optional<std::int32_t> Expected(const std::string& text)
{
    size_t i = text.find_first_not_of(' ');
    if (i == std::string::npos)
        return std::nullopt;
    bool negative = false;
    if (text[i] == '+' || text[i] == '-')
        negative = text[i++] == '-';
    int base = 10;
    if (text.compare(i, 2, "0x") == 0 || text.compare(i, 2, "0X") == 0) {
        base = 16;
        i += 2;
    } else if (i < text.size() && (text[i] == '$' || text[i] == 'x' || text[i] == 'X')) {
        base = 16;
        i += 1;
    }
    const std::string digits = text.substr(i);
    if (digits.empty())
        return std::nullopt;
    // Leading zeros do not count against the size.
    const std::string significant = digits.substr(std::min(digits.find_first_not_of('0'), digits.size()));
    const std::string allowed = base == 16 ? "0123456789abcdefABCDEF" : "0123456789";
    if (digits.find_first_not_of(allowed) != std::string::npos)
        return std::nullopt;
    if (significant.size() > (base == 16 ? 8u : 10u))
        return std::nullopt;
    const std::uint64_t value = significant.empty() ? 0 : std::stoull(significant, nullptr, base);
    if (base == 16) {
        const auto pattern = static_cast<std::uint32_t>(value);
        return static_cast<std::int32_t>(negative ? 0u - pattern : pattern);
    }
    if (value > (negative ? 2147483648ull : 2147483647ull))
        return std::nullopt;
    return static_cast<std::int32_t>(negative ? -static_cast<std::int64_t>(value) : static_cast<std::int64_t>(value));
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const std::string text(reinterpret_cast<const char*>(data), size);
    const std::optional<std::int32_t> got = TryStrToInt(text);
    const std::optional<std::int32_t> want = Expected(text);
    FUZZ_CHECK_MSG(got == want, Shown(text) + " gave " + (got ? std::to_string(*got) : "nothing") + ", want " +
                                    (want ? std::to_string(*want) : "nothing"));
    FUZZ_CHECK(StrToIntDef(text, 7) == want.value_or(7));

    // Any 32 bits: the decimal text reads back, with or without a plus sign and leading blanks.
    if (size >= 4) {
        std::int32_t value;
        std::uint32_t bits = static_cast<std::uint32_t>(data[0]) | (static_cast<std::uint32_t>(data[1]) << 8) |
                             (static_cast<std::uint32_t>(data[2]) << 16) | (static_cast<std::uint32_t>(data[3]) << 24);
        value = static_cast<std::int32_t>(bits);
        const std::string decimal = IntToStr(value);
        FUZZ_CHECK(TryStrToInt(decimal) == value);
        FUZZ_CHECK(TryStrToInt("  " + decimal) == value);
        if (value >= 0)
            FUZZ_CHECK(TryStrToInt("+" + decimal) == value);
        FUZZ_CHECK(decimal == std::to_string(static_cast<long long>(value)));
    }
    return 0;
}
