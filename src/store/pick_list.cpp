#include "store/pick_list.h"

#include "store/file_io.h"
#include "store/profile_file.h"

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <system_error>

namespace {

std::string lineKey(std::size_t n) {
    return "Line" + std::to_string(n);
}

// Decodes one code point at `pos` and moves past it. A malformed byte stands for itself,
// so every text still has one fixed place in the order.
char32_t nextCodePoint(std::string_view s, std::size_t& pos) {
    const auto lead = static_cast<unsigned char>(s[pos]);
    std::size_t length = 1;
    char32_t cp = lead;
    if (lead >= 0xC2 && lead <= 0xDF) {
        length = 2;
        cp = lead & 0x1Fu;
    } else if (lead >= 0xE0 && lead <= 0xEF) {
        length = 3;
        cp = lead & 0x0Fu;
    } else if (lead >= 0xF0 && lead <= 0xF4) {
        length = 4;
        cp = lead & 0x07u;
    }
    if (length > 1) {
        if (pos + length > s.size()) {
            length = 1;
            cp = lead;
        } else {
            for (std::size_t i = 1; i < length; ++i) {
                const auto b = static_cast<unsigned char>(s[pos + i]);
                if ((b & 0xC0u) != 0x80u) {
                    length = 1;
                    cp = lead;
                    break;
                }
                cp = (cp << 6) | (b & 0x3Fu);
            }
        }
    }
    pos += length;
    return cp;
}

// Lower case for the letters a list item can hold on disk (Windows-1252).
char32_t foldCase(char32_t cp) {
    if ((cp >= U'A' && cp <= U'Z') || (cp >= 0xC0 && cp <= 0xDE && cp != 0xD7))
        return cp + 0x20;
    switch (cp) {
    case 0x152: // OE
    case 0x160: // S caron
    case 0x17D: // Z caron
        return cp + 1;
    case 0x178: // Y diaeresis
        return 0xFF;
    default:
        return cp;
    }
}

// The text cut after `maxChars` code points.
std::string_view cutToChars(std::string_view text, std::size_t maxChars) {
    std::size_t pos = 0;
    for (std::size_t chars = 0; pos < text.size() && chars < maxChars; ++chars)
        nextCodePoint(text, pos);
    return text.substr(0, pos);
}

// A private folder for the scratch copy of the file, removed with everything in it.
class ScratchFolder {
public:
    ScratchFolder() {
        std::error_code ec;
        std::string pattern = (std::filesystem::temp_directory_path(ec) / "odrivo-lists-XXXXXX").string();
        if (!ec && ::mkdtemp(pattern.data()) != nullptr)
            m_path = pattern;
    }
    ~ScratchFolder() {
        std::error_code ec;
        if (!m_path.empty())
            std::filesystem::remove_all(m_path, ec);
    }
    ScratchFolder(const ScratchFolder&) = delete;
    ScratchFolder& operator=(const ScratchFolder&) = delete;

    bool ok() const { return !m_path.empty(); }
    std::string file(std::string_view name) const { return m_path + "/" + std::string(name); }

private:
    std::string m_path;
};

} // namespace

std::vector<std::string> CPickList::load(const std::string& listsPath, std::string_view section) {
    const CProfileFile file(listsPath);
    std::vector<std::string> items;
    for (std::size_t n = 0;; ++n) {
        std::string value = file.getText(section, lineKey(n));
        if (value.empty())
            break;
        items.push_back(std::move(value));
    }
    return items;
}

bool CPickList::before(std::string_view a, std::string_view b) {
    std::size_t i = 0;
    std::size_t j = 0;
    while (i < a.size() && j < b.size()) {
        const char32_t x = foldCase(nextCodePoint(a, i));
        const char32_t y = foldCase(nextCodePoint(b, j));
        if (x != y)
            return x < y;
    }
    if (i < a.size() || j < b.size())
        return j < b.size();
    return a < b;
}

CPickList::CPickList(std::string listsPath, std::string section)
    : m_path(std::move(listsPath)), m_section(std::move(section)) {}

