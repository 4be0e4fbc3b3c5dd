#pragma once
// CReportPrinter runs the File > Print Reports commands for the main window: it stops a report
// that has nothing to print with the report's own message, asks for the printer with the print
// dialog, writes the report's line to the activity log and draws the report on the printer.
// "Save Report as PDF..." does the same into a PDF file chosen with the file dialog, on
// Letter or A4 paper as the user's locale measures. The report itself comes from CReportJob.

#include "report/report_facts.h"
#include "report/report_job.h"

class CActivityLog;
class QWidget;

class CReportPrinter {
public:
    CReportPrinter(QWidget* parent, CActivityLog& log) : m_parent(parent), m_log(log) {}

    // True when the report went to the printer; a cancelled print dialog prints nothing and
    // logs nothing.
    bool print(const CReportJob& job, const ReportFacts& facts);
    // True when the PDF file was written.
    bool saveAsPdf(const CReportJob& job, const ReportFacts& facts);

private:
    bool refused(const CReportJob& job) const;

    QWidget* m_parent;
    CActivityLog& m_log;
};
