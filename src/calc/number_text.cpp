#include "calc/number_text.h"

#include <charconv>
#include <cmath>
#include <cstdlib>
#include <locale.h>

namespace odrivo {

namespace {

// The user's locale may use a decimal comma; numbers in our texts and files always use the point.
locale_t cLocale() {
    static const locale_t locale = ::newlocale(LC_ALL_MASK, "C", static_cast<locale_t>(nullptr));
    return locale;
}

} // namespace

double leadingNumber(std::string_view text, std::size_t* used) {
    const std::string copy(text);
    char* end = nullptr;
    const locale_t c = cLocale();
    const double value = c ? ::strtod_l(copy.c_str(), &end, c) : std::strtod(copy.c_str(), &end);
    if (used)
        *used = static_cast<std::size_t>(end - copy.c_str());
    return value;
}

std::string editNumberText(double value) {
    char buffer[64];
    const auto [end, error] = std::to_chars(buffer, buffer + sizeof buffer, value, std::chars_format::general, 12);
    return error == std::errc() ? std::string(buffer, end) : std::string("0");
}

std::optional<double> parseEditNumber(std::string_view text) {
    const auto blank = [](char c) { return c == ' ' || c == '\t' || c == '\n' || c == '\r'; };
    while (!text.empty() && blank(text.front()))
        text.remove_prefix(1);
    while (!text.empty() && blank(text.back()))
        text.remove_suffix(1);
    if (!text.empty() && text.front() == '+')
        text.remove_prefix(1);
    if (text.empty())
        return std::nullopt;
    double value = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (error != std::errc() || end != text.data() + text.size() || !std::isfinite(value))
        return std::nullopt;
    return value;
}

} // namespace odrivo
