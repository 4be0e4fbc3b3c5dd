#include "exchange/csv_text.h"

#include "store/text_codec.h"

namespace odrivo {

std::string csvTextToUtf8(std::string_view bytes) {
    const bool little = bytes.starts_with("\xFF\xFE");
    if (!little && !bytes.starts_with("\xFE\xFF"))
        return guessedTextToUtf8(bytes);
    std::u16string units;
    units.reserve(bytes.size() / 2);
    // The mark itself is no part of the text; an odd last byte cannot be a character and is dropped.
    for (std::size_t i = 2; i + 1 < bytes.size(); i += 2) {
        const auto first = static_cast<unsigned char>(bytes[i]);
        const auto second = static_cast<unsigned char>(bytes[i + 1]);
        units.push_back(static_cast<char16_t>(little ? first | second << 8 : first << 8 | second));
    }
    return utf16ToUtf8(units);
}

} // namespace odrivo
