#include "store/partnerships.h"

#include "store/text_codec.h"

#include <algorithm>
#include <fstream>
#include <sstream>

namespace {

std::string_view trimmed(std::string_view s) {
    const auto blank = [](char c) { return c == ' ' || c == '\t' || c == '\r'; };
    while (!s.empty() && blank(s.front()))
        s.remove_prefix(1);
    while (!s.empty() && blank(s.back()))
        s.remove_suffix(1);
    return s;
}

bool sameName(std::string_view a, std::string_view b) {
    return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
               return odrivo::asciiLower(x) == odrivo::asciiLower(y);
           });
}

} // namespace

std::optional<std::vector<Partnership>> CPartnerships::read(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    if (!in)
        return std::nullopt;
    std::ostringstream bytes;
    bytes << in.rdbuf();
    if (in.bad())
        return std::nullopt;

    std::vector<Partnership> partners;
    std::vector<std::string> sections;
    bool inRepeatedSection = false;
    bool haveFolder = false;
    std::istringstream lines(odrivo::cp1252ToUtf8(bytes.str()));
    std::string rawLine;
    while (std::getline(lines, rawLine)) {
        const std::string_view line = trimmed(rawLine);
        if (line.starts_with('[')) {
            const std::size_t close = line.find(']');
            const std::string name(trimmed(line.substr(1, close == std::string_view::npos ? line.npos : close - 1)));
            // A section named twice is one partnership, as the INI rules make it.
            inRepeatedSection = std::any_of(sections.begin(), sections.end(),
                                            [&](const std::string& known) { return sameName(known, name); });
            if (!inRepeatedSection) {
                sections.push_back(name);
                partners.emplace_back();
                haveFolder = false;
            }
            continue;
        }
        const std::size_t equals = line.find('=');
        if (partners.empty() || inRepeatedSection || line.starts_with(';') || equals == std::string_view::npos)
            continue;
        const std::string_view key = trimmed(line.substr(0, equals));
        const std::string value(trimmed(line.substr(equals + 1)));
        Partnership& partner = partners.back();
        if (sameName(key, "DisplayName") && !partner.displayName)
            partner.displayName = value;
        else if (sameName(key, "DataFolder") && !haveFolder) {
            partner.dataFolder = value;
            haveFolder = true;
        }
    }
    for (Partnership& partner : partners)
        if (partner.displayName && partner.displayName->empty())
            partner.displayName.reset();
    return partners;
}

std::string CPartnerships::syncFolder(std::string_view dataFolder, std::string_view displayName,
                                      std::string_view profileFolder) {
    const std::size_t at = dataFolder.find("Application Data/Microsoft/ActiveSync");
    const std::string_view base = at != std::string_view::npos && at > 0 ? dataFolder.substr(0, at) : profileFolder;
    std::string folder(base);
    folder += "My Documents/";
    folder += displayName;
    folder += " My Documents/Odrivo Files/";
    return folder;
}
