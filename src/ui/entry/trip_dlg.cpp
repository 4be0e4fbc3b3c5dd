#include "ui/entry/trip_dlg.h"

#include "store/app_profile.h"
#include "store/pick_list.h"
#include "ui/entry/edit_list_dlg.h"
#include "ui/entry/entry_fields.h"
#include "ui/toolkit/message_box.h"
#include "ui/toolkit/modal_runner.h"
#include "ui/toolkit/qt_text.h"
#include "ui_trip_dlg.h"

#include <QDateTime>
#include <QSignalBlocker>
#include <QValidator>
#include <algorithm>

namespace {

// Refuses typing that would make the text longer than the limit; text set by the program
// (a stored value, a list pick) is not checked here but by Save.
class CLengthValidator : public QValidator {
public:
    CLengthValidator(int limit, QObject* parent) : QValidator(parent), m_limit(limit) {}
    State validate(QString& input, int&) const override {
        return input.toStdU32String().size() <= static_cast<std::size_t>(m_limit) ? Acceptable : Invalid;
    }

private:
    int m_limit;
};

} // namespace

CTripDlg::CTripDlg(CDVItem& record, const EntryContext& context, QWidget* parent)
    : QDialog(parent), ui(std::make_unique<Ui::CTripDlg>()), m_record(record), m_context(context) {
    ui->setupUi(this);
    ui->vehicleLabel->setText(toQt(m_context.vehicle.name));
    const QString dateFormat = entryfields::shortDateFormat();
    const QString timeFormat = QLocale().timeFormat(QLocale::ShortFormat);
    ui->departureDateEdit->setDisplayFormat(dateFormat);
    ui->arrivalDateEdit->setDisplayFormat(dateFormat);
    ui->departureTimeEdit->setDisplayFormat(timeFormat);
    ui->arrivalTimeEdit->setDisplayFormat(timeFormat);
    ui->saveButton->setIcon(QIcon(QStringLiteral(":/entrydlg/save.svg")));
    ui->cancelButton->setIcon(QIcon(QStringLiteral(":/entrydlg/cancel.svg")));
    for (QPushButton* button : {ui->contactListButton, ui->purposeListButton, ui->destinationListButton})
        button->setIcon(QIcon(QStringLiteral(":/entrydlg/list.svg")));
    ui->destinationCombo->setValidator(
        new CLengthValidator(static_cast<int>(CTripForm::MaxDestinationChars), ui->destinationCombo));

    loadLists();
    CTripForm::Context opening;
    if (m_context.profile) {
        opening.lastPurpose = m_context.profile->getText(ProfileKeys::LastTripPurpose);
        opening.lastContact = m_context.profile->getText(ProfileKeys::LastTripContact);
        opening.lastDestination = m_context.profile->getText(ProfileKeys::LastTripDestination);
    }
    opening.startTime = m_context.startTime;
    opening.currentOdometer = m_context.currentOdometer;
    opening.claimRate = m_context.vehicle.costPerMile;
    m_form.open(m_record, opening);
    showValues();
    ui->contactCombo->setFocus();

    connect(ui->notesEdit, &QPlainTextEdit::textChanged, this, &CTripDlg::limitNotes);
    connect(ui->contactListButton, &QPushButton::clicked, this,
            [this] { editList(CPickList::ContactList, ui->contactCombo); });
    connect(ui->purposeListButton, &QPushButton::clicked, this,
            [this] { editList(CPickList::PurposeList, ui->purposeCombo); });
    connect(ui->destinationListButton, &QPushButton::clicked, this,
            [this] { editList(CPickList::DestinationList, ui->destinationCombo); });
    connect(ui->saveButton, &QPushButton::clicked, this, &CTripDlg::save);
    connect(ui->cancelButton, &QPushButton::clicked, this, &QDialog::reject);
}

CTripDlg::~CTripDlg() = default;

void CTripDlg::loadLists() {
    entryfields::fillPickCombo(ui->contactCombo, m_context.listsPath, CPickList::ContactList);
    entryfields::fillPickCombo(ui->purposeCombo, m_context.listsPath, CPickList::PurposeList);
    entryfields::fillPickCombo(ui->destinationCombo, m_context.listsPath, CPickList::DestinationList);
}

