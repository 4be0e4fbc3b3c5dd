#pragma once
// CReportRegion is a rectangle of a report page (in the page's units) that text is printed
// into relative to its own corner, optionally shaded, framed and titled. Text positions start
// at the text origin: one unit inside the top-left corner, or just below the title band once
// a title is drawn. Regions are made and owned by CReportPage::createRegion.

#include "report/drawing_surface.h"

#include <string>

class CReportPage;

class CReportRegion {
public:
    CReportRegion(CReportPage& page, const DeviceRect& rect, int fillStyle);

    const DeviceRect& rect() const { return m_rect; }
    int fillStyle() const { return m_fillStyle; }
    DevicePoint textOrigin() const { return m_origin; }

    // The outline of the region, one unit wide, in the text colour.
    void drawFrame();
    // A single-line, vertically centred band across the region's top. With the fill flag the
    // band is the text's height plus 10 units and is shaded with `fillStyle` (white text on the
    // dark styles); otherwise it is twice the point size high. Text printed afterwards starts
    // below the band.
    void drawTitle(const std::string& title, int pointSize, unsigned flags, int fillStyle);

private:
    CReportPage& m_page;
    DeviceRect m_rect;
    int m_fillStyle;
    DevicePoint m_origin;
};
