#include "ui/entry/repair_dlg.h"

#include "store/app_profile.h"
#include "store/pick_list.h"
#include "ui/entry/edit_list_dlg.h"
#include "ui/entry/entry_fields.h"
#include "ui/main/entry_list_ctrl.h"
#include "ui/toolkit/message_box.h"
#include "ui/toolkit/modal_runner.h"
#include "ui/toolkit/qt_text.h"
#include "ui_repair_dlg.h"

#include <QDateTime>
#include <QSignalBlocker>
#include <algorithm>

CRepairDlg::CRepairDlg(CDVItem& record, const EntryContext& context, QWidget* parent)
    : QDialog(parent), ui(std::make_unique<Ui::CRepairDlg>()), m_record(record), m_context(context) {
    ui->setupUi(this);
    ui->dateEdit->setDisplayFormat(entryfields::shortDateFormat());
    ui->saveButton->setIcon(QIcon(QStringLiteral(":/entrydlg/save.svg")));
    ui->cancelButton->setIcon(QIcon(QStringLiteral(":/entrydlg/cancel.svg")));
    ui->descriptionListButton->setIcon(QIcon(QStringLiteral(":/entrydlg/list.svg")));
    ui->locationListButton->setIcon(QIcon(QStringLiteral(":/entrydlg/list.svg")));

    const std::pair<QToolButton*, RepairIcon> buttons[] = {
        {ui->cautionIconButton, RepairIcon::Caution},
        {ui->turnAheadIconButton, RepairIcon::TurnAhead},
        {ui->watchIconButton, RepairIcon::Watch},
        {ui->pilonIconButton, RepairIcon::Pilon},
        {ui->trafficSignalIconButton, RepairIcon::TrafficSignal},
        {ui->calendarIconButton, RepairIcon::Calendar},
        {ui->carsIconButton, RepairIcon::Cars},
        {ui->checkIconButton, RepairIcon::Check},
        {ui->wrenchIconButton, RepairIcon::Wrench},
        {ui->tireIconButton, RepairIcon::Tire},
    };
    for (const auto& [button, icon] : buttons) {
        button->setIcon(iconPicture(icon));
        connect(button, &QToolButton::clicked, this, [this, icon] {
            m_form.chooseIcon(icon);
            showIcons();
        });
    }
    connect(ui->defaultIconButton, &QToolButton::clicked, this, [this] {
        takeValues();
        m_form.useDefaultIcon();
        showIcons();
    });

    loadLists();
    CRepairForm::Context opening;
    if (m_context.profile) {
        opening.lastMaintType = m_context.profile->getText(ProfileKeys::LastMaintType);
        opening.lastMaintLoc = m_context.profile->getText(ProfileKeys::LastMaintLoc);
    }
    opening.startTime = m_context.startTime;
    opening.currentOdometer = m_context.currentOdometer;
    m_form.open(m_record, opening);
    showValues();

    connect(ui->descriptionCombo, &QComboBox::activated, this, [this](int index) {
        takeValues();
        m_form.pickDescription(fromQt(ui->descriptionCombo->itemText(index)));
        showIcons();
    });
    connect(ui->descriptionCombo, &QComboBox::editTextChanged, this, [this] {
        takeValues();
        m_form.matchDescription();
        showIcons();
    });
    connect(ui->descriptionListButton, &QPushButton::clicked, this,
            [this] { editList(CPickList::RepairList, ui->descriptionCombo); });
    connect(ui->locationListButton, &QPushButton::clicked, this,
            [this] { editList(CPickList::RepairLocation, ui->locationCombo); });
    connect(ui->saveButton, &QPushButton::clicked, this, &CRepairDlg::save);
    connect(ui->cancelButton, &QPushButton::clicked, this, &QDialog::reject);
}

CRepairDlg::~CRepairDlg() = default;

QIcon CRepairDlg::iconPicture(RepairIcon icon) {
    // The neutral picture is the list's "unassigned" image; every other icon shows the
    // list's picture for its code, so the list shows what the user picked.
    if (icon == RepairIcon::Neutral)
        return CEntryListCtrl::entryIcon(20);
    return CEntryListCtrl::entryIcon(CRepairForm::codeOf(icon));
}

void CRepairDlg::loadLists() {
    entryfields::fillPickCombo(ui->descriptionCombo, m_context.listsPath, CPickList::RepairList);
    entryfields::fillPickCombo(ui->locationCombo, m_context.listsPath, CPickList::RepairLocation);
}

void CRepairDlg::takeValues() {
    CRepairForm::Fields& fields = m_form.fields();
    fields.odometer = fromQt(ui->odometerEdit->text());
    fields.date = entryfields::withDate(fields.date, ui->dateEdit->date());
    fields.description = fromQt(ui->descriptionCombo->currentText());
    fields.location = fromQt(ui->locationCombo->currentText());
    fields.invoice = fromQt(ui->invoiceEdit->text());
    fields.cost = fromQt(ui->costEdit->text());
    fields.details = fromQt(ui->detailsEdit->toPlainText());
}

void CRepairDlg::showValues() {
    const CRepairForm::Fields& fields = m_form.fields();
    const QSignalBlocker blockDescription(ui->descriptionCombo);
    ui->odometerEdit->setText(toQt(fields.odometer));
    ui->dateEdit->setDate(QDateTime::fromSecsSinceEpoch(fields.date).date());
    ui->descriptionCombo->setEditText(toQt(fields.description));
    ui->locationCombo->setEditText(toQt(fields.location));
    ui->invoiceEdit->setText(toQt(fields.invoice));
    ui->costEdit->setText(toQt(fields.cost));
    ui->detailsEdit->setPlainText(toQt(fields.details));
    showIcons();
}

void CRepairDlg::showIcons() {
    ui->defaultIconButton->setIcon(iconPicture(CRepairForm::defaultIcon()));
    ui->selectedIconButton->setIcon(iconPicture(m_form.selectedIcon()));
}

void CRepairDlg::editList(std::string_view section, QComboBox* target) {
    takeValues();
    std::string added;
    {
        CEditListDlg editor(m_context.listsPath, std::string(section), this);
        CModalRunner::run(editor);
        added = editor.lastAdded();
    }
    loadLists();
    if (target == ui->descriptionCombo)
        m_form.fields().description = added;
    else
        m_form.fields().location = added;
    // The list buttons do not match the icon again, so only the two texts are shown.
    const QSignalBlocker blockDescription(ui->descriptionCombo);
    ui->descriptionCombo->setEditText(toQt(m_form.fields().description));
    ui->locationCombo->setEditText(toQt(m_form.fields().location));
}

void CRepairDlg::save() {
    takeValues();
    CDVItem filled = m_record;
    const CRepairForm::SaveOutcome outcome = m_form.save(filled);
    if (!outcome.saved) {
        CMessageBox::warn(this, toQt(outcome.refusal), windowTitle());
        return;
    }
    if (m_context.profile) {
        const bool remembered = m_context.profile->putText(ProfileKeys::LastMaintType, outcome.lastMaintType) &&
                                m_context.profile->putText(ProfileKeys::LastMaintLoc, outcome.lastMaintLoc);
        if (!remembered)
            CMessageBox::warn(this,
                              QStringLiteral("The entry is saved, but the description and location could not be "
                                             "remembered for the next entry: %1\nCheck that the settings folder "
                                             "can be written.")
                                  .arg(toQt(m_context.profile->lastError())),
                              windowTitle());
    }
    m_record = filled;
    accept();
}
