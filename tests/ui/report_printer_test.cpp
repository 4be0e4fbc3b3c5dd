// File > Print Reports from the main window: guards, the print dialog and the activity log.

#include "main_window_fixture.h"
#include "ui/toolkit/file_dialog.h"

#include <QPrintDialog>
#include <QPrinter>

namespace window_test {
namespace {

class ReportPrinterTest : public MainWindowTest {
protected:
    void SetUp() override {
        MainWindowTest::SetUp();
        writeVehicles({"Van"}, {fills(3)});
        start();
    }
    // Answers the print dialog: with a PDF file to print into, or cancelled.
    void answerPrintDialog(const std::string& file) {
        m_dialogHandler = [file](QDialog& dialog) -> std::optional<int> {
            auto* print = qobject_cast<QPrintDialog*>(&dialog);
            if (!print)
                return std::nullopt;
            if (file.empty())
                return QDialog::Rejected;
            print->printer()->setOutputFileName(QString::fromStdString(file));
            return QDialog::Accepted;
        };
    }
    std::string m_pdf = (m_home / "report.pdf").string();
};

TEST_F(ReportPrinterTest, ReportsGoToThePrinterWithTheirLogLineUnlessRefusedOrCancelled) {
    // Nothing selected: the selected-item report stops before the print dialog.
    answerPrintDialog(m_pdf);
    m_window->action(CommandId::PrintSelected)->trigger();
    EXPECT_EQ(shownTexts().value(0), "Sorry! You need to select an item in the list to be printed.\nAborting Print!");
    EXPECT_FALSE(fs::exists(m_pdf));

    answerPrintDialog("");
    m_window->action(CommandId::PrintVehicle)->trigger();
    EXPECT_FALSE(logged("Print Repair Report"));

    answerPrintDialog(m_pdf);
    m_window->action(CommandId::PrintByViewTool)->trigger();
    EXPECT_TRUE(logged("Print selection 3"));
    EXPECT_EQ(bytesOf(m_pdf).substr(0, 5), "%PDF-");
}

TEST_F(ReportPrinterTest, SaveAsPdfAddsTheExtensionAndNamesAFailure) {
    QString answer = QString::fromStdString((m_home / "van").string());
    CFileDialog::setResponder([&answer](const CFileDialog::Request&) { return answer; });
    m_window->action(CommandId::SaveReportPdf)->trigger();
    EXPECT_EQ(bytesOf((m_home / "van.pdf").string()).substr(0, 5), "%PDF-");
    answer = QString::fromStdString((m_home / "missing" / "van.pdf").string());
    m_window->action(CommandId::SaveReportPdf)->trigger();
    EXPECT_TRUE(shownTexts().value(0).contains(answer)) << shownTexts().join('|').toStdString();
    CFileDialog::setResponder(nullptr);
}

} // namespace
} // namespace window_test
