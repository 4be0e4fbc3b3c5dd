// The Import CSV Data dialog headless: the file and heading lists, click-to-map, saving and
// reopening a map, an import into the log with what it remembers, and the refusals, failures
// and Cancel that leave the log and the profile byte for byte. The import rules are the core's.

// Before any Qt header: the column map has a member named like Qt's `slots` keyword.
#include "exchange/column_map.h"

#include "dialog_fixture.h"
#include "main_window_fixture.h"
#include "ui/main/import_dlg.h"

#include <QComboBox>
#include <QGroupBox>
#include <QListWidget>
#include <QTableWidget>
#include <QTimer>
#include <QTreeWidget>

namespace {

using namespace dialog_test;

const DVTime kStart = 1'700'000'000;
const std::string kGood = "Type,Odo,Date,Litres\r\nFuel,1500,03/04/2005,40\r\nOil change,900,,\r\n";

class ImportDlgTest : public DialogTest {
protected:
    void SetUp() override {
        DialogTest::SetUp();
        fs::create_directories(m_dir / "csv");
        writeCsv("good.csv", kGood);
        CVehicleLogDoc log;
        auto existing = std::make_unique<CDVItem>();
        std::tie(existing->Odometer, existing->Entry) = std::tuple(1000, "Wash");
        log.insert(std::move(existing));
        ASSERT_TRUE(log.save(dataFile()).saved);
        ASSERT_TRUE(m_profile->putText(ProfileKeys::CSVPath, csvFolder()));
    }
    std::string csvFolder() const { return (m_dir / "csv").string() + "/"; }
    std::string dataFile() const { return path("VIN1.odv"); }
    void writeCsv(const std::string& name, const std::string& bytes) const {
        ASSERT_TRUE(odrivo::writeFileAtomically(csvFolder() + name, bytes));
    }
    std::unique_ptr<CImportDlg> open() {
        auto dialog = std::make_unique<CImportDlg>(*m_profile, dataFile(), VehicleSettings{}, "%m/%d/%Y", kStart);
        dialog->show();
        return dialog;
    }
    static void clickRow(QAbstractItemView* view, const QModelIndex& index, bool twice = false) {
        view->scrollTo(index);
        const QPoint at = view->visualRect(index).center();
        QTest::mouseClick(view->viewport(), Qt::LeftButton, {}, at);
        if (twice)
            QTest::mouseDClick(view->viewport(), Qt::LeftButton, {}, at);
    }
    // Maps source column `column` to field `slot` as the user does: one click on each.
    static void map(QDialog& dialog, int column, int slot) {
        auto* source = child<QTreeWidget>(dialog, "sourceList");
        clickRow(source, source->model()->index(column, 0));
        auto* fields = child<QTreeWidget>(dialog, "mapList");
        clickRow(fields, fields->model()->index(slot, 0));
    }
    static QStringList mapColumn(QDialog& dialog) {
        QStringList texts;
        auto* fields = child<QTreeWidget>(dialog, "mapList");
        for (int row = 0; row < fields->topLevelItemCount(); ++row)
            texts << fields->topLevelItem(row)->text(1);
        return texts;
    }
    static QStringList shownTexts() {
        QStringList texts;
        for (const auto& shown : CMessageBox::shown())
            texts << shown.text;
        return texts;
    }
    std::string section(const char* name, const char* key) const {
        return CProfileFile(path("profile.ini")).getText(name, key, "<absent>");
    }
};

TEST_F(ImportDlgTest, ClickToMapSavesTheMapImportsAndRemembersFileAndMap) {
    writeCsv("other.CSV", "a,b\n");
    auto dialog = open();
    auto* files = child<QListWidget>(*dialog, "fileList");
    ASSERT_EQ(files->count(), 2);
    EXPECT_FALSE(child<QPushButton>(*dialog, "importButton")->isEnabled()) << "no file chosen yet";
    clickRow(files, files->model()->index(0, 0)); // good.csv, sorted first
    EXPECT_EQ(child<QTreeWidget>(*dialog, "sourceList")->topLevelItemCount(), 4);
    EXPECT_TRUE(child<QPushButton>(*dialog, "importButton")->isEnabled());

    for (const auto& [column, slot] : {std::pair{0, 0}, {1, 1}, {2, 2}, {3, 6}, {2, 3}})
        map(*dialog, column, slot);
    // A click on a field with no column chosen maps nothing; a double click unmaps.
    clickRow(child<QTreeWidget>(*dialog, "mapList"), child<QTreeWidget>(*dialog, "mapList")->model()->index(5, 0));
    clickRow(child<QTreeWidget>(*dialog, "mapList"), child<QTreeWidget>(*dialog, "mapList")->model()->index(3, 0),
             true);
    QStringList expected(CColumnMap::kFieldCount, QString());
    std::tie(expected[0], expected[1], expected[2], expected[6]) = std::tuple("Type", "Odo", "Date", "Litres");
    EXPECT_EQ(mapColumn(*dialog), expected);
    // The preview shows the entries the first lines make, in the log's order, before anything is written.
    auto* preview = child<QTableWidget>(*dialog, "previewTable");
    ASSERT_EQ(preview->rowCount(), 2);
    EXPECT_EQ(std::pair(preview->item(0, 1)->text(), preview->item(1, 4)->text()),
              std::pair(QStringLiteral("Oil change"), QLocale().toString(40.0, 'f', 2)));

    auto* names = child<QComboBox>(*dialog, "mapCombo");
    EXPECT_EQ(names->currentText(), "DefaultMap");
    for (const char* name : {"", "Car 2", "Car"}) {
        SCOPED_TRACE(name);
        CMessageBox::clearShown();
        names->setCurrentText(QString::fromLatin1(name));
        click(*dialog, "saveMapButton");
        EXPECT_EQ(CMessageBox::shown().size(), *name ? 0u : 1u);
    }
    // "Car" is part of the listed "Car 2", so it is saved but not listed again.
    EXPECT_EQ(std::tuple(section("ListAttributes", "Map1"), section("ListAttributes", "Map2"), section("Car", "F6")),
              std::tuple("Car 2", "<absent>", "4"));
    EXPECT_EQ(names->count(), 1);

    CMessageBox::clearShown();
    click(*dialog, "importButton");
    EXPECT_EQ(dialog->result(), CImportDlg::kImported);
    EXPECT_EQ(shownTexts(), QStringList{"Import Complete!\nImported 0 lines\nSkipped 0 Lines"});
    CVehicleLogDoc log;
    ASSERT_TRUE(log.load(dataFile()).ok());
    ASSERT_EQ(log.size(), 3u);
    EXPECT_EQ(std::tuple(log.at(0).Entry, log.at(1).Entry, log.at(2).Entry, log.at(2).Quantity),
              std::tuple("Oil change", "Wash", "Fuel", 40.0));
    EXPECT_EQ(std::tuple(section("ListAttributes", "CSVName"), section("ListAttributes", "CSVPath"),
                         section("ListAttributes", "LastMap"), section("Car", "F2")),
              std::tuple("good.csv", csvFolder(), "Car", "3"));

    // Opening again: the last file and map are chosen and the map is shown against its headings.
    auto again = open();
    EXPECT_EQ(child<QComboBox>(*again, "mapCombo")->currentText(), "Car");
    EXPECT_EQ(mapColumn(*again), expected);
    EXPECT_EQ(child<QListWidget>(*again, "fileList")->currentItem()->text(), "good.csv");
}

TEST_F(ImportDlgTest, RefusedFileFailedImportAndCancelLeaveLogAndProfileAsTheyWere) {
    writeCsv("bad.csv", "no commas here\r\n1 2 3\r\n");
    writeCsv("broken.csv", "Type,Odo\r\nFuel,100\r\nFuel," + std::string(200, '9') + "\r\n");
    CColumnMap saved;
    saved.setColumn(CColumnMap::EntryType, 0);
    saved.setColumn(CColumnMap::Odometer, 1);
    ASSERT_TRUE(saved.save(*m_profile, "M"));
    ASSERT_TRUE(m_profile->putText(ProfileKeys::CSVName, "bad.csv"));
    const std::string profileBefore = read(path("profile.ini"));
    const std::string logBefore = read(dataFile());

    auto dialog = open();
    ASSERT_EQ(CMessageBox::shown().size(), 1u);
    EXPECT_TRUE(CMessageBox::shown()[0].text.startsWith("ERROR 2201: ")) << CMessageBox::shown()[0].text.toStdString();
    EXPECT_FALSE(child<QPushButton>(*dialog, "importButton")->isEnabled());
    click(*dialog, "closeButton");
    EXPECT_EQ(dialog->result(), QDialog::Rejected);
    EXPECT_EQ(read(path("profile.ini")), profileBefore);

    const std::string scripts[] = {"broken.csv", "good.csv"};
    for (const std::string& file : scripts) {
        SCOPED_TRACE(file);
        auto failing = open();
        failing->chooseFile(QString::fromStdString(file));
        CMessageBox::clearShown();
        if (file == "good.csv") // Close while the import runs cancels it
            QTimer::singleShot(0, failing.get(), [&] { click(*failing, "closeButton"); });
        click(*failing, "importButton");
        EXPECT_TRUE(failing->isVisible());
        ASSERT_EQ(CMessageBox::shown().size(), 1u);
        EXPECT_EQ(CMessageBox::shown()[0].text.left(10), file == "good.csv" ? "The import" : "Error 3221");
        EXPECT_EQ(child<QGroupBox>(*failing, "mapGroup")->title(), "CSV Maps");
        EXPECT_EQ(read(dataFile()), logBefore);
        EXPECT_EQ(read(path("profile.ini")), profileBefore);
        EXPECT_EQ(child<QPushButton>(*failing, "closeButton")->text(), "Close");
    }
}

TEST_F(ImportDlgTest, AnUnreadableLogIsReportedAndNeverReplaced) {
    write("VIN1.odv", "not a log");
    ASSERT_TRUE(m_profile->putText(ProfileKeys::CSVName, "good.csv"));
    ASSERT_TRUE(CColumnMap().save(*m_profile, "DefaultMap"));
    auto dialog = open();
    ASSERT_EQ(CMessageBox::shown().size(), 1u);
    EXPECT_TRUE(CMessageBox::shown()[0].text.startsWith(
        QString::fromStdString("ERROR 100! Unable to open database " + dataFile())));
    dialog->mapField(CColumnMap::EntryType, 0);
    dialog->mapField(CColumnMap::Odometer, 1);
    CMessageBox::clearShown();
    click(*dialog, "importButton");
    ASSERT_EQ(CMessageBox::shown().size(), 2u);
    EXPECT_TRUE(CMessageBox::shown()[1].text.startsWith(CImportDlg::kSaveError));
    EXPECT_EQ(read(dataFile()), "not a log");
    EXPECT_EQ(section("ListAttributes", "CSVName"), "good.csv");
    EXPECT_EQ(section("DefaultMap", "F1"), "0") << "nothing remembered after a failed save";
}

} // namespace

