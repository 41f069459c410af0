// The long time format of real locales, set on the thread as a user's system would have them, against
// texts worked out by hand from each locale's time items.
#include <gtest/gtest.h>

#include <windows.h>

#include "runtime/locale_time.h"

namespace {

// Sets the thread's locale for one test and puts the old one back.
class ThreadLocale {
public:
    explicit ThreadLocale(LANGID language) : old_(GetThreadLocale())
    {
        EXPECT_TRUE(SetThreadLocale(MAKELCID(language, SORT_DEFAULT)));
    }
    ~ThreadLocale() { SetThreadLocale(old_); }
    ThreadLocale(const ThreadLocale&) = delete;
    ThreadLocale& operator=(const ThreadLocale&) = delete;

private:
    LCID old_;
};

struct Case {
    const char* name;
    LANGID language;
    const char* format;
    const char* at000507;
    const char* at090507;
    const char* at210507;
};

}  // namespace

TEST(LocaleTime, LongTimeOfRealLocales)
{
    const Case cases[] = {
        // Polish: leading zero, 24-hour clock, ":".
        {"Polish", 0x0415, "hh:mm:ss", "00:05:07", "09:05:07", "21:05:07"},
        // English (United States): no leading zero, 12-hour clock, "AM"/"PM" after the time.
        {"English (US)", 0x0409, "h:mm:ss AMPM", "12:05:07 AM", "9:05:07 AM", "9:05:07 PM"},
        // Korean: no leading zero, 12-hour clock, the designator first. The designators are "AM" and "PM" in
        // Wine's locale data, which these tests run on (Windows has the Korean words there).
        {"Korean", 0x0412, "AMPM h:mm:ss", "AM 12:05:07", "AM 9:05:07", "PM 9:05:07"},
        // Finnish: no leading zero, 24-hour clock, "." between the parts.
        {"Finnish", 0x040B, "h:mm:ss", "0.05.07", "9.05.07", "21.05.07"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        ThreadLocale locale(c.language);
        const TTimeSettings s = LocaleTimeSettings(GetThreadLocale());
        const std::string format = LongTimeFormat(s);
        EXPECT_EQ(format, c.format);
        EXPECT_EQ(FormatTime(format, s, 0, 5, 7), c.at000507);
        EXPECT_EQ(FormatTime(format, s, 9, 5, 7), c.at090507);
        EXPECT_EQ(FormatTime(format, s, 21, 5, 7), c.at210507);
    }
}

TEST(LocaleTime, ProgramFormatIsThePolishOneFromStart)
{
    // The tests run with the Polish locale, as the program does on a Polish system.
    ASSERT_EQ(PRIMARYLANGID(LANGIDFROMLCID(GetThreadLocale())), LANG_POLISH);
    EXPECT_EQ(DefaultLongTimeFormat(), "hh:mm:ss");
    SYSTEMTIME t{};
    t.wHour = 7;
    t.wMinute = 8;
    t.wSecond = 9;
    EXPECT_EQ(LongTimeText(t), "07:08:09");
    // Built once: a later change of the thread's locale does not change it.
    ThreadLocale english(0x0409);
    t.wHour = 19;
    EXPECT_EQ(LongTimeText(t), "19:08:09");
}
