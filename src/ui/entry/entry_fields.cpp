#include "ui/entry/entry_fields.h"

#include "calc/locale_info.h"
#include "store/pick_list.h"
#include "ui/toolkit/qt_text.h"

#include <QComboBox>
#include <QDateTime>
#include <QSignalBlocker>
#include <algorithm>
#include <vector>

namespace entryfields {

void fillPickCombo(QComboBox* combo, const std::string& listsPath, std::string_view section) {
    std::vector<std::string> items = CPickList::load(listsPath, section);
    std::stable_sort(items.begin(), items.end(), CPickList::before);
    const QSignalBlocker blocker(combo);
    combo->clear();
    for (const std::string& item : items)
        combo->addItem(toQt(item));
}

DVTime withDate(DVTime value, const QDate& date) {
    return QDateTime(date, QDateTime::fromSecsSinceEpoch(value).time()).toSecsSinceEpoch();
}

DVTime withTime(DVTime value, const QTime& time) {
    return QDateTime(QDateTime::fromSecsSinceEpoch(value).date(), time).toSecsSinceEpoch();
}

QString shortDateFormat() {
    return toQt(CLibcLocale().datePattern());
}

} // namespace entryfields
