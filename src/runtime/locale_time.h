#pragma once
// The time of day as the thread's locale writes it.
#include <windows.h>

#include <string>

#include "runtime/time_format.h"

// The time settings of a locale (leading zero, 12- or 24-hour clock, designator position, separator,
// morning and afternoon designators), read with GetLocaleInfoA.
TTimeSettings LocaleTimeSettings(LCID locale);

// The thread locale's settings and long time format, read on the first call (at program start) and kept.
const TTimeSettings& DefaultTimeSettings();
const std::string& DefaultLongTimeFormat();

// The time in the long time format of the thread's locale at start.
std::string LongTimeText(const SYSTEMTIME& time);
