#include "report/report_job.h"

#include "report/by_view_report.h"
#include "report/selected_item_report.h"
#include "report/vehicle_info_report.h"

std::optional<std::string> CReportJob::refusal() const {
    if (m_kind == Kind::ByView && m_rows.empty())
        return CByViewReport::kEmptyListMessage;
    if (m_kind == Kind::SelectedItem && !m_selected)
        return CSelectedItemReport::kNoSelectionMessage;
    return std::nullopt;
}

const char* CReportJob::logLine() const {
    switch (m_kind) {
    case Kind::ByView:
        return CByViewReport::kLogLine;
    case Kind::SelectedItem:
        return CSelectedItemReport::kLogLine;
    case Kind::VehicleInfo:
        break;
    }
    return CVehicleInfoReport::kLogLine;
}

bool CReportJob::run(CDrawingSurface& surface, const ReportFacts& facts) const {
    if (refusal())
        return false;
    switch (m_kind) {
    case Kind::ByView:
        return CByViewReport::run(surface, facts, m_rows, m_viewMode);
    case Kind::SelectedItem:
        CSelectedItemReport::run(surface, facts, *m_selected);
        return true;
    case Kind::VehicleInfo:
        break;
    }
    CVehicleInfoReport::run(surface, facts);
    return true;
}
