#pragma once
// CFuelDlg is the modal dialog in which the user records one fuel purchase or changes an
// existing one. It works on the record it is given: the values and rules live in a
// CFuelForm, the dialog copies its controls into the form before each live handler and
// shows what the handler computed. Save checks the numeric fields, lets the form fill the
// record, stores the remembered station and measure in the profile and accepts; Cancel
// leaves the record as it was.

#include "calc/fuel_form.h"
#include "ui/entry/entry_context.h"

#include <QDialog>
#include <memory>
#include <string>

namespace Ui {
class CFuelDlg;
}

class CFuelDlg : public QDialog {
    Q_OBJECT
public:
    CFuelDlg(CDVItem& record, const EntryContext& context, QWidget* parent = nullptr);
    ~CFuelDlg() override;

    const CFuelForm& form() const { return m_form; }

    // The actions of the buttons, for tests and the buttons themselves.
    void save();
    void editStationList();

private:
    void loadStations();
    // Copies every editable control into the form; a numeric text that does not parse keeps the old value.
    void takeValues();
    // Shows every value of the form (when the dialog opens).
    void showAll();
    // Shows the values the live handlers change, leaving alone the field the user types in.
    void showComputed();
    void handle(void (CFuelForm::*handler)());

    std::unique_ptr<Ui::CFuelDlg> ui;
    CDVItem& m_record;
    CAppProfile* m_profile;
    std::string m_listsPath;
    CFuelForm m_form;
};
