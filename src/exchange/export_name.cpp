#include "exchange/export_name.h"

#include "store/text_codec.h"

#include <algorithm>

bool CExportName::isValid(const std::string& name) {
    // No name, or a folder's name, would write a hidden ".csv" file.
    if (name.empty() || name.back() == '/' || name.find_first_of("*?<>|") != std::string::npos)
        return false;
    // Characters, not bytes: a name in UTF-8 counts each letter once.
    return odrivo::utf8Length(name) < kMaxLength;
}

std::string CExportName::withCsvExtension(const std::string& name) {
    std::string lower = name;
    std::transform(lower.begin(), lower.end(), lower.begin(), odrivo::asciiLower);
    if (lower.find(".csv") != std::string::npos)
        return name;
    return name + ".csv";
}

std::string CExportName::defaultName(const std::string& folder, const std::string& vin) {
    return folder + vin + ".CSV";
}
