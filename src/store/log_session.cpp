#include "store/log_session.h"

namespace {

constexpr const char* kUnknownVin = "UnKnown";

bool isKnownType(std::int32_t type) {
    return type >= CDVItem::Fuel && type <= CDVItem::Trip;
}

} // namespace

std::string CLogSession::dataFilePath() const {
    return CVehicleLogDoc::dataFilePath(m_dataFolder, m_vin);
}

LogLoadResult CLogSession::reload(Odometer odometer) {
    // Loading deletes every record of the document; a slot pointing at one must not outlive it.
    // A record being added is not in the document yet and stays in its slot.
    for (CDVItem*& slot : m_inEdit) {
        if (slot && m_doc.indexOf(slot) >= 0)
            slot = nullptr;
    }
    if (std::string problem = CVehicleLogDoc::vinPathProblem(m_vin); !problem.empty()) {
        m_doc.clear();
        m_currentOdometer = 0;
        return {LogLoadStatus::Unreadable, std::move(problem)};
    }
    LogLoadResult result = m_doc.load(dataFilePath());
    if (odometer == Odometer::LeaveToCaller)
        return result;

    double latest = 0;
    for (const auto& entry : m_doc.entries()) {
        if (entry->Odometer > latest)
            latest = entry->Odometer;
        if (entry->EndOdometer > 0 && entry->EndOdometer > entry->Odometer && entry->EndOdometer > latest)
            latest = entry->EndOdometer;
    }
    m_currentOdometer = latest;
    return result;
}

LogSaveResult CLogSession::save() {
    if (std::string problem = CVehicleLogDoc::vinPathProblem(m_vin); !problem.empty())
        return {false, std::move(problem)};
    if (m_vin.empty())
        m_vin = kUnknownVin;
    return m_doc.save(dataFilePath());
}

std::unique_ptr<CDVItem> CLogSession::newEntry(std::int32_t type) const {
    if (!isKnownType(type))
        return nullptr;
    auto item = std::make_unique<CDVItem>();
    item->Icon = type;
    item->EntryType = type;
    item->Odometer = m_currentOdometer;
    item->Date = static_cast<DVTime>(m_today);
    if (type == CDVItem::Trip)
        item->Entry = "Trip";
    else
        item->Reserved1 = 99;
    return item;
}

SessionResult CLogSession::addEntry(std::int32_t type, CEntryEditor& editor) {
    std::unique_ptr<CDVItem> item = newEntry(type);
    if (!item)
        return {};
    CDVItem*& slot = m_inEdit[static_cast<std::size_t>(type)];
    slot = item.get();
    const bool confirmed = editor.edit(*item);

    SessionResult result;
    if (confirmed) {
        if (type == CDVItem::Trip || item->hasOdometer()) {
            m_doc.insert(std::move(item));
            result = saveAndReload();
        }
    } else if (type == CDVItem::Trip) {
        result = saveAndReload();
    }
    slot = nullptr;
    return result;
}

SessionResult CLogSession::editEntry(std::size_t index, CEntryEditor& editor) {
    if (index >= m_doc.size())
        return {};
    CDVItem& item = m_doc.at(index);
    const std::int32_t type = item.EntryType;
    if (isKnownType(type))
        m_inEdit[static_cast<std::size_t>(type)] = &item;
    editor.edit(item);
    // The editor's answer does not matter: on Cancel it has left the record as it was.
    SessionResult result = saveAndReload();
    if (isKnownType(type))
        m_inEdit[static_cast<std::size_t>(type)] = nullptr;
    return result;
}

SessionResult CLogSession::deleteEntry(std::size_t index) {
    if (index >= m_doc.size())
        return {};
    CDVItem* item = &m_doc.at(index);
    for (CDVItem*& slot : m_inEdit) {
        if (slot == item)
            slot = nullptr;
    }
    m_doc.remove(item);
    return saveAndReload();
}

CDVItem* CLogSession::entryInEdit(std::int32_t type) const {
    return isKnownType(type) ? m_inEdit[static_cast<std::size_t>(type)] : nullptr;
}

SessionResult CLogSession::saveAndReload() {
    SessionResult result;
    const LogSaveResult saved = save();
    if (!saved.saved)
        result.message = saved.message;
    // Reload even after a failed save: the file is the truth, and memory must equal it.
    const LogLoadResult loaded = reload();
    if (!loaded.ok() && !loaded.message.empty() && loaded.message != result.message) {
        if (!result.message.empty())
            result.message += "\n\n";
        result.message += loaded.message;
    }
    result.changed = true;
    return result;
}
