#include "print/painter_surface.h"

#include <QFontInfo>
#include <QImage>
#include <QPainter>
#include <gtest/gtest.h>

#include <functional>

namespace {

using namespace textformat;
const FontDescription kFont{"Tahoma", -40};
const QRgb kWhite = qRgb(255, 255, 255);

// Draws on a fresh white 600 x 300 image at 300 pixels per inch and gives the smallest rectangle
// holding every pixel that changed.
class PainterSurfaceTest : public ::testing::Test {
protected:
    QRect draw(const std::function<void(CPainterSurface&)>& paint) {
        m_image.setDotsPerMeterX(11811);
        m_image.setDotsPerMeterY(11811);
        m_image.fill(kWhite);
        {
            QPainter painter(&m_image);
            CPainterSurface surface(painter);
            paint(surface);
        }
        QRect ink;
        for (int y = 0; y < m_image.height(); ++y)
            for (int x = 0; x < m_image.width(); ++x)
                ink |= m_image.pixel(x, y) == kWhite ? QRect() : QRect(x, y, 1, 1);
        return ink;
    }
    QImage m_image{600, 300, QImage::Format_RGB32};
};

TEST_F(PainterSurfaceTest, TakesTheSheetFromTheDeviceAndMeasuresWithTheFont) {
    draw([](CPainterSurface& s) {
        const DeviceRect image{0, 0, 600, 300}; // one page, all of it marked
        EXPECT_EQ(std::tuple(s.pageRect(), s.printableRect(), s.verticalResolution(), s.orientation(), s.newPage()),
                  std::tuple(image, image, 300, Orientation::Landscape, false));
        const DeviceRect wide{10, 20, 590, 290};
        const DeviceRect word = s.measureText("Odometer", wide, kFont, kSingleLine);
        EXPECT_EQ((DevicePoint{word.left, word.top}), (DevicePoint{10, 20}));
        EXPECT_GT(s.measureText("Odometer reading", wide, kFont, 0).width(), word.width());
        const DeviceRect narrow{10, 20, word.right + 10, 290};
        EXPECT_EQ(s.measureText("Odometer reading Odometer", narrow, kFont, 0).height(), 3 * word.height());
        EXPECT_EQ(s.measureText("Odometer reading Odometer", narrow, kFont, kSingleLine).height(), word.height());
        // A tab moves on to the next stop of 8 average character widths.
        const QFontMetricsF metrics(reportFont(kFont, 300));
        const unsigned tabs = kSingleLine | kExpandTabs;
        EXPECT_NEAR(s.measureText("Oil\tOdometer", wide, kFont, tabs).width(),
                    8 * metrics.averageCharWidth() + word.width(), 2);
        // A layout of 4 x 1 inches fits the 2 x 1 inch image at half the resolution; one that
        // fits already keeps the device's.
        s.fitInches(1, 0.5);
        EXPECT_EQ(s.horizontalResolution(), 300);
        s.fitInches(4, 1);
        EXPECT_EQ(std::pair(s.horizontalResolution(), s.verticalResolution()), std::pair(150, 150));
    });
}

TEST_F(PainterSurfaceTest, PlacesTextByItsFormat) {
    const DeviceRect box{20, 20, 580, 120};
    // Where the text's middle lies across the room it leaves, and whether it is centred in height.
    const std::tuple<unsigned, double, bool> cases[] = {{kSingleLine, 0, false},
                                                        {kSingleLine | kRight, 1, false},
                                                        {kSingleLine | kCentre | kVerticalCentre, 0.5, true},
                                                        {kCentre | kVerticalCentre, 0.5, false}};
    for (const auto& [format, across, middle] : cases) {
        DeviceRect needed;
        const QRect ink = draw([&](CPainterSurface& s) {
            needed = s.measureText("Hill", box, kFont, format);
            EXPECT_EQ(s.drawText("Hill", box, kFont, format), needed.height());
        });
        EXPECT_NEAR(ink.center().x(), box.left + needed.width() / 2.0 + across * (box.width() - needed.width()), 6)
            << format;
        EXPECT_NEAR(ink.center().y(), middle ? 70 : box.top + needed.height() / 2.0, 8) << format;
    }
}

TEST_F(PainterSurfaceTest, FillsWithTheStockBrushes) {
    using enum StockBrush;
    const std::pair<StockBrush, int> brushes[] = {
        {Gray, 128}, {LightGray, 192}, {DarkGray, 64}, {Black, 0}, {None, 255}};
    for (const auto& [brush, level] : brushes) {
        const QRect ink = draw([&](CPainterSurface& s) { s.fillRect({100, 50, 200, 150}, brush); });
        EXPECT_EQ(ink, level == 255 ? QRect() : QRect(100, 50, 100, 100)) << level;
        EXPECT_EQ(m_image.pixel(150, 100), qRgb(level, level, level)) << level;
    }
}

TEST(ReportFontTest, SizesInDevicePixelsAndReplacesMissingFacesByTheirKind) {
    const QFont font = reportFont({"Tahoma", -100, 700, true, false, true}, 600);
    EXPECT_EQ(std::tuple(font.pixelSize(), font.weight(), font.italic(), font.underline(), font.strikeOut()),
              std::tuple(100, QFont::Bold, true, false, true));
    EXPECT_NEAR(QFontMetricsF(reportFont({"Tahoma", 100}, 600)).height(), 100, 2); // the whole line
    EXPECT_EQ(reportFont({"Tahoma", 0}, 600).pixelSize(), 83);                     // 10 points
    const QString sans = QFontInfo(reportFont({"Tahoma", -20}, 96)).family();
    for (const char* face : {"Times New Roman", "Book Antiqua", "Courier New", "Lucida Console"})
        EXPECT_NE(QFontInfo(reportFont({face, -20}, 96)).family(), sans) << face;
}

} // namespace
