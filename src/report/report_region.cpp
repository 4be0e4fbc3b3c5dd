#include "report/report_region.h"

#include "report/report_page.h"

#include <algorithm>

CReportRegion::CReportRegion(CReportPage& page, const DeviceRect& rect, int fillStyle)
    : m_page(page), m_rect(rect), m_fillStyle(fillStyle), m_origin{rect.left + 1, rect.top + 1} {}

void CReportRegion::drawFrame() {
    CReportPage::StateScope scope(m_page);
    m_page.outline(m_rect, 1);
}

void CReportRegion::drawTitle(const std::string& title, int pointSize, unsigned flags, int fillStyle) {
    CReportPage::StateScope scope(m_page, flags, pointSize);
    m_page.m_state.flags |= reportflags::kSingleLine | reportflags::kVerticalCentre;
    const int band = (m_page.m_state.flags & reportflags::kFill)
                         ? m_page.measureHeight(title, m_rect) + 10
                         : m_page.toUnitsY(2.0 * m_page.m_state.pointSize / 72.0);
    const DeviceRect bandRect{m_rect.left, m_rect.top, m_rect.right, std::min(m_rect.top + band, m_rect.bottom)};
    m_page.m_state.rect = bandRect;
    // Only a shaded band needs white or background-less text.
    if (m_page.m_state.flags & reportflags::kFill)
        m_page.useFillColours(fillStyle);
    m_page.drawTextBox(title, bandRect, fillStyle, true);
    m_origin.y = bandRect.bottom + 1;
}
