#pragma once
// CEditListDlg edits one pick list of Lists.ini: the user adds and deletes items, and
// the section is rewritten in the list's alphabetical order at every reload (CPickList
// does the file work; the dialog shows its items). The calling entry dialog reads
// lastAdded() afterwards and puts it into its field.

#include "store/pick_list.h"

#include <QDialog>
#include <memory>
#include <string>

namespace Ui {
class CEditListDlg;
}

class CEditListDlg : public QDialog {
    Q_OBJECT
public:
    // Opening reads the section and rewrites it in order.
    CEditListDlg(std::string listsPath, std::string section, QWidget* parent = nullptr);
    ~CEditListDlg() override;

    // The last item added while the dialog was open ("" when none, or when Add was pressed empty).
    const std::string& lastAdded() const { return m_list.lastAdded(); }

    // The actions, for tests and the buttons.
    void add();
    void deleteSelected();

private:
    void showItems();

    std::unique_ptr<Ui::CEditListDlg> ui;
    CPickList m_list;
};
