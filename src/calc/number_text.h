#pragma once
// How the entry dialogs show a number in an edit field: up to 12 significant digits,
// without trailing zeros, always with a '.' point. Twelve digits hold any odometer to the
// tenth while hiding the binary noise of a difference such as 44250 - 43895.2.

#include <string>

namespace odrivo {

std::string editNumberText(double value);

} // namespace odrivo
