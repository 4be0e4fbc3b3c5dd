#pragma once
// CLocaleInfo is what the program takes from the user's locale: the short date format
// (always with a four-digit year), the time format without seconds and the currency symbol. CLibcLocale reads them from
// the C library's locale (nl_langinfo, localeconv); under the "C" locale, or where the
// locale says nothing, dates are month/day/year with '/', times hours:minutes, money "$".
// Tests use fixed implementations.

#include "store/dv_item.h"

#include <string>
#include <string_view>

class CLocaleInfo {
public:
    virtual ~CLocaleInfo() = default;
    // The date of `t` (local time) in the short date format.
    virtual std::string shortDate(DVTime t) const = 0;
    // The time of day of `t` (local time) without seconds.
    virtual std::string timeOfDay(DVTime t) const = 0;
    // The locale's currency symbol as UTF-8 ("" when it has none).
    virtual std::string currencySymbol() const = 0;

    // The symbol when it has at most `maxChars` characters, else "$".
    std::string currencySymbol(std::size_t maxChars) const;
    // The date and time of `t` as the list and the backup stamp show it: short date, blank, time.
    std::string dateAndTime(DVTime t) const { return shortDate(t) + " " + timeOfDay(t); }

    // A strftime date format as a date picker's pattern: d/dd day, M/MM/MMM/MMMM month,
    // yyyy year, other text quoted ("%d.%m.%Y" -> "dd.MM.yyyy"). Every year is four digits,
    // so pickers show the same dates as the list.
    static std::string datePatternFrom(std::string_view strftimeFormat);
};

class CLibcLocale : public CLocaleInfo {
public:
    // Reads the formats of the current C locale (call setlocale(LC_ALL, "") first to follow the user's).
    CLibcLocale();

    std::string shortDate(DVTime t) const override;
    std::string timeOfDay(DVTime t) const override;
    std::string currencySymbol() const override { return m_currency; }
    using CLocaleInfo::currencySymbol; // keep the length-limited overload visible
    // The user's decimal point and thousands separator as UTF-8, for reading numbers typed in
    // other programs ("." and "" where the locale says nothing).
    const std::string& decimalPoint() const { return m_decimalPoint; }
    const std::string& thousandsSeparator() const { return m_thousandsSeparator; }

    const std::string& dateFormat() const { return m_dateFormat; }
    const std::string& timeFormat() const { return m_timeFormat; }
    // The date format as a date picker's pattern (datePatternFrom).
    std::string datePattern() const { return datePatternFrom(m_dateFormat); }

    // How the constructor turns what the C library says into the three values; public so
    // that they can be checked for locales the machine does not have installed.
    // The strftime date format for a locale's D_FMT with every year four digits ("%y" and
    // "%D" widened); "%m/%d/%Y" for an empty D_FMT and for the "C" and "POSIX" locales.
    static std::string dateFormatFrom(std::string_view dFmt, std::string_view localeName);
    // A locale's T_FMT without the seconds and their separator ("%H:%M:%S" -> "%H:%M",
    // "%r" with T_FMT_AMPM "%I:%M:%S %p" -> "%I:%M %p"); "%H:%M" when nothing usable is left.
    static std::string timeFormatFrom(std::string_view tFmt, std::string_view tFmtAmPm);
    // localeconv()'s currency symbol in the locale's `codeset`, as UTF-8; "$" for an empty one.
    static std::string currencyFrom(std::string_view symbol, std::string_view codeset);

private:
    std::string m_dateFormat;
    std::string m_timeFormat;
    std::string m_currency;
    std::string m_decimalPoint = ".";
    std::string m_thousandsSeparator;
};
