#include "store/app_profile.h"

#include "store/file_io.h"

namespace {

constexpr char kHexDigits[] = "0123456789ABCDEF";

int hexValue(char c) {
    if (c >= '0' && c <= '9')
        return c - '0';
    if (c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    if (c >= 'a' && c <= 'f')
        return c - 'a' + 10;
    return -1;
}

} // namespace

CAppProfile::CAppProfile(std::string iniPath) : m_file(std::move(iniPath)) {}

std::string CAppProfile::keyName(const ProfileKey& key, int index) {
    std::string name = key.name;
    if (const auto pos = name.find("%d"); pos != std::string::npos)
        name.replace(pos, 2, std::to_string(index));
    return name;
}

std::string CAppProfile::getText(const ProfileKey& key) const {
    return m_file.getText(key.section, key.name, key.defaultText);
}

std::string CAppProfile::getText(const ProfileKey& key, std::string_view def) const {
    return m_file.getText(key.section, key.name, def);
}

std::string CAppProfile::getText(const ProfileKey& key, int index) const {
    return m_file.getText(key.section, keyName(key, index), key.defaultText);
}

int CAppProfile::getNumber(const ProfileKey& key) const {
    return m_file.getInt(key.section, key.name, key.defaultNumber);
}

int CAppProfile::getNumber(const ProfileKey& key, int index) const {
    return m_file.getInt(key.section, keyName(key, index), key.defaultNumber);
}

std::vector<std::uint8_t> CAppProfile::getBinary(const ProfileKey& key) const {
    const std::string text = m_file.getText(key.section, key.name);
    std::vector<std::uint8_t> bytes;
    if (text.size() % 2 != 0)
        return bytes;
    bytes.reserve(text.size() / 2);
    for (std::size_t i = 0; i < text.size(); i += 2) {
        const int high = hexValue(text[i]);
        const int low = hexValue(text[i + 1]);
        if (high < 0 || low < 0)
            return {};
        bytes.push_back(static_cast<std::uint8_t>(high * 16 + low));
    }
    return bytes;
}

bool CAppProfile::putText(const ProfileKey& key, std::string_view value) {
    return prepareFolder() && reportIfFailed(m_file.putText(key.section, key.name, value));
}

bool CAppProfile::putText(const ProfileKey& key, int index, std::string_view value) {
    return prepareFolder() && reportIfFailed(m_file.putText(key.section, keyName(key, index), value));
}

bool CAppProfile::putNumber(const ProfileKey& key, int value) {
    return prepareFolder() && reportIfFailed(m_file.putInt(key.section, key.name, value));
}

bool CAppProfile::putNumber(const ProfileKey& key, int index, int value) {
    return prepareFolder() && reportIfFailed(m_file.putInt(key.section, keyName(key, index), value));
}

bool CAppProfile::putBinary(const ProfileKey& key, const std::vector<std::uint8_t>& value) {
    std::string text;
    text.reserve(value.size() * 2);
    for (const std::uint8_t byte : value) {
        text += kHexDigits[byte >> 4];
        text += kHexDigits[byte & 0x0F];
    }
    return putText(key, text);
}

bool CAppProfile::batch(const std::function<bool()>& steps) {
    return prepareFolder() && reportIfFailed(m_file.batch(steps));
}

bool CAppProfile::deleteSection(std::string_view section) {
    return reportIfFailed(m_file.deleteSection(section));
}

// On a first run the profile's folder does not exist yet.
bool CAppProfile::prepareFolder() {
    const std::string folder = odrivo::folderOf(m_file.file());
    if (folder.empty())
        return true;
    std::string reason;
    if (odrivo::ensureFolder(folder, &reason))
        return true;
    m_lastError = "cannot create the folder " + folder + ": " + reason;
    return false;
}

bool CAppProfile::reportIfFailed(bool ok) {
    if (!ok)
        m_lastError = m_file.lastError();
    return ok;
}
