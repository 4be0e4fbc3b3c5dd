#pragma once
// Conversions between the program's in-memory text (UTF-8) and the on-disk forms its
// files use: Windows-1252 single bytes and, in the data file's wide-string form, UTF-16.
// Every file reader and writer converts here, at the boundary, and nowhere else.

#include <string>
#include <string_view>

namespace odrivo {

// Windows-1252 bytes to UTF-8. Every byte maps to some character (the five bytes the
// code page leaves undefined map to the C1 control of the same value), so this never fails.
std::string cp1252ToUtf8(std::string_view bytes);

// UTF-8 to Windows-1252. Characters the code page cannot hold become '?'.
// When `lossless` is given it is set to false if any character was replaced.
std::string utf8ToCp1252(std::string_view utf8, bool* lossless = nullptr);

// True when every character of the UTF-8 text has a Windows-1252 byte.
bool fitsCp1252(std::string_view utf8);

// UTF-8 <-> UTF-16. Malformed UTF-8 sequences and lone surrogates become U+FFFD.
std::u16string utf8ToUtf16(std::string_view utf8);
std::string utf16ToUtf8(std::u16string_view utf16);

} // namespace odrivo
