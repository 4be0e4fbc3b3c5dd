#include "print/pdf_report_writer.h"

#include "print/painter_surface.h"
#include "store/file_io.h"

#include <QBuffer>
#include <QPageLayout>
#include <QPainter>
#include <QPdfWriter>

CPdfReportWriter::CPdfReportWriter(PaperSize paper, Orientation orientation)
    : m_paper(paper), m_orientation(orientation) {}

PdfWriteResult CPdfReportWriter::write(const std::string& path, const Layout& layout, std::string* error) const {
    auto fail = [&](const std::string& reason) {
        if (error)
            *error = "The report could not be saved as " + path + ": " + reason + ".";
        return PdfWriteResult::Failed;
    };
    QBuffer buffer;
    buffer.open(QIODevice::WriteOnly);
    bool printed = false;
    {
        QPdfWriter writer(&buffer);
        writer.setResolution(kResolution);
        writer.setTitle(QString::fromStdString(m_title));
        writer.setCreator(QStringLiteral("Odrivo " ODRIVO_VERSION));
        // A quarter inch all round, as most printers leave, so a saved report looks like a printed one.
        writer.setPageLayout(
            QPageLayout(QPageSize(m_paper == PaperSize::A4 ? QPageSize::A4 : QPageSize::Letter),
                        m_orientation == Orientation::Landscape ? QPageLayout::Landscape : QPageLayout::Portrait,
                        QMarginsF(18, 18, 18, 18), QPageLayout::Point));
        QPainter painter;
        if (!painter.begin(&writer))
            return fail("the PDF document could not be started");
        {
            CPainterSurface surface(painter, &writer);
            if (m_width > 0 && m_height > 0)
                surface.fitInches(m_width, m_height);
            printed = layout(surface);
        }
        painter.end();
    }
    if (!printed)
        return PdfWriteResult::NothingToPrint;
    std::string reason;
    const QByteArray& bytes = buffer.data();
    if (!odrivo::writeFileAtomically(path, std::string_view(bytes.constData(), static_cast<std::size_t>(bytes.size())),
                                     &reason))
        return fail(reason);
    return PdfWriteResult::Written;
}
