#pragma once
// How the entry dialogs show and read a number in an edit field: up to 12 significant digits,
// without trailing zeros, always with a '.' point. Twelve digits hold any odometer to the
// tenth while hiding the binary noise of a difference such as 44250 - 43895.2.

#include <optional>
#include <string>
#include <string_view>

namespace odrivo {

std::string editNumberText(double value);

// The number an edit field holds: the whole text, blanks around it allowed, a '.' point and
// an optional sign; nothing when the text is empty or holds anything else.
std::optional<double> parseEditNumber(std::string_view text);

// The plain decimal at the start of a text ([sign] digits [. digits], leading white space
// skipped, a '.' point whatever the user's locale says); 0 when the text does not start
// with one or starts with another form strtod would take ("inf", "nan", "0x10", "1e5").
// `used`, when given, receives how many characters it took (0 when none).
double leadingNumber(std::string_view text, std::size_t* used = nullptr);

} // namespace odrivo
