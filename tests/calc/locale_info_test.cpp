#include "calc/locale_info.h"

#include "fixed_locale.h"

#include <gtest/gtest.h>

#include <clocale>

namespace {

struct FormatCase {
    const char* in;
    const char* extra;
    const char* out;
};

// clang-format off
TEST(LocaleInfo, TimeFormatLosesTheSecondsAndTheirSeparator) {
    // Japanese times put a unit word after the seconds; it goes with them.
    const FormatCase cases[] = {{"%H:%M:%S", "", "%H:%M"}, {"%T", "", "%H:%M"}, {"%r", "%I:%M:%S %p", "%I:%M %p"},
        {"%r", "", "%I:%M %p"}, {"%p %I:%M:%S", "", "%p %I:%M"}, {"%H.%M.%S", "", "%H.%M"}, {"%k:%M:%OS", "", "%k:%M"},
        {"%H:%M", "", "%H:%M"}, {"%S", "", "%H:%M"}, {"", "", "%H:%M"}, {"100%% %H:%M:%S", "", "100%% %H:%M"},
        {"%I:%M:%S %p", "", "%I:%M %p"}, {"%H\u6642%M\u5206%S\u79d2", "", "%H\u6642%M\u5206"}};
    for (const FormatCase& c : cases)
        EXPECT_EQ(CLibcLocale::timeFormatFrom(c.in, c.extra), c.out) << c.in;
}

// The date format always has a four-digit year (an era year is no century year), and the
// pickers' pattern shows the same date; a pattern with nothing of a date falls back.
TEST(LocaleInfo, DateFormatHasAFourDigitYearInTheListAndThePickers) {
    const FormatCase cases[] = {{"%m/%d/%y", "C", "%m/%d/%Y"}, {"%m/%d/%y", "POSIX", "%m/%d/%Y"},
        {"%m/%d/%y", "C.UTF-8", "%m/%d/%Y"}, {"", "de_DE.UTF-8", "%m/%d/%Y"}, {"%d.%m.%Y", "de_DE.UTF-8", "%d.%m.%Y"},
        {"%d/%m/%y", "en_GB.UTF-8", "%d/%m/%Y"}, {"%D", "xx_XX", "%m/%d/%Y"}, {"%Ey", "ja_JP", "%Ey"}};
    for (const FormatCase& c : cases)
        EXPECT_EQ(CLibcLocale::dateFormatFrom(c.in, c.extra), c.out) << c.in << " / " << c.extra;

    const FormatCase patterns[] = {{"%m/%d/%Y", "", "MM/dd/yyyy"}, {"%d.%m.%y", "", "dd.MM.yyyy"},
        {"%-d.%-m.%Y", "", "d.M.yyyy"}, {"%e %b %Y", "", "d MMM yyyy"}, {"%F", "", "yyyy-MM-dd"},
        {"%D", "", "MM/dd/yyyy"}, {"%d de %B", "", "dd' de 'MMMM"}, {"%d'%m", "", "dd''''MM"},
        {"%Y\ub144 %m\uc6d4", "", "yyyy'\ub144 'MM'\uc6d4'"}, {"%H:%M", "", "MM/dd/yyyy"},
        {"%d%%%m/%Y", "", "dd%MM/yyyy"}};
    for (const FormatCase& c : patterns)
        EXPECT_EQ(CLocaleInfo::datePatternFrom(c.in), c.out) << c.in;
}

TEST(LocaleInfo, CurrencySymbolBecomesUtf8AndIsCutByCharacters) {
    // A character set iconv does not know is read as Windows-1252.
    const FormatCase symbols[] = {{"", "UTF-8", "$"}, {"\u20ac", "UTF-8", "\u20ac"}, {"\xa4", "ISO-8859-15", "\u20ac"},
        {"K\xe8", "ISO-8859-2", "K\u010d"}, {"\x80", "NO-SUCH-SET", "\u20ac"}};
    for (const FormatCase& c : symbols)
        EXPECT_EQ(CLibcLocale::currencyFrom(c.in, c.extra), c.out) << c.extra;
    const FormatCase cut[] = {{"\u20ac", "1", "\u20ac"}, {"kr", "1", "$"}, {"kr", "2", "kr"}, {"", "2", "$"},
        {"\u0e3f\u20ac", "2", "\u0e3f\u20ac"}};
    for (const FormatCase& c : cut)
        EXPECT_EQ(FixedLocale(c.in).currencySymbol(std::stoul(c.extra)), c.out) << c.in << " / " << c.extra;
}
// clang-format on

TEST(LocaleInfo, CLocaleFormatsInLocalTime) {
    const TimeZone zone("EST5");
    for (const char* name : {"C", "C.UTF-8"}) {
        if (std::setlocale(LC_ALL, name) == nullptr)
            continue; // not every machine has C.UTF-8
        const CLibcLocale locale;
        // 5 March 2024 03:08 UTC is 4 March 22:08 five hours west.
        EXPECT_EQ(locale.dateAndTime(utcTime(2024, 3, 5, 3, 8, 59)), "03/04/2024 22:08") << name;
        EXPECT_EQ(locale.datePattern(), "MM/dd/yyyy") << name;
        EXPECT_EQ(locale.currencySymbol(), "$") << name;
    }
    std::setlocale(LC_ALL, "C");
}

} // namespace
