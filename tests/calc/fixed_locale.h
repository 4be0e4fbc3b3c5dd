#pragma once
// Fixed locale and time helpers for the tests: day.month.year dates and 24-hour times taken in
// UTC, so that cell texts do not depend on the machine's time zone, and a scoped time zone for
// the code that works in local time.

#include "calc/locale_info.h"

#include <cstdlib>
#include <ctime>
#include <string>

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
        char buffer[64];
        return std::string(buffer, std::strftime(buffer, sizeof buffer, pattern, ::gmtime_r(&seconds, &parts)));
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
    explicit TimeZone(const char* zone) : m_old(std::getenv("TZ") ? std::getenv("TZ") : "") {
        ::setenv("TZ", zone, 1), ::tzset();
    }
    ~TimeZone() {
        m_old.empty() ? ::unsetenv("TZ") : ::setenv("TZ", m_old.c_str(), 1);
        ::tzset();
    }
    TimeZone(const TimeZone&) = delete;
    TimeZone& operator=(const TimeZone&) = delete;

private:
    std::string m_old;
};
