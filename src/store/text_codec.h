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

// True when the bytes are well-formed UTF-8 (no overlong forms, surrogates or values past U+10FFFF).
bool isValidUtf8(std::string_view bytes);
// The text of a file whose encoding is not recorded: UTF-8 as it is when the file starts
// with a UTF-8 byte-order mark or its bytes are valid UTF-8, Windows-1252 otherwise.
// Either way every character is kept; nothing becomes U+FFFD.
std::string guessedTextToUtf8(std::string_view bytes);

// The number of characters (code points) of a UTF-8 text, as the fields' limits count them.
std::size_t utf8Length(std::string_view utf8);
// The first `count` characters of a UTF-8 text; a character's bytes stay together.
std::string utf8Prefix(std::string_view utf8, std::size_t count);

// The ASCII letter in lower case; every other byte as it is (names compare this way).
inline char asciiLower(char c) {
    return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
}

} // namespace odrivo
