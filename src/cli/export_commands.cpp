#include "cli/export_commands.h"

#include "calc/entry_text.h"
#include "calc/locale_info.h"
#include "cli/cli_vehicle.h"
#include "exchange/csv_export.h"
#include "exchange/export_name.h"

#include <ostream>

int runExport(const std::string& profilePath, const ViewOptions& options, const std::string& outPath, std::ostream& out,
              std::ostream& err) {
    if (!CExportName::isValid(outPath)) {
        err << "odrivo-cli: " << outPath << '\n' << CExportName::kInvalidText << '\n';
        return 1;
    }
    const std::string path = CExportName::withCsvExtension(outPath);
    const auto view = prepareView(profilePath, options, err);
    CliVehicle opened;
    if (!view || !openCliVehicle(profilePath, options.vehicle, opened, err))
        return 1;
    const CLibcLocale locale;
    const CEntryText texts(locale, opened.settings.costPerMile);
    const std::vector<CDVItem*> rows = listRows(opened, *view, options, texts);
    std::string reason;
    if (!CCsvExport::writeFile(path, rows, view->filter.viewMode, locale, &reason)) {
        err << "odrivo-cli: cannot write " << path << ": " << reason
            << ". Check that its folder exists and that you may write there; no file was changed.\n";
        return 1;
    }
    out << "Export to " << path << " Complete.\n";
    return 0;
}
