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

} // namespace odrivo
