#include "calc/locale_info.h"

#include "fixed_locale.h"

#include <gtest/gtest.h>

#include <clocale>
#include <string>

namespace {

TEST(LocaleInfo, TimeFormatLosesTheSecondsAndTheirSeparator) {
    struct TimeCase {
        const char* tFmt;
        const char* tFmtAmPm;
        const char* format;
    };
    const TimeCase cases[] = {
        {"%H:%M:%S", "", "%H:%M"},
        {"%T", "", "%H:%M"},
        {"%r", "%I:%M:%S %p", "%I:%M %p"},
        {"%r", "", "%I:%M %p"},
        {"%I:%M:%S %p", "", "%I:%M %p"},
        {"%p %I:%M:%S", "", "%p %I:%M"},
        {"%H.%M.%S", "", "%H.%M"},
        {"%k:%M:%OS", "", "%k:%M"},
        {"%H\u6642%M\u5206%S\u79d2", "", "%H\u6642%M\u5206"}, // the unit word follows the seconds
        {"%H:%M", "", "%H:%M"},
        {"%S", "", "%H:%M"},
        {"", "", "%H:%M"},
        {"100%% %H:%M:%S", "", "100%% %H:%M"},
    };
    for (const TimeCase& c : cases)
        EXPECT_EQ(CLibcLocale::timeFormatFrom(c.tFmt, c.tFmtAmPm), c.format) << c.tFmt;
}

TEST(LocaleInfo, DateFormatFallsBackForTheCLocale) {
    EXPECT_EQ(CLibcLocale::dateFormatFrom("%m/%d/%y", "C"), "%m/%d/%Y");
    EXPECT_EQ(CLibcLocale::dateFormatFrom("%m/%d/%y", "POSIX"), "%m/%d/%Y");
    EXPECT_EQ(CLibcLocale::dateFormatFrom("%m/%d/%y", "C.UTF-8"), "%m/%d/%Y");
    EXPECT_EQ(CLibcLocale::dateFormatFrom("", "de_DE.UTF-8"), "%m/%d/%Y");
    EXPECT_EQ(CLibcLocale::dateFormatFrom("%d.%m.%Y", "de_DE.UTF-8"), "%d.%m.%Y");
    EXPECT_EQ(CLibcLocale::dateFormatFrom("%d/%m/%y", "en_GB.UTF-8"), "%d/%m/%y");
}

TEST(LocaleInfo, CurrencySymbolBecomesUtf8) {
    EXPECT_EQ(CLibcLocale::currencyFrom("", "UTF-8"), "$");
    EXPECT_EQ(CLibcLocale::currencyFrom("\u20ac", "UTF-8"), "\u20ac");
    EXPECT_EQ(CLibcLocale::currencyFrom("kr", "ISO-8859-1"), "kr");
    EXPECT_EQ(CLibcLocale::currencyFrom("\xa4", "ISO-8859-15"), "\u20ac");
    EXPECT_EQ(CLibcLocale::currencyFrom("\xa3", "ISO-8859-1"), "\u00a3");
    EXPECT_EQ(CLibcLocale::currencyFrom("K\xe8", "ISO-8859-2"), "K\u010d");
    // A character set iconv does not know is read as Windows-1252.
    EXPECT_EQ(CLibcLocale::currencyFrom("\x80", "NO-SUCH-SET"), "\u20ac");
}

TEST(LocaleInfo, SymbolLengthCountsCharactersNotBytes) {
    struct SymbolCase {
        const char* symbol;
        std::size_t maxChars;
        const char* shown;
    };
    const SymbolCase cases[] = {
        {"\u20ac", 1, "\u20ac"},
        {"kr", 1, "$"},
        {"kr", 2, "kr"},
        {"Fr.", 2, "$"},
        {"Fr.", 3, "Fr."},
        {"", 2, "$"},
        {"\u0e3f\u20ac", 2, "\u0e3f\u20ac"},
    };
    for (const SymbolCase& c : cases)
        EXPECT_EQ(FixedLocale(c.symbol).currencySymbol(c.maxChars), c.shown) << c.symbol << " / " << c.maxChars;
}

TEST(LocaleInfo, CLocaleFormatsInLocalTime) {
    const TimeZone zone("EST5");
    for (const char* name : {"C", "C.UTF-8"}) {
        if (std::setlocale(LC_ALL, name) == nullptr)
            continue; // not every machine has C.UTF-8
        const CLibcLocale locale;
        EXPECT_EQ(locale.dateFormat(), "%m/%d/%Y") << name;
        // 5 March 2024 03:08 UTC is 4 March 22:08 five hours west.
        const DVTime t = utcTime(2024, 3, 5, 3, 8, 59);
        EXPECT_EQ(locale.shortDate(t), "03/04/2024") << name;
        EXPECT_EQ(locale.timeOfDay(t), "22:08") << name;
        EXPECT_EQ(locale.currencySymbol(), "$") << name;
    }
    std::setlocale(LC_ALL, "C");
}

} // namespace
