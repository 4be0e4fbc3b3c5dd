#pragma once
// CRepairDlg is the modal dialog for one repair or maintenance entry. It is thin: a
// CRepairForm decides the values it opens with, the icon code that follows the
// description and the icon buttons, and what Save writes; the dialog moves values
// between its controls and the form. The record is read when the dialog is made and
// written only by Save, together with the remembered description and location in the
// profile; a number field that does not parse keeps the dialog open with a message.
// The two list buttons run the pick-list editor and take the item it added.

#include "calc/repair_form.h"
#include "ui/entry/entry_context.h"

#include <QDialog>
#include <memory>
#include <string_view>

namespace Ui {
class CRepairDlg;
}

class QComboBox;
class QIcon;

class CRepairDlg : public QDialog {
    Q_OBJECT
public:
    CRepairDlg(CDVItem& record, const EntryContext& context, QWidget* parent = nullptr);
    ~CRepairDlg() override;

    const CRepairForm& form() const { return m_form; }

    // The picture the dialog shows for an icon.
    static QIcon iconPicture(RepairIcon icon);

private:
    void loadLists();
    void takeValues();
    void showValues();
    void showIcons();
    void editList(std::string_view section, QComboBox* target);
    void save();

    std::unique_ptr<Ui::CRepairDlg> ui;
    CDVItem& m_record;
    EntryContext m_context;
    CRepairForm m_form;
};
