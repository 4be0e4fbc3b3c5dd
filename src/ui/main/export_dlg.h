#pragma once
// CExportDlg asks for the name of the CSV file the entry list is exported to. It opens
// with the name used last time (the profile's ExportPath), or "<home>/<VIN>.CSV" before
// the first export. Export checks the typed name with CExportName: a refused name is
// explained and the dialog stays open; an accepted one gets ".csv" when it does not
// mention it, is kept for the caller in fileName() and remembered in the profile.

#include "store/app_profile.h"

#include <QDialog>
#include <memory>
#include <string>

namespace Ui {
class CExportDlg;
}

class CExportDlg : public QDialog {
    Q_OBJECT
public:
    static constexpr int kExport = 1;
    static constexpr int kAborted = 2;

    CExportDlg(CAppProfile& profile, const std::string& vin, QWidget* parent = nullptr);
    ~CExportDlg() override;

    // After kExport: the file name to write (".csv" added as CExportName says); "" before.
    const std::string& fileName() const { return m_fileName; }

    // The Export button: checks the name, then stores it and ends with kExport.
    void exportPressed();
    // Abort, Escape and the window's close box: ends with kAborted, nothing stored.
    void reject() override;

private:
    void browse();

    std::unique_ptr<Ui::CExportDlg> ui;
    CAppProfile& m_profile;
    std::string m_fileName;
};
