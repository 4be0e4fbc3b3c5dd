#include "cli/report_commands.h"

#include "calc/locale_info.h"
#include "cli/cli_vehicle.h"
#include "report/recording_surface.h"
#include "report/report_job.h"
#include "store/app_profile.h"
#include "store/folder_settings.h"

#include <ctime>
#include <ostream>

namespace {

PdfWriter& pdfWriter() {
    static PdfWriter writer;
    return writer;
}

// The report's own logo lives in the Qt drawing library's resources.
constexpr const char* kOwnLogo = ":/report/logo.svg";

} // namespace

void setPdfWriter(PdfWriter writer) {
    pdfWriter() = std::move(writer);
}

int runReport(const std::string& profilePath, const ViewOptions& viewOptions, const ReportOptions& options,
              std::ostream& out, std::ostream& err) {
    if (options.layout == options.pdf.has_value()) {
        err << "odrivo-cli: give either --pdf FILE or --layout.\n";
        return 1;
    }
    if (options.pdf && !pdfWriter()) {
        err << "odrivo-cli: this odrivo-cli was built without PDF support; use --layout, or print from Odrivo.\n";
        return 1;
    }
    const auto view = prepareView(profilePath, viewOptions, err);
    CliVehicle opened;
    if (!view || !openCliVehicle(profilePath, viewOptions.vehicle, opened, err))
        return 1;
    const CLibcLocale locale;
    const CEntryText texts(locale, opened.settings.costPerMile);
    CViewRefresh::Result refresh;
    const std::vector<CDVItem*> listed = listRows(opened, *view, viewOptions, texts, &refresh);
    const std::vector<const CDVItem*> rows(listed.begin(), listed.end());

    const CDVItem* selected = nullptr;
    if (options.entry) {
        if (*options.entry < 1 || static_cast<std::size_t>(*options.entry) > rows.size()) {
            err << "odrivo-cli: --entry " << *options.entry << " is not a listed row; the list has " << rows.size()
                << " row(s), numbered from 1 as `list` prints them.\n";
            return 1;
        }
        selected = rows[static_cast<std::size_t>(*options.entry - 1)];
    }
    const CReportJob::Kind kind = options.kind == "view"   ? CReportJob::Kind::ByView
                                  : options.kind == "item" ? CReportJob::Kind::SelectedItem
                                                           : CReportJob::Kind::VehicleInfo;
    const CReportJob job(kind, rows, selected, view->filter.viewMode);
    if (const auto refused = job.refusal()) {
        err << *refused << '\n';
        if (kind == CReportJob::Kind::SelectedItem)
            err << "Choose the row with --entry N (N as `list` numbers the rows, from 1).\n";
        return 1;
    }
    const std::string configFolder = FolderSettings::read(CAppProfile(profilePath)).config;
    const ReportFacts facts = ReportFacts::gather(opened.settings, opened.session.doc(), refresh, locale,
                                                  std::time(nullptr), configFolder, kOwnLogo);
    const auto layout = [&job, &facts](CDrawingSurface& surface) { return job.run(surface, facts); };

    if (options.layout) {
        CRecordingSurface surface;
        if (!layout(surface)) {
            err << "odrivo-cli: the report could not be laid out.\n";
            return 1;
        }
        for (const std::string& line : surface.lines())
            out << line << '\n';
        return 0;
    }
    if (const auto failure = pdfWriter()(*options.pdf, layout)) {
        err << "odrivo-cli: " << *failure << '\n';
        return 1;
    }
    out << "Report saved as " << *options.pdf << ".\n";
    return 0;
}
