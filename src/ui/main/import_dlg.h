#pragma once
// CImportDlg imports the lines of a CSV file into the selected vehicle's log. The user
// picks a folder and a file; the file's headings become the source columns, and a column
// map (chosen by name, or built by clicking a source column, then the field it feeds)
// says which column feeds which field. When the last map does not fit a chosen file, the
// map its headings propose is shown instead, under the file's name, for the user to check.
// Without an EntryType column the type chooser says what every line is; its choice is kept
// in the map and saved with it. A preview shows the entries the first lines make
// under the current map. Import reads the whole file into a copy of the log, so a file
// that turns out bad, or a Cancel, leaves the log and the profile as they were; only a
// completed import saves the log, remembers the map and the file, and ends with kImported.
// The import rules themselves are CCsvImport's; this dialog only wires them to controls.

#include "store/app_profile.h"
#include "store/vehicle_log_doc.h"
#include "store/vehicle_settings.h"

#include <QDialog>
#include <memory>
#include <string>

namespace Ui {
class CImportDlg;
}
// Declared only: the map's header names a member `slots`, which Qt's keyword macro breaks
// in any file that includes Qt first.
class CColumnMap;
struct CsvDateStyle;
struct CsvNumberStyle;
struct CsvHeadings;
class QTreeWidgetItem;

class CImportDlg : public QDialog {
    Q_OBJECT
public:
    static constexpr int kImported = 1;
    static constexpr int kPreviewLines = 5;
    static const char* const kSaveError;

    // `dataFile` is the vehicle's log, read now into the dialog's own list; `dateFormat` is the
    // locale's strftime date format; `programStart` stands in for dates the file does not give.
    CImportDlg(CAppProfile& profile, std::string dataFile, VehicleSettings vehicle, const std::string& dateFormat,
               DVTime programStart, QWidget* parent = nullptr);
    ~CImportDlg() override;

    // The folder (ending in '/') and the name of the chosen CSV file.
    std::string csvPath() const { return m_folder + m_csvName; }

    void setFolder(const QString& folder);
    void chooseFile(const QString& name);
    // Maps the field of map-list row `slot` to source column `column` (-1 unmaps it).
    void mapField(int slot, int column);
    void chooseMap(const QString& name);
    void saveMap();
    void importPressed();
    // Escape and the close box; during an import they ask first whether to stop it and close.
    void reject() override;
    // The Close button; during an import (as Cancel) it stops the import and keeps the dialog open.
    void closePressed();

private:
    void fillFiles();
    void showMap();
    // The map as the file's headings propose it, when the current map does not fit the file.
    void proposeMapIfNeeded();
    void applyTypeChooser();
    void updatePreview();
    void setImporting(bool importing);
    void mapRowClicked(QTreeWidgetItem* item);
    void browse();

    std::unique_ptr<Ui::CImportDlg> ui;
    CAppProfile& m_profile;
    std::string m_dataFile;
    VehicleSettings m_vehicle;
    std::unique_ptr<CsvDateStyle> m_dateStyle;
    std::unique_ptr<CsvNumberStyle> m_numberStyle;
    DVTime m_programStart;
    CVehicleLogDoc m_doc;
    std::unique_ptr<CColumnMap> m_map;
    std::string m_folder;
    std::string m_csvName;
    std::unique_ptr<CsvHeadings> m_headings;
    bool m_importing = false;
    bool m_cancelRequested = false;
    bool m_closeRequested = false;
    bool m_proposed = false;
};
