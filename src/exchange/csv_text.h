#pragma once
// The text of a CSV file as UTF-8, whatever wrote it: a file that starts with a UTF-16
// byte-order mark (little- or big-endian, as spreadsheets save "Unicode text") is decoded
// from UTF-16; every other file keeps the rule of the program's other text files (a UTF-8
// byte-order mark or valid UTF-8 is UTF-8, anything else Windows-1252).

#include <string>
#include <string_view>

namespace odrivo {

std::string csvTextToUtf8(std::string_view bytes);

} // namespace odrivo
