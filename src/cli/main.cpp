#include "cli/cli_app.h"
#include "store/allocator_tuning.h"

#ifdef ODRIVO_CLI_PDF
#include "cli/report_commands.h"
#include "print/headless_gui.h"
#include "print/pdf_report_writer.h"
#include "report/report_job.h"
#endif

#include <clocale>
#include <iostream>

namespace {

void useUserLocale() {
    // Dates and money follow the user's locale, as in the window; numbers keep the '.' point.
    std::setlocale(LC_ALL, "");
    std::setlocale(LC_NUMERIC, "C");
}

#ifdef ODRIVO_CLI_PDF
std::optional<std::string> writePdf(const std::string& path, const std::function<bool(CDrawingSurface&)>& layout) {
    // Fonts and the PDF engine need a Qt application; none is made unless a PDF is asked for.
    static int argc = 1;
    static char name[] = "odrivo-cli";
    static char* argv[] = {name, nullptr};
    static CHeadlessGui gui(argc, argv);
    useUserLocale(); // Qt's start-up took the user's number format as well
    std::string error;
    CPdfReportWriter writer;
    writer.setTitle("Odrivo report");
    writer.setExtent(CReportJob::kWidthInches, CReportJob::kHeightInches);
    if (writer.write(path, layout, &error) == PdfWriteResult::Failed)
        return error;
    return std::nullopt;
}
#endif

} // namespace

int main(int argc, char** argv) {
    odrivo::keepFreedMemoryForReloads();
    useUserLocale();
#ifdef ODRIVO_CLI_PDF
    setPdfWriter(writePdf);
#endif
    return runCli(argc, argv, std::cout, std::cerr);
}
