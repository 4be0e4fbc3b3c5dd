#pragma once
// Fixed locale and time helpers for the tests: a locale with day.month.year dates and
// 24-hour times taken in UTC, so that cell texts do not depend on the machine's time zone,
// and a scoped time zone for the code that works in local time.

#include "calc/locale_info.h"

#include <cstdlib>
#include <ctime>
#include <optional>
#include <string>
#include <utility>

class FixedLocale : public CLocaleInfo {
public:
    explicit FixedLocale(std::string currency = "\u20ac") : m_currency(std::move(currency)) {}

    std::string shortDate(DVTime t) const override { return format("%d.%m.%Y", t); }
    std::string timeOfDay(DVTime t) const override { return format("%H:%M", t); }
    std::string currencySymbol() const override { return m_currency; }
    using CLocaleInfo::currencySymbol;

private:
    static std::string format(const char* pattern, DVTime t) {
        const auto seconds = static_cast<std::time_t>(t);
        std::tm parts{};
        ::gmtime_r(&seconds, &parts);
        char buffer[64];
        return std::string(buffer, std::strftime(buffer, sizeof buffer, pattern, &parts));
    }

    std::string m_currency;
};

// Seconds of a UTC calendar time.
inline DVTime utcTime(int year, int month, int day, int hour = 0, int minute = 0, int second = 0) {
    std::tm parts{};
    parts.tm_year = year - 1900, parts.tm_mon = month - 1, parts.tm_mday = day, parts.tm_hour = hour;
    parts.tm_min = minute, parts.tm_sec = second;
    return static_cast<DVTime>(::timegm(&parts));
}

// Sets the process's time zone for one test and puts the old one back afterwards.
class TimeZone {
public:
    explicit TimeZone(const char* zone) {
        if (const char* old = std::getenv("TZ"))
            m_old = old;
        ::setenv("TZ", zone, 1);
        ::tzset();
    }
    ~TimeZone() {
        if (m_old)
            ::setenv("TZ", m_old->c_str(), 1);
        else
            ::unsetenv("TZ");
        ::tzset();
    }
    TimeZone(const TimeZone&) = delete;
    TimeZone& operator=(const TimeZone&) = delete;

private:
    std::optional<std::string> m_old;
};
