#include "ui/report/report_printer.h"

#include "print/painter_surface.h"
#include "print/pdf_report_writer.h"
#include "store/activity_log.h"
#include "ui/toolkit/file_dialog.h"
#include "ui/toolkit/message_box.h"
#include "ui/toolkit/modal_runner.h"
#include "ui/toolkit/qt_text.h"

#include <QDir>
#include <QLocale>
#include <QObject>
#include <QPainter>
#include <QPrintDialog>
#include <QPrinter>

bool CReportPrinter::refused(const CReportJob& job) const {
    const auto refusal = job.refusal();
    if (refusal)
        CMessageBox::warn(m_parent, toQt(*refusal));
    return refusal.has_value();
}

bool CReportPrinter::print(const CReportJob& job, const ReportFacts& facts) {
    if (refused(job))
        return false;
    QPrinter printer(QPrinter::HighResolution);
    QPrintDialog dialog(&printer, m_parent);
    if (CModalRunner::run(dialog) != QDialog::Accepted)
        return false;
    QPainter painter;
    if (!painter.begin(&printer)) {
        CMessageBox::warn(m_parent, QObject::tr("The printer %1 could not start the report.\nCheck that it is "
                                                "ready, or print to a PDF file instead.")
                                        .arg(printer.printerName()));
        return false;
    }
    m_log.write(job.logLine());
    bool printed = false;
    {
        CPainterSurface surface(painter, &printer);
        surface.fitInches(CReportJob::kWidthInches, CReportJob::kHeightInches);
        printed = job.run(surface, facts);
    }
    if (!printed)
        printer.abort();
    painter.end();
    return printed;
}

bool CReportPrinter::saveAsPdf(const CReportJob& job, const ReportFacts& facts) {
    if (refused(job))
        return false;
    QString path = CFileDialog::saveFileName(m_parent, QObject::tr("Save Report as PDF"), QDir::homePath(),
                                             QObject::tr("PDF files (*.pdf)"));
    if (path.isEmpty())
        return false;
    if (!path.endsWith(QLatin1String(".pdf"), Qt::CaseInsensitive))
        path += QLatin1String(".pdf");
    const PaperSize paper =
        QLocale::system().measurementSystem() == QLocale::MetricSystem ? PaperSize::A4 : PaperSize::Letter;
    CPdfReportWriter writer(paper);
    writer.setTitle(facts.vehicleName + " - Odrivo");
    writer.setExtent(CReportJob::kWidthInches, CReportJob::kHeightInches);
    m_log.write(job.logLine());
    std::string error;
    const PdfWriteResult result = writer.write(
        fromQt(path), [&](CDrawingSurface& surface) { return job.run(surface, facts); }, &error);
    if (result == PdfWriteResult::Failed) {
        CMessageBox::warn(m_parent, toQt(error) + QObject::tr("\nChoose another file or folder and try again."));
        return false;
    }
    return result == PdfWriteResult::Written;
}
