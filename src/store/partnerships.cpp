#include "store/partnerships.h"

#include "store/profile_file.h"

std::optional<std::vector<Partnership>> CPartnerships::read(const std::string& path) {
    const CProfileFile file(path);
    const auto sections = file.sectionNames();
    if (!sections)
        return std::nullopt;
    std::vector<Partnership> partners;
    for (const std::string& section : *sections) {
        Partnership& partner = partners.emplace_back();
        if (std::string name = file.getText(section, "DisplayName"); !name.empty())
            partner.displayName = std::move(name);
        partner.dataFolder = file.getText(section, "DataFolder");
    }
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
