#include "widgets/spin_logic.h"

std::int32_t ClampSpinValue(std::int32_t v, std::int32_t minValue, std::int32_t maxValue)
{
    if (maxValue == minValue)
        return v;
    if (v < minValue)
        return minValue;
    if (v > maxValue)
        return maxValue;
    return v;
}

std::int32_t WrappingAdd(std::int32_t value, std::int32_t delta)
{
    return static_cast<std::int32_t>(static_cast<std::uint32_t>(value) + static_cast<std::uint32_t>(delta));
}

bool IsAcceptedSpinChar(char ch, char decimalSeparator, bool editorEnabled)
{
    const auto code = static_cast<unsigned char>(ch);
    bool accepted = ch == '+' || ch == '-' || (ch >= '0' && ch <= '9') || ch == decimalSeparator ||
                    (code < 32 && code != 13);
    if (accepted && !editorEnabled && (code >= 32 || code == 8))
        accepted = false;
    return accepted;
}
