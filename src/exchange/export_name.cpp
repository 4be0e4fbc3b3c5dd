#include "exchange/export_name.h"

#include <algorithm>

namespace {

// Characters, not bytes: a name in UTF-8 counts each letter once.
std::size_t characterCount(const std::string& text) {
    return static_cast<std::size_t>(
        std::count_if(text.begin(), text.end(), [](char c) { return (static_cast<unsigned char>(c) & 0xC0) != 0x80; }));
}

} // namespace

bool CExportName::isValid(const std::string& name) {
    // No name, or a folder's name, would write a hidden ".csv" file.
    if (name.empty() || name.back() == '/' || name.find_first_of("*?<>|") != std::string::npos)
        return false;
    return characterCount(name) < kMaxLength;
}

std::string CExportName::withCsvExtension(const std::string& name) {
    std::string lower = name;
    std::transform(lower.begin(), lower.end(), lower.begin(),
                   [](char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; });
    if (lower.find(".csv") != std::string::npos)
        return name;
    return name + ".csv";
}

std::string CExportName::defaultName(const std::string& folder, const std::string& vin) {
    return folder + vin + ".CSV";
}
