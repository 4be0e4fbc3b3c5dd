#include "print/painter_surface.h"
#include "print/pdf_report_writer.h"
#include "store/file_io.h"

#include <QDir>
#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

TEST(PdfReportWriterTest, WritesEveryPageWithItsTextsWhereDrawnAndNoFileWhenNothingIsPrinted) {
    QTemporaryDir dir;
    const QString file = dir.filePath("log.pdf");
    // The sheet in points, and the page inside its quarter-inch margins in pixels at 600 to the inch.
    const std::tuple<PaperSize, Orientation, int, int, DeviceRect> cases[] = {
        {PaperSize::Letter, Orientation::Portrait, 612, 792, {0, 0, 4800, 6300}},
        {PaperSize::A4, Orientation::Landscape, 842, 595, {0, 0, 6717, 4658}}};
    for (const auto& [paper, orientation, width, height, sheet] : cases) {
        SCOPED_TRACE(int(paper));
        CPdfReportWriter writer(paper, orientation);
        writer.setTitle("Fuel log of the Golf");
        const FontDescription font{"Times New Roman", -100}; // 12 points
        const auto layout = [&](CDrawingSurface& surface) {
            EXPECT_EQ(std::tuple(surface.pageRect(), surface.printableRect(), surface.orientation()),
                      std::tuple(sheet, sheet, orientation));
            EXPECT_TRUE(surface.drawBitmap(kReportLogoResource, {3000, 150, 4500, 650}));
            EXPECT_FALSE(surface.drawBitmap(dir.filePath("Logo.bmp").toStdString(), {3000, 150, 4500, 650}));
            surface.drawText("Odometer", {600, 600, 3000, 800}, font, textformat::kSingleLine);
            EXPECT_TRUE(surface.newPage());
            surface.drawText("Repairs & tyres", {1200, 1200, 4000, 1400}, font, textformat::kSingleLine);
            return true;
        };
        std::string error;
        ASSERT_EQ(writer.write(file.toStdString(), layout, &error), PdfWriteResult::Written) << error;

        QProcess pdftotext; // lists the head, then each page with its words and where they lie
        pdftotext.start(QStringLiteral(PDFTOTEXT_PROGRAM), {"-bbox", file, "-"});
        ASSERT_TRUE(pdftotext.waitForFinished());
        const QString pdf = QString::fromUtf8(pdftotext.readAllStandardOutput());
        EXPECT_TRUE(pdf.contains("<title>Fuel log of the Golf</title>"));
        EXPECT_EQ(pdf.count("<page "), 2);
        EXPECT_TRUE(pdf.contains(QString(R"(<page width="%1.000000" height="%2.000000">)").arg(width).arg(height)));
        // Page pixels 600 and 1200 are one and two inches from the margins' corner.
        for (const auto& [word, inches, page] : {std::tuple{"Odometer", 90.0, 1}, {"Repairs", 162.0, 2}}) {
            const auto at =
                QRegularExpression(R"re(<word xMin="([\d.]+)" yMin="([\d.]+)"[^>]*>)re" + QString(word)).match(pdf);
            ASSERT_TRUE(at.hasMatch()) << word;
            EXPECT_EQ(at.capturedStart() > pdf.lastIndexOf("<page ") ? 2 : 1, page) << word;
            EXPECT_LT(qAbs(at.captured(1).toDouble() - inches) + qAbs(at.captured(2).toDouble() - inches), 3) << word;
        }
    }
    std::string before, after, error;
    ASSERT_EQ(odrivo::readWholeFile(file.toStdString(), before), odrivo::ReadStatus::Ok);
    bool printed = false; // a layout that started a page but had nothing to print
    const auto half = [&](CDrawingSurface& s) { return s.drawText("half a page", {0, 0, 900, 90}, {}, 0) && printed; };
    EXPECT_EQ(CPdfReportWriter().write(file.toStdString(), half), PdfWriteResult::NothingToPrint);
    EXPECT_EQ(odrivo::readWholeFile(file.toStdString(), after), odrivo::ReadStatus::Ok);
    EXPECT_EQ(after, before);
    const std::string lost = dir.filePath("gone/log.pdf").toStdString();
    printed = true;
    EXPECT_EQ(CPdfReportWriter().write(lost, half, &error), PdfWriteResult::Failed);
    EXPECT_NE(error.find(lost), std::string::npos) << error;
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::NoDotAndDotDot | QDir::AllEntries), QStringList{"log.pdf"});
}

} // namespace
