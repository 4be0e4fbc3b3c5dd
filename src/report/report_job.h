#pragma once
// CReportJob is one of the three printed reports chosen by kind, with what it needs from the
// list: the rows shown, the selected entry and the view. The window and the command line run
// reports through it so the guards, the activity log line and the layout are the same for
// both; they only differ in the surface (a printer, a PDF file, a recorder).

#include "report/report_facts.h"

#include <optional>
#include <string>
#include <vector>

class CDrawingSurface;

class CReportJob {
public:
    enum class Kind { ByView, SelectedItem, VehicleInfo };
    // Every report lies within this many inches across and down from the page's corner.
    static constexpr double kWidthInches = 7.98;
    static constexpr double kHeightInches = 10.25;

    CReportJob(Kind kind, std::vector<const CDVItem*> rows, const CDVItem* selected, int viewMode)
        : m_kind(kind), m_rows(std::move(rows)), m_selected(selected), m_viewMode(viewMode) {}

    Kind kind() const { return m_kind; }
    // The message that stops the job before anything is printed (an empty list, no selection).
    std::optional<std::string> refusal() const;
    // The line the activity log gets when the job starts printing.
    const char* logLine() const;
    // Lays the report out on a surface whose first page has begun; false when the
    // document must be abandoned (nothing to print, or a page the device refused).
    bool run(CDrawingSurface& surface, const ReportFacts& facts) const;

private:
    Kind m_kind;
    std::vector<const CDVItem*> m_rows;
    const CDVItem* m_selected;
    int m_viewMode;
};