void CTripDlg::takeValues() {
    CTripForm::Fields& fields = m_form.fields();
    fields.contact = fromQt(ui->contactCombo->currentText());
    fields.purpose = fromQt(ui->purposeCombo->currentText());
    fields.destination = fromQt(ui->destinationCombo->currentText());
    fields.departOdometer = fromQt(ui->departureOdometerEdit->text());
    fields.departDate = entryfields::withDate(fields.departDate, ui->departureDateEdit->date());
    fields.departTime = entryfields::withTime(fields.departTime, ui->departureTimeEdit->time());
    fields.arriveOdometer = fromQt(ui->arrivalOdometerEdit->text());
    fields.arriveDate = entryfields::withDate(fields.arriveDate, ui->arrivalDateEdit->date());
    fields.arriveTime = entryfields::withTime(fields.arriveTime, ui->arrivalTimeEdit->time());
    fields.notes = fromQt(ui->notesEdit->toPlainText());
    fields.tolls = fromQt(ui->tollsEdit->text());
    fields.parking = fromQt(ui->parkingEdit->text());
}

void CTripDlg::showValues() {
    const CTripForm::Fields& fields = m_form.fields();
    ui->contactCombo->setEditText(toQt(fields.contact));
    ui->purposeCombo->setEditText(toQt(fields.purpose));
    ui->destinationCombo->setEditText(toQt(fields.destination));
    ui->departureOdometerEdit->setText(toQt(fields.departOdometer));
    ui->departureDateEdit->setDate(QDateTime::fromSecsSinceEpoch(fields.departDate).date());
    ui->departureTimeEdit->setTime(QDateTime::fromSecsSinceEpoch(fields.departTime).time());
    ui->arrivalOdometerEdit->setText(toQt(fields.arriveOdometer));
    ui->arrivalDateEdit->setDate(QDateTime::fromSecsSinceEpoch(fields.arriveDate).date());
    ui->arrivalTimeEdit->setTime(QDateTime::fromSecsSinceEpoch(fields.arriveTime).time());
    {
        const QSignalBlocker blockNotes(ui->notesEdit);
        ui->notesEdit->setPlainText(toQt(fields.notes));
    }
    m_notes = ui->notesEdit->toPlainText();
    ui->tollsEdit->setText(toQt(fields.tolls));
    ui->parkingEdit->setText(toQt(fields.parking));
}

void CTripDlg::limitNotes() {
    const QString text = ui->notesEdit->toPlainText();
    const std::size_t length = text.toStdU32String().size();
    // Typing may not push the notes past their limit; a stored text that is already
    // longer may still be shortened.
    if (length > CTripForm::MaxNotesChars && length > m_notes.toStdU32String().size()) {
        const QSignalBlocker blockNotes(ui->notesEdit);
        ui->notesEdit->setPlainText(m_notes);
        ui->notesEdit->moveCursor(QTextCursor::End);
        return;
    }
    m_notes = text;
}

void CTripDlg::editList(std::string_view section, QComboBox* target) {
    takeValues();
    std::string added;
    {
        CEditListDlg editor(m_context.listsPath, std::string(section), this);
        CModalRunner::run(editor);
        added = editor.lastAdded();
    }
    loadLists();
    CTripForm::Fields& fields = m_form.fields();
    if (target == ui->contactCombo)
        fields.contact = added;
    else if (target == ui->purposeCombo)
        fields.purpose = added;
    else
        fields.destination = added;
    ui->contactCombo->setEditText(toQt(fields.contact));
    ui->purposeCombo->setEditText(toQt(fields.purpose));
    ui->destinationCombo->setEditText(toQt(fields.destination));
}

void CTripDlg::save() {
    takeValues();
    CDVItem filled = m_record;
    const CTripForm::SaveOutcome outcome = m_form.save(filled);
    if (!outcome.saved) {
        CMessageBox::warn(this, toQt(outcome.refusal), windowTitle());
        return;
    }
    if (m_context.profile) {
        CAppProfile& profile = *m_context.profile;
        const bool remembered = profile.putText(ProfileKeys::LastTripPurpose, outcome.lastPurpose) &&
                                profile.putText(ProfileKeys::LastTripContact, outcome.lastContact) &&
                                profile.putText(ProfileKeys::LastTripDestination, outcome.lastDestination);
        if (!remembered)
            CMessageBox::warn(this,
                              QStringLiteral("The trip is saved, but its purpose, contact and destination could not "
                                             "be remembered for the next trip: %1\nCheck that the settings folder "
                                             "can be written.")
                                  .arg(toQt(profile.lastError())),
                              windowTitle());
    }
    m_record = filled;
    accept();
}
