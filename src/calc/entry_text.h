#pragma once
// CEntryText is how the entry list shows a log entry: the 21 columns with their headings
// and default widths, the text of every cell, the comparison behind a click on a column
// heading, and the test behind the Search button. The list asks for a cell's text when it
// paints it, so nothing is cached per entry; what does not change while a vehicle is shown
// (the locale's formats, the currency symbols, the vehicle's trip claim rate) is taken once
// at construction. The locale object must outlive this one.
//
// Dates and times come from the locale (short date, time without seconds). Money carries
// the locale's currency symbol when it is a single character, else "$"; the search texts
// allow symbols of up to two characters. Columns that do not apply to an entry's type
// show a single space, so that a search for " " finds them as the list shows them.
//
// A trip's duration is ArriveTime - DepartTime as "<days> Days <hh> Hours <mm> Min". A
// span that runs backwards (arrival before departure, or a departure without an arrival)
// is shown as the length of the span with a leading "-", e.g. "-1 Days 02 Hours 30 Min",
// so the figures stay readable while the sign tells that the times need fixing.

#include "calc/locale_info.h"
#include "store/dv_item.h"

#include <string>
#include <vector>

class CEntryText {
public:
    static constexpr int kColumnCount = 21;

    CEntryText(const CLocaleInfo& locale, double costPerMile);

    // The heading of a column ("Icon " for the image column); "" outside 0..20.
    static const char* heading(int column);
    // Width in pixels when the profile has none for the column; 0 outside 0..20.
    static int defaultWidth(int column);

    // The text the list shows for the entry in `column`; "" for the image column 0 and
    // for columns outside 0..20.
    std::string cell(const CDVItem& item, int column) const;

    // Orders two entries by a column's key: negative when `a` comes first, 0 when they are
    // equal, positive when `b` comes first. Texts compare without regard to ASCII case;
    // numbers and times by their difference, truncated toward zero, so keys less than one
    // unit apart are equal. `direction` is +1 for ascending and -1 for descending.
    // Columns 11, 18 and 19 (and any column outside 0..20) have no key: always 0.
    static int compare(const CDVItem& a, const CDVItem& b, int column, int direction);

    // Sorts rows by compare(), keeping the order of rows that compare equal. The comparison
    // is not a strict weak order (100.2 = 100.7 = 101.5 but 100.2 < 101.5), so this uses
    // a merge sort of its own that gives a well-defined result for any comparison.
    static void sort(std::vector<CDVItem*>& rows, int column, int direction);

    // True when `upperNeedle` (already upper-cased, see upperCase()) occurs in one of the
    // entry's upper-cased search texts. An empty needle matches every entry.
    bool matches(const CDVItem& item, const std::string& upperNeedle) const;

    // ASCII letters upper-cased; every other byte (UTF-8 sequences included) kept.
    static std::string upperCase(std::string text);

    // The trip duration text of ArriveTime - DepartTime (see above).
    static std::string durationText(DVTime departTime, DVTime arriveTime);

    // The price column's text with the given currency symbol.
    std::string priceText(const CDVItem& item, const std::string& symbol) const;

private:
    std::string dateTimeText(DVTime t) const;

    const CLocaleInfo& m_locale;
    double m_costPerMile;
    std::string m_listSymbol;   // at most one character, for the list
    std::string m_searchSymbol; // at most two characters, for the search
};
