#pragma once
// CTripDlg is the modal dialog for one trip. It is thin: a CTripForm decides the values
// it opens with and what Save writes (icon code, mileage claim, time stamps); the
// dialog moves values between its controls and the form. The record is read when the
// dialog is made and written only by Save, together with the remembered purpose,
// contact and destination in the profile; a number that does not parse or a text over
// its limit keeps the dialog open with a message. Destination and notes refuse typing
// beyond their limits. The three list buttons run the pick-list editor and take the item
// it added.

#include "calc/trip_form.h"
#include "ui/entry/entry_context.h"

#include <QDialog>
#include <QString>
#include <memory>
#include <string_view>

namespace Ui {
class CTripDlg;
}

class QComboBox;

class CTripDlg : public QDialog {
    Q_OBJECT
public:
    CTripDlg(CDVItem& record, const EntryContext& context, QWidget* parent = nullptr);
    ~CTripDlg() override;

    const CTripForm& form() const { return m_form; }

private:
    void loadLists();
    void takeValues();
    void showValues();
    void editList(std::string_view section, QComboBox* target);
    void limitNotes();
    void save();

    std::unique_ptr<Ui::CTripDlg> ui;
    CDVItem& m_record;
    EntryContext m_context;
    CTripForm m_form;
    QString m_notes; // the notes as they were before the last edit
};
