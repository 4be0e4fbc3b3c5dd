#include "calc/number_text.h"

#include <charconv>

namespace odrivo {

std::string editNumberText(double value) {
    char buffer[64];
    const auto [end, error] = std::to_chars(buffer, buffer + sizeof buffer, value, std::chars_format::general, 12);
    return error == std::errc() ? std::string(buffer, end) : std::string("0");
}

} // namespace odrivo
