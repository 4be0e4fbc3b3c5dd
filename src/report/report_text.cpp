#include "report/report_text.h"

#include <cstdarg>
#include <cstdio>
#include <vector>

namespace reporttext {

namespace {

bool isContinuation(char c) {
    return (static_cast<unsigned char>(c) & 0xc0) == 0x80;
}

// The byte offset at which character number `count` starts (the size when there are fewer).
std::size_t offsetOfCharacter(const std::string& text, std::size_t count) {
    std::size_t offset = 0;
    for (std::size_t seen = 0; offset < text.size(); ++offset) {
        if (!isContinuation(text[offset]) && seen++ == count)
            return offset;
    }
    return text.size();
}

} // namespace

std::size_t characterCount(const std::string& text) {
    std::size_t count = 0;
    for (char c : text)
        count += isContinuation(c) ? 0 : 1;
    return count;
}

std::string leadingCharacters(const std::string& text, std::size_t count) {
    return text.substr(0, offsetOfCharacter(text, count));
}

std::string fitBytes(const std::string& text, std::size_t maxBytes) {
    if (text.size() <= maxBytes)
        return text;
    std::size_t end = maxBytes;
    while (end > 0 && isContinuation(text[end]))
        --end;
    return text.substr(0, end);
}

std::string padLeft(const std::string& text, std::size_t width) {
    const std::size_t count = characterCount(text);
    return count >= width ? text : std::string(width - count, ' ') + text;
}

std::string format(const char* format, ...) {
    va_list args;
    va_start(args, format);
    va_list copy;
    va_copy(copy, args);
    const int length = std::vsnprintf(nullptr, 0, format, copy);
    va_end(copy);
    std::string text;
    if (length > 0) {
        std::vector<char> buffer(static_cast<std::size_t>(length) + 1);
        std::vsnprintf(buffer.data(), buffer.size(), format, args);
        text.assign(buffer.data(), static_cast<std::size_t>(length));
    }
    va_end(args);
    return text;
}

std::string shortened(const std::string& text, std::size_t room) {
    if (characterCount(text) <= room)
        return text;
    return leadingCharacters(text, room < 3 ? 0 : room - 3) + "...";
}

} // namespace reporttext
