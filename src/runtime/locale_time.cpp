#include "runtime/locale_time.h"

namespace {

std::string LocaleItem(LCID locale, LCTYPE item, const char* fallback)
{
    char buffer[128] = {};
    if (GetLocaleInfoA(locale, item, buffer, sizeof(buffer)) <= 0)
        return fallback;
    return buffer;
}

struct TDefaultTime {
    TTimeSettings settings;
    std::string format;
};

const TDefaultTime& DefaultTime()
{
    static const TDefaultTime time = [] {
        TDefaultTime t;
        t.settings = LocaleTimeSettings(GetThreadLocale());
        t.format = LongTimeFormat(t.settings);
        return t;
    }();
    return time;
}

}  // namespace

TTimeSettings LocaleTimeSettings(LCID locale)
{
    TTimeSettings s;
    s.LeadingZero = LocaleItem(locale, LOCALE_ITLZERO, "0") != "0";
    s.TwelveHour = LocaleItem(locale, LOCALE_ITIME, "1") == "0";
    s.DesignatorFirst = LocaleItem(locale, LOCALE_ITIMEMARKPOSN, "0") != "0";
    s.Separator = LocaleItem(locale, LOCALE_STIME, ":");
    s.AM = LocaleItem(locale, LOCALE_S1159, "am");
    s.PM = LocaleItem(locale, LOCALE_S2359, "pm");
    return s;
}

const TTimeSettings& DefaultTimeSettings()
{
    return DefaultTime().settings;
}

const std::string& DefaultLongTimeFormat()
{
    return DefaultTime().format;
}

std::string LongTimeText(const SYSTEMTIME& time)
{
    return FormatTime(DefaultLongTimeFormat(), DefaultTimeSettings(), time.wHour, time.wMinute, time.wSecond);
}
