#pragma once
// Small helpers the entry dialogs share for their controls: filling a pick-list combo
// from Lists.ini in the list's order, moving dates and times between pickers and stored
// times, and the date format of their date pickers.

#include "store/dv_item.h"

#include <QString>
#include <string>
#include <string_view>

class QComboBox;
class QDate;
class QTime;

namespace entryfields {

// Replaces the combo's items with the section's pick list, sorted as the list editor sorts it.
void fillPickCombo(QComboBox* combo, const std::string& listsPath, std::string_view section);

// The stored time with its day (or time of day) replaced; the other part stays (local time).
DVTime withDate(DVTime value, const QDate& date);
DVTime withTime(DVTime value, const QTime& time);

// The pattern of the locale's short date with a four-digit year, the same format the list
// shows; a two-digit year field would read typed years as 19xx.
QString shortDateFormat();

} // namespace entryfields