namespace window_test {

TEST_F(MainWindowTest, FileImportShowsTheImportedEntriesAndNeedsAVehicle) {
    writeVehicles({"Alpha", "Beta"}, {fills(2), fills(1)});
    CVehicleLogDlg& window = start();
    EXPECT_EQ(window.action(CommandId::Import), window.action(CommandId::ImportTool));
    ASSERT_TRUE(window.action(CommandId::Import)->isEnabled());
    const std::string csv = (m_home / "in.csv").string();
    ASSERT_TRUE(odrivo::writeFileAtomically(csv, "Type,Odo\nFuel stop,1050\n"));
    onDialog<CImportDlg>([&](CImportDlg& dialog) {
        dialog.setFolder(QString::fromStdString(m_home.string()));
        dialog.chooseFile(QStringLiteral("in.csv"));
        dialog.mapField(CColumnMap::EntryType, 0);
        dialog.mapField(CColumnMap::Odometer, 1);
        dialog.importPressed();
    });
    window.action(CommandId::ImportTool)->trigger();
    EXPECT_EQ(rows(), 3);
    CVehicleLogDoc log;
    ASSERT_TRUE(log.load(data() + "VIN0.odv").ok());
    EXPECT_EQ(std::pair(log.size(), log.at(1).Entry), std::pair(std::size_t(3), std::string("Fuel stop")));
    fs::remove(registryPath()); // the next vehicle's settings cannot be read: no vehicle is current
    choose(1);
    EXPECT_FALSE(window.action(CommandId::Import)->isEnabled());
}

} // namespace window_test
