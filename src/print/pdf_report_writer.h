#pragma once
// CPdfReportWriter saves a report as a PDF file. The report's layout draws on the surface it is
// handed, page after page; the finished document is built in memory and only then written,
// crash-safe, over the file, so a failed or empty report never leaves a half-written file.

#include "report/drawing_surface.h"

#include <functional>
#include <string>

enum class PaperSize { Letter, A4 };

enum class PdfWriteResult { Written, NothingToPrint, Failed };

class CPdfReportWriter {
public:
    // Draws the report; false when there is nothing to print.
    using Layout = std::function<bool(CDrawingSurface&)>;

    static constexpr int kResolution = 600; // pixels per inch of the surface

    explicit CPdfReportWriter(PaperSize paper = PaperSize::Letter, Orientation orientation = Orientation::Portrait);

    void setTitle(const std::string& title) { m_title = title; }
    // The inches the layout needs; a smaller page shrinks it evenly to fit (see CPainterSurface).
    void setExtent(double width, double height) {
        m_width = width;
        m_height = height;
    }

    // On Failed, `error` (when given) names the file and says why; the file is left as it was.
    PdfWriteResult write(const std::string& path, const Layout& layout, std::string* error = nullptr) const;

private:
    PaperSize m_paper;
    Orientation m_orientation;
    std::string m_title;
    double m_width = 0;
    double m_height = 0;
};
