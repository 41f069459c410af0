#include "runtime/time_format.h"

#include <cstring>

std::string LongTimeFormat(const TTimeSettings& settings)
{
    std::string format;
    if (settings.TwelveHour && settings.DesignatorFirst)
        format += "AMPM ";
    format += settings.LeadingZero ? "hh" : "h";
    format += ":mm:ss";
    if (settings.TwelveHour && !settings.DesignatorFirst)
        format += " AMPM";
    return format;
}

namespace {

void AppendNumber(std::string& out, int value, bool twoDigits)
{
    if (twoDigits && value < 10)
        out += '0';
    out += std::to_string(value);
}

bool At(const std::string& text, size_t i, const char* token)
{
    return text.compare(i, std::strlen(token), token) == 0;
}

}  // namespace

std::string FormatTime(const std::string& format, const TTimeSettings& settings, int hour, int minute, int second)
{
    // A designator anywhere in the format puts the hour on the 12-hour clock.
    const bool twelve = format.find("AMPM") != std::string::npos;
    int shownHour = hour;
    if (twelve) {
        shownHour = hour % 12;
        if (shownHour == 0)
            shownHour = 12;
    }
    std::string out;
    for (size_t i = 0; i < format.size();) {
        if (At(format, i, "AMPM")) {
            out += hour < 12 ? settings.AM : settings.PM;
            i += 4;
        } else if (At(format, i, "hh")) {
            AppendNumber(out, shownHour, true);
            i += 2;
        } else if (At(format, i, "h")) {
            AppendNumber(out, shownHour, false);
            i += 1;
        } else if (At(format, i, "mm")) {
            AppendNumber(out, minute, true);
            i += 2;
        } else if (At(format, i, "ss")) {
            AppendNumber(out, second, true);
            i += 2;
        } else if (format[i] == ':') {
            out += settings.Separator;
            i += 1;
        } else {
            out += format[i];
            i += 1;
        }
    }
    return out;
}
