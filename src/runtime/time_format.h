#pragma once
// The long time format, built from a locale's time settings, and the formatting of a time of day with it.
#include <string>

// What a locale says of the time of day. The texts are single-byte, as the locale gives them.
struct TTimeSettings {
    bool LeadingZero = true;       // the hour with a leading zero
    bool TwelveHour = false;       // a 12-hour clock with a morning and an afternoon designator
    bool DesignatorFirst = false;  // the designator before the time rather than after it
    std::string Separator = ":";
    std::string AM = "AM";
    std::string PM = "PM";
};

// "AMPM " on a 12-hour clock with the designator first, "hh" or "h", ":mm:ss", " AMPM" on a
// 12-hour clock with the designator last.
std::string LongTimeFormat(const TTimeSettings& settings);

// "h" and "hh" the hour without and with a leading zero, "mm" and "ss" two-digit minutes and seconds,
// ":" the separator, "AMPM" the designator, which makes the hour count 1 to 12; the rest as it stands.
std::string FormatTime(const std::string& format, const TTimeSettings& settings, int hour, int minute, int second);
