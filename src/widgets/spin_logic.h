#pragma once
// What the spin edit decides without a window: clamping, stepping with 32-bit wrap-around, and which
// typed characters it takes.
#include <cstdint>

// V itself when the limits are equal (no limits), else V put inside [minValue, maxValue].
std::int32_t ClampSpinValue(std::int32_t v, std::int32_t minValue, std::int32_t maxValue);
// value + delta in 32-bit two's complement, without an overflow check.
std::int32_t WrappingAdd(std::int32_t value, std::int32_t delta);
// Digits, signs, the decimal separator and control characters other than Enter; with the editor
// disabled, nothing printable and no backspace.
bool IsAcceptedSpinChar(char ch, char decimalSeparator, bool editorEnabled);
