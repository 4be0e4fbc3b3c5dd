#pragma once
// Text helpers of the printed reports. Data text is UTF-8, while printf precisions and the
// page engine's buffer count bytes; these cut and pad by whole characters instead, so a
// report never prints half a character.

#include <cstddef>
#include <string>

namespace reporttext {

// Longest text a report hands over for one "%s" that has no precision: two such fields on
// one line still leave room for the line's own words and numbers within the engine's 999.
inline constexpr std::size_t kFieldBytes = 400;

// The number of characters (not bytes) of `text`.
std::size_t characterCount(const std::string& text);
// The first `count` characters of `text`, as "%.<count>s" would cut a text of one-byte characters.
std::string leadingCharacters(const std::string& text, std::size_t count);
// At most `maxBytes` bytes of `text`, cut before a character that would not fit whole.
std::string fitBytes(const std::string& text, std::size_t maxBytes = kFieldBytes);
// `text` with blanks in front up to `width` characters, as "%<width>s" pads one-byte characters.
std::string padLeft(const std::string& text, std::size_t width);
// printf into a string of any length.
std::string format(const char* format, ...) __attribute__((format(printf, 1, 2)));
// `text` cut to `room` characters; a longer one keeps room - 3 characters and ends in "...".
std::string shortened(const std::string& text, std::size_t room);

} // namespace reporttext
