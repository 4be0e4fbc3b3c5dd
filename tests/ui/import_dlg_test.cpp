// The Import CSV Data dialog headless: mapping, maps, an import, and what leaves log and profile alone.

// Before any Qt header: the column map has a member named like Qt's `slots` keyword.
#include "exchange/column_map.h"

#include "dialog_fixture.h"
#include "main_window_fixture.h"
#include "ui/main/import_dlg.h"
#include "ui/toolkit/qt_text.h"

#include <QComboBox>
#include <QGroupBox>
#include <QListWidget>
#include <QTableWidget>
#include <QTimer>
#include <QTreeWidget>

namespace {

using namespace dialog_test;

class ImportDlgTest : public DialogTest {
protected:
    void SetUp() override {
        DialogTest::SetUp();
        write("good.csv", "Type,Odo,Date,Litres\r\nFuel,1500,03/04/2005,40\r\nOil change,900,,\r\n");
        CVehicleLogDoc log;
        log.insert(std::make_unique<CDVItem>());
        std::tie(log.at(0).Odometer, log.at(0).Entry) = std::tuple(1000, "Wash");
        ASSERT_TRUE(log.save(path("VIN1.odv")).saved);
        ASSERT_TRUE(m_profile->putText(ProfileKeys::CSVPath, path("")));
    }
    std::unique_ptr<CImportDlg> open() {
        auto dialog = std::make_unique<CImportDlg>(*m_profile, path("VIN1.odv"), VehicleSettings{}, "%m/%d/%Y", 0);
        dialog->show();
        return dialog;
    }
    static void clickRow(QDialog& dialog, const char* list, int row, bool twice = false) {
        auto* view = child<QAbstractItemView>(dialog, list);
        const QPoint at = view->visualRect(view->model()->index(row, 0)).center();
        QTest::mouseClick(view->viewport(), Qt::LeftButton, {}, at);
        if (twice)
            QTest::mouseDClick(view->viewport(), Qt::LeftButton, {}, at);
    }
    static QStringList mapColumn(QDialog& dialog) {
        QStringList texts;
        for (int row = 0; row < CColumnMap::kFieldCount; ++row)
            texts << child<QTreeWidget>(dialog, "mapList")->topLevelItem(row)->text(1);
        return texts;
    }
    static QString lastShown() { return CMessageBox::shown().empty() ? QString() : CMessageBox::shown().back().text; }
    std::string value(const char* s, const char* k) const {
        return CProfileFile(path("profile.ini")).getText(s, k, "-");
    }
};

TEST_F(ImportDlgTest, ClickToMapSavesTheMapImportsAndRemembersFileAndMap) {
    auto dialog = open();
    clickRow(*dialog, "fileList", 0); // good.csv, sorted first
    // Column, then field; the unchosen click on Station maps nothing, the double click unmaps Invoice.
    for (const auto& [column, slot] : {std::pair{0, 0}, {1, 1}, {2, 2}, {3, 6}, {2, 3}}) {
        clickRow(*dialog, "sourceList", column);
        clickRow(*dialog, "mapList", slot);
    }
    clickRow(*dialog, "mapList", 5);
    clickRow(*dialog, "mapList", 3, true);
    QStringList expected(CColumnMap::kFieldCount, QString());
    std::tie(expected[0], expected[1], expected[2], expected[6]) = std::tuple("Type", "Odo", "Date", "Litres");
    EXPECT_EQ(mapColumn(*dialog), expected);
    // The preview: the entries the lines make, in the log's order, before anything is written.
    auto* preview = child<QTableWidget>(*dialog, "previewTable");
    ASSERT_EQ(preview->rowCount(), 2);
    EXPECT_EQ(preview->item(0, 1)->text(), "Oil change");
    auto* names = child<QComboBox>(*dialog, "mapCombo");
    for (const char* name : {"", "Car 2", "Car"}) { // no name is refused; "Car" is part of "Car 2"
        CMessageBox::clearShown();
        names->setCurrentText(QString::fromLatin1(name));
        click(*dialog, "saveMapButton");
        EXPECT_EQ(CMessageBox::shown().size(), *name ? 0u : 1u) << name;
    }
    EXPECT_EQ(std::tuple(value("ListAttributes", "Map1"), value("ListAttributes", "Map2"), value("Car", "F6"),
                         names->count()),
              std::tuple("Car 2", "-", "4", 1));
    click(*dialog, "importButton");
    EXPECT_EQ(std::pair(dialog->result(), lastShown().left(16)), std::pair(1, QStringLiteral("Import Complete!")));
    CVehicleLogDoc log;
    ASSERT_TRUE(log.load(path("VIN1.odv")).ok() && log.size() == 3u);
    EXPECT_EQ(std::tuple(log.at(0).Entry, log.at(1).Entry, log.at(2).Entry, log.at(2).Quantity),
              std::tuple("Oil change", "Wash", "Fuel", 40.0));
    EXPECT_EQ(std::tuple(value("ListAttributes", "CSVName"), value("ListAttributes", "CSVPath"),
                         value("ListAttributes", "LastMap"), value("Car", "F2")),
              std::tuple("good.csv", path(""), "Car", "3"));
    // Opening again chooses the last file and map and shows the map against the file's headings.
    auto again = open();
    EXPECT_EQ(std::tuple(child<QComboBox>(*again, "mapCombo")->currentText(),
                         child<QListWidget>(*again, "fileList")->currentItem()->text(), mapColumn(*again)),
              std::tuple(QStringLiteral("Car"), QStringLiteral("good.csv"), expected));
}

TEST_F(ImportDlgTest, RefusedFileFailedImportCancelAndUnreadableLogLeaveLogAndProfileAsTheyWere) {
    write("bad.csv", "no commas here\r\n1 2 3\r\n");
    write("broken.csv", "Type,Odo\r\nFuel,100\r\nFuel," + std::string(200, '9') + "\r\n");
    CColumnMap saved;
    saved.setColumn(CColumnMap::EntryType, 0);
    saved.setColumn(CColumnMap::Odometer, 1);
    ASSERT_TRUE(saved.save(*m_profile, "M") && m_profile->putText(ProfileKeys::CSVName, "bad.csv"));
    const std::string profileBefore = read(path("profile.ini")), logBefore = read(path("VIN1.odv"));
    auto dialog = open();
    EXPECT_TRUE(lastShown().startsWith("ERROR 2201: ")) << lastShown().toStdString();
    EXPECT_FALSE(child<QPushButton>(*dialog, "importButton")->isEnabled());
    click(*dialog, "closeButton"); // the refused file is not remembered: the checks below compare the profile
    for (const char* file : {"broken.csv", "good.csv"}) {
        const bool cancel = file == std::string("good.csv");
        auto failing = open();
        failing->chooseFile(QString::fromLatin1(file));
        if (cancel) // Close pressed while the import runs
            QTimer::singleShot(0, failing.get(), [&] { click(*failing, "closeButton"); });
        click(*failing, "importButton");
        EXPECT_EQ(lastShown().left(10), cancel ? "The import" : "Error 3221") << file;
        EXPECT_EQ(std::tuple(failing->isVisible(), child<QGroupBox>(*failing, "mapGroup")->title(),
                             child<QPushButton>(*failing, "closeButton")->text()),
                  std::tuple(true, "CSV Maps", "Close"));
        EXPECT_EQ(std::pair(read(path("VIN1.odv")), read(path("profile.ini"))), std::pair(logBefore, profileBefore));
    }
    // A log that cannot be read is reported, and the import's save never replaces it.
    write("VIN1.odv", "not a log");
    CMessageBox::clearShown();
    auto unreadable = open();
    EXPECT_TRUE(
        CMessageBox::shown().at(0).text.startsWith(toQt("ERROR 100! Unable to open database " + path("VIN1.odv"))));
    unreadable->chooseFile(QStringLiteral("good.csv"));
    click(*unreadable, "importButton");
    EXPECT_TRUE(lastShown().startsWith(CImportDlg::kSaveError));
    EXPECT_EQ(std::pair(read(path("VIN1.odv")), read(path("profile.ini"))),
              std::pair(std::string("not a log"), profileBefore));
}

// A web fuel log's export: no saved map fits it, so its headings propose one under the file's
// name; the type chooser says what its lines are, and is saved with the map.
TEST_F(ImportDlgTest, ProposedMapTypeChooserAndClosingWhileImporting) {
    write("web.csv", read(ODRIVO_TEST_DATA "/import/web_fuel_log.csv"));
    auto dialog = open();
    dialog->chooseFile(QStringLiteral("web.csv"));
    EXPECT_EQ(std::tuple(child<QComboBox>(*dialog, "mapCombo")->currentText(),
                         mapColumn(*dialog)[CColumnMap::PartialFill],
                         child<QWidget>(*dialog, "proposedNote")->isVisible()),
              std::tuple("web", "Partial Fill", true));
    child<QComboBox>(*dialog, "typeCombo")->setCurrentIndex(2);
    EXPECT_EQ(child<QTableWidget>(*dialog, "previewTable")->item(1, 0)->text(), CDVItem::typeLabel(CDVItem::Trip));
    child<QComboBox>(*dialog, "typeCombo")->setCurrentIndex(0);
    // The window closed during the import asks first (No by default); No lets it finish, Yes stops it and closes.
    for (const auto answer : {QMessageBox::No, QMessageBox::Yes}) {
        const std::string logBefore = read(path("VIN1.odv"));
        auto importing = answer == QMessageBox::No ? std::move(dialog) : open();
        CMessageBox::setResponder([answer](const CMessageBox::Shown& box) {
            return box.buttons.testFlag(QMessageBox::Yes) ? answer : QMessageBox::Ok;
        });
        CMessageBox::clearShown();
        QTimer::singleShot(0, importing.get(), [&] { importing->close(); });
        click(*importing, "importButton");
        const CMessageBox::Shown& asked = CMessageBox::shown().at(0);
        EXPECT_EQ(std::tuple(asked.text, asked.defaultButton, importing->isVisible(), importing->result(),
                             read(path("VIN1.odv")) == logBefore),
                  std::tuple("The import is still running. Stop it and close?", QMessageBox::No, false,
                             answer == QMessageBox::No ? CImportDlg::kImported : int(QDialog::Rejected),
                             answer == QMessageBox::Yes));
    }
    EXPECT_EQ(std::tuple(value("ListAttributes", "Map1"), value("web", "F24"), value("web", "FixedEntry")),
              std::tuple("web", "6", "Fuel"));
}

} // namespace

namespace window_test {

TEST_F(MainWindowTest, FileImportShowsTheImportedEntriesAndNeedsAVehicle) {
    writeVehicles({"Alpha", "Beta"}, {fills(2), fills(1)});
    CVehicleLogDlg& window = start();
    ASSERT_TRUE(odrivo::writeFileAtomically((m_home / "in.csv").string(), "Type,Odo\nFuel stop,1050\n"));
    onDialog<CImportDlg>([&](CImportDlg& dialog) {
        dialog.setFolder(QString::fromStdString(m_home.string()));
        dialog.chooseFile(QStringLiteral("in.csv"));
        dialog.mapField(CColumnMap::EntryType, 0);
        dialog.mapField(CColumnMap::Odometer, 1);
        dialog.importPressed();
    });
    window.action(CommandId::ImportTool)->trigger();
    EXPECT_EQ(column(2).value(1), "1050") << "the list is rebuilt from the saved log";
    fs::remove(registryPath()); // the next vehicle's settings cannot be read: no vehicle is current
    choose(1);
    EXPECT_FALSE(window.action(CommandId::Import)->isEnabled());
}

} // namespace window_test
