#pragma once
// The runtime's conversion of text to a 32-bit integer: leading blanks, an optional sign, then decimal
// digits that fit 32 signed bits, or up to 8 hexadecimal digits after "$", "x", "X", "0x" or "0X" taken as a
// 32-bit pattern. The whole text must be used.
#include <cstdint>
#include <optional>
#include <string>

std::optional<std::int32_t> TryStrToInt(const std::string& text);
// The number, or def when the text is not one.
std::int32_t StrToIntDef(const std::string& text, std::int32_t def);
// Decimal text of a number: a minus sign for negatives, no leading zeros.
std::string IntToStr(std::int32_t value);
