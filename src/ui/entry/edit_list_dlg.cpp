#include "ui/entry/edit_list_dlg.h"

#include "ui/toolkit/qt_text.h"
#include "ui_edit_list_dlg.h"

#include <QIcon>
#include <QPalette>

CEditListDlg::CEditListDlg(std::string listsPath, std::string section, QWidget* parent)
    : QDialog(parent), ui(std::make_unique<Ui::CEditListDlg>()), m_list(std::move(listsPath), std::move(section)) {
    ui->setupUi(this);
    ui->newItemEdit->setMaxLength(static_cast<int>(CPickList::MaxItemChars));
    ui->addButton->setIcon(QIcon(QStringLiteral(":/editlist/add.svg")));
    ui->deleteButton->setIcon(QIcon(QStringLiteral(":/editlist/delete.svg")));
    ui->closeButton->setIcon(QIcon(QStringLiteral(":/editlist/close.svg")));
    // The selection keeps its active colours while the edit field has the focus.
    QPalette palette = ui->itemList->palette();
    for (const auto role : {QPalette::Highlight, QPalette::HighlightedText})
        palette.setColor(QPalette::Inactive, role, palette.color(QPalette::Active, role));
    ui->itemList->setPalette(palette);
    ui->sectionLabel->setText(toQt(m_list.section()));

    connect(ui->addButton, &QPushButton::clicked, this, &CEditListDlg::add);
    connect(ui->newItemEdit, &QLineEdit::returnPressed, this, &CEditListDlg::add);
    connect(ui->deleteButton, &QPushButton::clicked, this, &CEditListDlg::deleteSelected);
    connect(ui->closeButton, &QPushButton::clicked, this, &QDialog::accept);

    m_list.reload();
    showItems();
}

CEditListDlg::~CEditListDlg() = default;

void CEditListDlg::add() {
    const QString text = ui->newItemEdit->text();
    m_list.add(fromQt(text));
    if (text.isEmpty())
        return;
    ui->newItemEdit->clear();
    showItems();
}

void CEditListDlg::deleteSelected() {
    const QList<QListWidgetItem*> selected = ui->itemList->selectedItems();
    if (selected.isEmpty())
        return;
    // The rows are the list's items in the list's order.
    m_list.remove(static_cast<std::size_t>(ui->itemList->row(selected.front())));
    showItems();
}

void CEditListDlg::showItems() {
    ui->itemList->clear();
    for (const std::string& item : m_list.items())
        ui->itemList->addItem(toQt(item));
}