void CPickList::readSorted(const CProfileFile& file) {
    m_items.clear();
    for (std::size_t n = 0;; ++n) {
        std::string value = file.getText(m_section, lineKey(n));
        if (value.empty())
            break;
        m_items.insert(std::upper_bound(m_items.begin(), m_items.end(), value, before), std::move(value));
    }
    m_nextFree = static_cast<int>(m_items.size()) + 1;
}

bool CPickList::rewriteSorted(CProfileFile& file) {
    const std::size_t count = m_items.size();
    for (std::size_t j = 0; j < count + 2; ++j) {
        const bool ok =
            j < count ? file.putText(m_section, lineKey(j), m_items[j]) : file.deleteKey(m_section, lineKey(j));
        if (!ok)
            return false;
    }
    return true;
}

void CPickList::readBack() {
    m_items = load(m_path, m_section);
    std::stable_sort(m_items.begin(), m_items.end(), before);
    m_nextFree = static_cast<int>(m_items.size()) + 1;
}

bool CPickList::transact(const std::function<bool(CProfileFile&)>& steps) {
    m_loaded = true;
    if (m_path.empty()) {
        m_lastError = "No lists file was given.";
        return false;
    }
    std::string original;
    std::string reason;
    const odrivo::ReadStatus status = odrivo::readWholeFile(m_path, original, &reason);
    if (status == odrivo::ReadStatus::Failed) {
        m_lastError = "Cannot read " + m_path + " (" + reason + "). Check that the file can be read.";
        return false;
    }
    const bool existed = status == odrivo::ReadStatus::Ok;
    const ScratchFolder scratch;
    if (!scratch.ok()) {
        m_lastError = "Cannot create a temporary folder for editing " + m_path + ". Free some space in /tmp.";
        return false;
    }
    const std::string copy = scratch.file("Lists.ini");
    if (existed && !odrivo::writeFileAtomically(copy, original, &reason)) {
        m_lastError = "Cannot copy " + m_path + " for editing (" + reason + "). Free some space in /tmp.";
        return false;
    }
    CProfileFile file(copy);
    if (!steps(file)) {
        m_lastError = "Cannot change " + m_path + ": " + file.lastError();
        return false;
    }
    std::string after;
    switch (odrivo::readWholeFile(copy, after, &reason)) {
    case odrivo::ReadStatus::Missing:
        return true; // nothing was written, so a missing file stays missing
    case odrivo::ReadStatus::Failed:
        m_lastError = "Cannot read back the edited copy of " + m_path + " (" + reason + ").";
        return false;
    case odrivo::ReadStatus::Ok:
        break;
    }
    if (existed && after == original)
        return true;
    if (!odrivo::writeFileAtomically(m_path, after, &reason)) {
        m_lastError = "Cannot save " + m_path + " (" + reason + "). Check that its folder exists and can be written.";
        return false;
    }
    return true;
}

void CPickList::reload() {
    m_lastError.clear();
    if (!transact([this](CProfileFile& file) {
            readSorted(file);
            return rewriteSorted(file);
        }))
        readBack();
}

void CPickList::add(std::string_view text) {
    if (!m_loaded)
        reload();
    m_lastError.clear();
    m_lastAdded = std::string(cutToChars(text, MaxItemChars));
    if (m_lastAdded.empty())
        return;
    if (!transact([this](CProfileFile& file) {
            if (!file.putText(m_section, lineKey(static_cast<std::size_t>(m_nextFree - 1)), m_lastAdded))
                return false;
            ++m_nextFree;
            readSorted(file);
            return rewriteSorted(file);
        }))
        readBack();
}

bool CPickList::remove(std::size_t index) {
    if (!m_loaded)
        reload();
    m_lastError.clear();
    if (index >= m_items.size())
        return false;
    m_items.erase(m_items.begin() + static_cast<std::ptrdiff_t>(index));
    if (!transact([this](CProfileFile& file) {
            if (!file.deleteSection(m_section))
                return false;
            // At least Line0 is written, empty when the list is now empty; the reload removes it.
            const std::size_t count = std::max<std::size_t>(m_items.size(), 1);
            for (std::size_t j = 0; j < count; ++j)
                if (!file.putText(m_section, lineKey(j), j < m_items.size() ? m_items[j] : std::string()))
                    return false;
            readSorted(file);
            return rewriteSorted(file);
        }))
        readBack();
    return true;
}
