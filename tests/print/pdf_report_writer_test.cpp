#include "print/pdf_report_writer.h"
#include "store/file_io.h"

#include <QDir>
#include <QProcess>
#include <QRegularExpression>
#include <QSizeF>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <map>

namespace {

struct PdfWord {
    int page;
    double x; // points from the sheet's left and top edges
    double y;
};

// What pdftotext finds in the file: the size of every page in points and where each word is.
struct PdfContents {
    QString head;
    std::vector<QSizeF> pages;
    std::map<QString, PdfWord> words;
};

PdfContents readPdf(const QString& path) {
    QProcess process;
    process.start(QStringLiteral(PDFTOTEXT_PROGRAM), {"-bbox", path, "-"});
    EXPECT_TRUE(process.waitForFinished(30000));
    const QString html = QString::fromUtf8(process.readAllStandardOutput());
    PdfContents pdf{html.section("<body>", 0, 0), {}, {}};
    static const QRegularExpression kItem(
        R"re(<page width="([\d.]+)" height="([\d.]+)">|<word xMin="([\d.]+)" yMin="([\d.]+)"[^>]*>([^<]*)</word>)re");
    for (const auto& m : kItem.globalMatch(html)) {
        if (!m.captured(1).isEmpty())
            pdf.pages.emplace_back(m.captured(1).toDouble(), m.captured(2).toDouble());
        else
            pdf.words[m.captured(5)] = {static_cast<int>(pdf.pages.size()), m.captured(3).toDouble(),
                                        m.captured(4).toDouble()};
    }
    return pdf;
}

struct PaperCase {
    PaperSize paper;
    Orientation orientation;
    QSizeF points;
    DeviceRect sheet; // at 600 pixels per inch
};

class PdfReportWriterTest : public ::testing::TestWithParam<PaperCase> {
protected:
    QTemporaryDir m_dir;
    std::string path(const char* name) const { return m_dir.filePath(name).toStdString(); }
};

TEST_P(PdfReportWriterTest, WritesEveryPageWithItsTextsWhereTheyWereDrawn) {
    const PaperCase& c = GetParam();
    CPdfReportWriter writer(c.paper, c.orientation);
    writer.setTitle("Fuel log of the Golf");
    DeviceRect sheet, printable;
    Orientation orientation{};
    const FontDescription font{"Times New Roman", -100}; // 12 points
    const auto layout = [&](CDrawingSurface& surface) {
        sheet = surface.pageRect();
        printable = surface.printableRect();
        orientation = surface.orientation();
        surface.drawText("Odometer", {600, 600, 3000, 800}, font, textformat::kSingleLine);
        EXPECT_TRUE(surface.newPage());
        surface.drawText("Repairs & tyres", {1200, 1200, 4000, 1400}, font, textformat::kSingleLine);
        return true;
    };
    std::string error;
    ASSERT_EQ(writer.write(path("log.pdf"), layout, &error), PdfWriteResult::Written) << error;

    EXPECT_EQ(sheet, c.sheet);
    EXPECT_EQ(printable, (DeviceRect{150, 150, c.sheet.right - 150, c.sheet.bottom - 150}));
    EXPECT_EQ(orientation, c.orientation);
    const PdfContents pdf = readPdf(m_dir.filePath("log.pdf"));
    EXPECT_TRUE(pdf.head.contains("<title>Fuel log of the Golf</title>"));
    ASSERT_EQ(pdf.pages.size(), 2u);
    EXPECT_NEAR(pdf.pages[0].width(), c.points.width(), 1);
    EXPECT_NEAR(pdf.pages[0].height(), c.points.height(), 1);
    // Sheet pixels 600 and 1200 are one and two inches from the corner, margins notwithstanding.
    const std::vector<std::tuple<QString, int, double>> expected = {
        {"Odometer", 1, 72}, {"Repairs", 2, 144}, {"&amp;", 2, 0}};
    for (const auto& [word, page, inches] : expected) {
        SCOPED_TRACE(word.toStdString());
        ASSERT_TRUE(pdf.words.count(word));
        EXPECT_EQ(pdf.words.at(word).page, page);
        if (inches > 0) {
            EXPECT_NEAR(pdf.words.at(word).x, inches, 2);
            EXPECT_NEAR(pdf.words.at(word).y, inches, 4);
        }
    }
}

INSTANTIATE_TEST_SUITE_P(
    Papers, PdfReportWriterTest,
    ::testing::Values(PaperCase{PaperSize::Letter, Orientation::Portrait, {612, 792}, {0, 0, 5100, 6600}},
                      PaperCase{PaperSize::A4, Orientation::Landscape, {842, 595}, {0, 0, 7017, 4958}}));

TEST(PdfReportWriterRefusalTest, WritesNoFileWhenNothingIsPrintedOrTheFolderIsMissing) {
    QTemporaryDir dir;
    const std::string kept = dir.filePath("kept.pdf").toStdString();
    ASSERT_TRUE(odrivo::writeFileAtomically(kept, "earlier report"));
    CPdfReportWriter writer;
    bool drawn = false;
    const auto empty = [&](CDrawingSurface& surface) {
        surface.drawText("half a page", {0, 0, 1000, 200}, {"Tahoma", -50}, 0);
        return drawn;
    };
    EXPECT_EQ(writer.write(kept, empty), PdfWriteResult::NothingToPrint);
    std::string bytes;
    ASSERT_EQ(odrivo::readWholeFile(kept, bytes), odrivo::ReadStatus::Ok);
    EXPECT_EQ(bytes, "earlier report");

    drawn = true;
    const std::string lost = dir.filePath("no such folder/log.pdf").toStdString();
    std::string error;
    EXPECT_EQ(writer.write(lost, empty, &error), PdfWriteResult::Failed);
    EXPECT_NE(error.find(lost), std::string::npos) << error;
    EXPECT_FALSE(odrivo::fileExists(lost));
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::NoDotAndDotDot | QDir::AllEntries), QStringList{"kept.pdf"});
}

} // namespace
