#pragma once
// CSetupSheet is the modal "Setup" sheet: a tab per page in the order added, with OK and
// Cancel. A page is checked before the user may leave it and, when the sheet closes with
// OK, every page that was shown is checked. However the sheet closes, each page that was
// shown then writes its values back; the caller finishes the setup from the result.

#include <QDialog>
#include <vector>

class CSetupPage;
class QTabWidget;

class CSetupSheet : public QDialog {
    Q_OBJECT
public:
    explicit CSetupSheet(QWidget* parent = nullptr);

    // The sheet takes ownership.
    void addPage(CSetupPage* page);
    const std::vector<CSetupPage*>& pages() const { return m_pages; }
    QTabWidget* tabs() const { return m_tabs; }
    // Any page edited since the sheet opened.
    bool isChanged() const;

    void done(int result) override;

private:
    void pageChanging(int index);

    QTabWidget* m_tabs;
    std::vector<CSetupPage*> m_pages;
    int m_current = -1;
    bool m_finished = false;
};
