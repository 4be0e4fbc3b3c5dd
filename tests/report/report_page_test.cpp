// The page-layout engine of the printed reports, drawn through CRecordingSurface: a letter sheet
// (8.5 x 11 in) printable to a quarter inch from each edge. At 600 dpi a 10-point font is 83
// pixels high, its characters 41.5 pixels wide and its lines 100 pixels high.

#include "report/recording_surface.h"
#include "report/report_page.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <memory>
#include <string>
#include <vector>

using namespace reportflags;

void PrintTo(const DeviceRect& r, std::ostream* out) {
    *out << r.left << "," << r.top << "," << r.right << "," << r.bottom;
}

namespace {

struct Sheet {
    explicit Sheet(MappingMode mode = MappingMode::Text, int dpi = 600) : surface(dpi, dpi), page(surface, mode) {}
    const std::vector<std::string>& lines() const { return surface.lines(); }
    const std::string& last() const { return surface.lines().back(); }
    CRecordingSurface surface;
    CReportPage page;
};

// The rectangle of a recorded "fill" or "text" line.
DeviceRect rectOf(const std::string& line) {
    DeviceRect r;
    const std::size_t blank = line.find(' ');
    std::sscanf(line.c_str() + blank + 1, "%d,%d,%d,%d", &r.left, &r.top, &r.right, &r.bottom);
    return r;
}

// The quoted text at the end of a recorded "text" line.
std::string textOf(const std::string& line) {
    const std::size_t open = line.find(" \"", line.rfind("\" ") + 1);
    return line.substr(open + 2, line.size() - open - 3);
}

bool has(const std::string& line, const std::string& part) {
    return line.find(part) != std::string::npos;
}

} // namespace

TEST(ReportPageUnits, ConvertInchesBothWaysInEitherMode) {
    struct Case {
        MappingMode mode;
        int dpi;
        double inches;
        int unitsX, unitsY;
    };
    const Case cases[] = {
        {MappingMode::Text, 600, 1.0, 600, 600},       {MappingMode::Text, 300, 1.0, 300, 300},
        {MappingMode::Text, 600, 0.0099, 5, 5},        {MappingMode::Text, 600, 0.0, 0, 0},
        {MappingMode::Text, 600, -2.0, 0, 0},          {MappingMode::Anisotropic, 600, 1.0, 117, 90},
        {MappingMode::Anisotropic, 300, 1.0, 117, 90}, {MappingMode::Anisotropic, 600, 8.5, 1000, 772},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.dpi << " dpi, " << c.inches << " in");
        Sheet sheet(c.mode, c.dpi);
        EXPECT_EQ(sheet.page.toUnitsX(c.inches), c.unitsX);
        EXPECT_EQ(sheet.page.toUnitsY(c.inches), c.unitsY);
    }
    Sheet text;
    EXPECT_DOUBLE_EQ(text.page.toInchesX(300), 0.5);
    EXPECT_DOUBLE_EQ(text.page.toInchesY(1), 1.0 / 600);
    EXPECT_EQ(text.page.toInchesY(0), 0.0);
    EXPECT_EQ(text.page.toInchesX(-5), 0.0);
    Sheet logical(MappingMode::Anisotropic);
    EXPECT_DOUBLE_EQ(logical.page.toInchesX(500), 4.25);
    EXPECT_DOUBLE_EQ(logical.page.toInchesY(500), 5.5);
    EXPECT_EQ(logical.page.toInchesY(0), 0.0);
    EXPECT_DOUBLE_EQ(logical.page.widthInches(), 8.5);
    EXPECT_EQ(logical.page.bounds(), (DeviceRect{0, 0, 1000, 1000}));
}

TEST(ReportPageUnits, AnisotropicLayoutIsTheSameOnAnyResolution) {
    Sheet low(MappingMode::Anisotropic, 300), high(MappingMode::Anisotropic, 600);
    for (Sheet* sheet : {&low, &high}) {
        sheet->page.drawLine(1.0, 1.0, 1.0, 7.0, 3);
        sheet->page.printText(2.0, 1.5, kBold, 12, "Odometer");
        ASSERT_NE(sheet->page.createRegion(3.0, 0.5, 4.0, 4.0, fillstyle::kGray), nullptr);
    }
    ASSERT_EQ(low.lines().size(), 3u);
    ASSERT_EQ(high.lines().size(), 3u);
    // Logical 117, 90 maps to 298, 297 and to 596, 594 pixels: the same place on paper.
    EXPECT_EQ(low.lines()[0], "line solid w3 #000000 298,297 2098,297");
    EXPECT_EQ(high.lines()[0], "line solid w3 #000000 596,594 4197,594");
    for (std::size_t i = 1; i < 3; ++i) {
        const DeviceRect a = rectOf(low.lines()[i]), b = rectOf(high.lines()[i]);
        EXPECT_NEAR(b.left, 2 * a.left, 1);
        EXPECT_NEAR(b.top, 2 * a.top, 1);
        EXPECT_NEAR(b.right, 2 * a.right, 1);
        EXPECT_NEAR(b.bottom, 2 * a.bottom, 1);
    }
    // Fonts keep their size in points: twice the pixels on the finer printer.
    EXPECT_TRUE(has(low.lines()[1], "\"Times New Roman\" -50 w700"));
    EXPECT_TRUE(has(high.lines()[1], "\"Times New Roman\" -100 w700"));
}

TEST(ReportPageState, StackHoldsTenStatesAndCallsDoNotLeak) {
    Sheet sheet;
    for (int i = 0; i < CReportPage::kStackSize; ++i)
        EXPECT_TRUE(sheet.page.pushState());
    EXPECT_FALSE(sheet.page.pushState());
    sheet.page.setFont("Arial", 14);
    sheet.page.setTextFlags(kItalic);
    sheet.page.setTextFlags(kKeepFlags);
    EXPECT_EQ(sheet.page.state().flags, unsigned(kItalic));
    while (sheet.page.stackDepth() > 0)
        EXPECT_TRUE(sheet.page.popState());
    EXPECT_FALSE(sheet.page.popState());
    EXPECT_EQ(sheet.page.state().face, "Times New Roman");
    EXPECT_EQ(sheet.page.state().pointSize, 10);
    EXPECT_EQ(sheet.page.state().flags, 0u);

    // A black region prints white: neither that nor one call's font reaches the next call.
    CReportRegion* dark = sheet.page.createRegion(1, 1, 2, 4, fillstyle::kBlack);
    ASSERT_NE(dark, nullptr);
    sheet.page.printInRegion(*dark, 0, 0, kBold | kItalic | kUnderline | kStrikeOut, 24, "Notes");
    EXPECT_TRUE(has(sheet.last(), "-200 w700 italic underline strike left #ffffff transparent"));
    sheet.page.printText(3, 1, kKeepFlags, 0, "after");
    EXPECT_TRUE(has(sheet.last(), "-83 w400 left #000000 opaque \"after\""));
    EXPECT_EQ(sheet.page.stackDepth(), 0);

    const ColourRef black = sheet.page.setTextColour(colourRef(0, 0, 200));
    EXPECT_EQ(black, 0u);
    sheet.page.printText(4, 1, kKeepFlags, 0, "blue");
    EXPECT_TRUE(has(sheet.last(), "#0000c8"));
    EXPECT_EQ(sheet.page.setTextColour(black), colourRef(0, 0, 200));
    EXPECT_DOUBLE_EQ(sheet.page.setLineSpacing(0), 1.0);
    EXPECT_DOUBLE_EQ(sheet.page.setLineSpacing(1.5), 1.0);
    EXPECT_DOUBLE_EQ(sheet.page.lineSpacing(), 1.5);
}

TEST(ReportPageText, ReturnsTheRowBelowThePrintedText) {
    struct Case {
        double spacing, row, column;
        int size;
        const char* text;
        double next;
    };
    const Case cases[] = {
        {1.0, 1.0, 0.5, 10, "VIN:  1234", 700.0 / 600},
        {1.0, 0.0, 0.5, 24, "FUEL REPORT", 240.0 / 600},
        {1.0, -1.0, 0.5, 10, "row 0", 100.0 / 600},
        // 600 pixels left of the page's edge hold 14 characters: two lines.
        {1.0, 1.0, 7.5, 10, "aaaa bbbb cccc dddd", 800.0 / 600},
        {1.5, 1.0, 0.5, 10, "spaced", 700.0 / 600 + 10.0 / 72},
        {2.0, 2.0, 0.5, 12, "spaced", (1200.0 + 120) / 600 + 12.0 / 72},
        // Off the page: nothing printed, the row comes back.
        {1.0, 1.0, 8.5, 10, "right of the page", 1.0},
        {1.0, 11.0, 0.5, 10, "below the page", 11.0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text);
        Sheet sheet;
        sheet.page.setLineSpacing(c.spacing);
        EXPECT_DOUBLE_EQ(sheet.page.printText(c.row, c.column, kKeepFlags, c.size, "%s", c.text), c.next);
        const bool onPage = c.next != c.row;
        ASSERT_EQ(sheet.lines().size(), onPage ? 1u : 0u);
        if (onPage) {
            EXPECT_EQ(rectOf(sheet.last()),
                      (DeviceRect{sheet.page.toUnitsX(c.column), sheet.page.toUnitsY(c.row), 5100, 6600}));
        }
    }
}

TEST(ReportPageText, FlagsBecomeTheSurfacesFormatAndFillShadesTheText) {
    Sheet sheet;
    sheet.page.setFillStyle(fillstyle::kDarkGray);
    sheet.page.printText(1, 1, kFill | kCentre | kExpandTabs | kNoClip, 10, "A & B\t%d", 7);
    ASSERT_EQ(sheet.lines().size(), 2u);
    // "A & B" and a tab reaching column 8, then "7": 9 characters.
    EXPECT_EQ(sheet.lines()[0], "fill 600,600,974,700 darkgray");
    EXPECT_TRUE(has(sheet.last(), "w400 centre|tabs|noclip #000000 opaque \"A & B\t7\""));
    sheet.page.printText(2, 1, kRight | kSingleLine | kVerticalCentre, 10, "x");
    EXPECT_TRUE(has(sheet.last(), " right|single|vcentre "));
}

TEST(ReportPageText, FormattedTextIsCutAt999Characters) {
    struct Case {
        std::string text;
        std::size_t printed;
    };
    const Case cases[] = {
        {std::string(999, 'x'), 999},
        {std::string(1500, 'x'), 999},
        // Half a character is no character: the cut falls before it.
        {std::string(998, 'x') + "\xc3\xa9", 998},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text.size());
        Sheet sheet;
        sheet.page.printText(0, 0, kSingleLine, 10, "%s", c.text.c_str());
        EXPECT_EQ(textOf(sheet.last()), c.text.substr(0, c.printed));
    }
}

TEST(ReportPageRegion, CreationFailsOffThePageAndCutsAtThePrintableEdge) {
    struct Case {
        double top, left, bottom, right;
        int fill;
        bool made;
        DeviceRect rect;
        const char* fillLine;
    };
    const Case cases[] = {
        {0.5, 0, 1.5, 3.9, fillstyle::kLightGray, true, {0, 300, 2340, 900}, "fill 0,300,2340,900 lightgray"},
        {0, 0, 10.9, 8.4, fillstyle::kNone, true, {0, 0, 4950, 6450}, nullptr},
        {1, 1, 2, 2, 3, true, {600, 600, 1200, 1200}, nullptr},
        {-0.1, 0, 1, 1, 0, false, {}, nullptr},
        {0, -0.1, 1, 1, 0, false, {}, nullptr},
        {0, 0, 1, 8.6, 0, false, {}, nullptr},
        {0, 0, 11.1, 1, 0, false, {}, nullptr},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.top << ", " << c.left << " to " << c.bottom << ", " << c.right);
        Sheet sheet;
        CReportRegion* region = sheet.page.createRegion(c.top, c.left, c.bottom, c.right, c.fill);
        ASSERT_EQ(region != nullptr, c.made);
        if (region) {
            EXPECT_EQ(region->rect(), c.rect);
        }
        ASSERT_EQ(sheet.lines().size(), c.fillLine ? 1u : 0u);
        if (c.fillLine) {
            EXPECT_EQ(sheet.last(), c.fillLine);
        }
    }
    Sheet sheet;
    for (int i = 0; i < CReportPage::kMaxElements - 1; ++i)
        ASSERT_NE(sheet.page.createRegion(1, 1, 2, 2, 0), nullptr);
    EXPECT_NE(sheet.page.createTable({}), nullptr);
    EXPECT_EQ(sheet.page.createRegion(1, 1, 2, 2, 0), nullptr);
    EXPECT_EQ(sheet.page.createTable({}), nullptr);
}

TEST(ReportPageRegion, TextStaysInsideTheRegion) {
    Sheet sheet;
    CReportRegion* region = sheet.page.createRegion(1, 1, 2, 3, fillstyle::kNone);
    ASSERT_NE(region, nullptr);
    const std::string longLine(200, 'w');
    const double next = sheet.page.printInRegion(*region, 0.5, 0.01, kSingleLine | kNoClip, 9, "%s", longLine.c_str());
    EXPECT_EQ(rectOf(sheet.last()), (DeviceRect{607, 901, 1800, 1200}));
    EXPECT_FALSE(has(sheet.last(), "noclip"));
    EXPECT_TRUE(has(sheet.last(), "#000000 opaque"));
    // 9 points are 75 pixels, lines 90: the next row is relative to the region too.
    EXPECT_DOUBLE_EQ(next, 390.0 / 600);
    sheet.page.printInRegion(*region, 0.2, 0.01, kKeepFlags, 10, "aaaa bbbb cccc dddd eeee ffff gggg");
    EXPECT_EQ(rectOf(sheet.last()).right, 1800);

    const std::size_t drawn = sheet.lines().size();
    EXPECT_DOUBLE_EQ(sheet.page.printInRegion(*region, 0.1, 2.0, kKeepFlags, 10, "right of it"), 0.1);
    EXPECT_DOUBLE_EQ(sheet.page.printInRegion(*region, 1.0, 0.0, kKeepFlags, 10, "below it"), 1.0);
    EXPECT_EQ(sheet.lines().size(), drawn);
}

TEST(ReportPageRegion, TitleBandMovesTheTextOrigin) {
    struct Case {
        unsigned flags;
        int fill;
        int band;
        const char* title;
    };
    const Case cases[] = {
        // Measured text height (100) plus 10, shaded: white on black.
        {0x91, fillstyle::kBlack, 110, "centre|single|vcentre #ffffff transparent"},
        {0x91, fillstyle::kLightGray, 110, "centre|single|vcentre #000000 transparent"},
        // Twice the point size: 2 x 10 / 72 in is 166 pixels.
        {kBold, fillstyle::kBlack, 166, "w700 single|vcentre #000000 opaque"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.title);
        Sheet sheet;
        CReportRegion* region = sheet.page.createRegion(0.5, 0, 1.5, 3.9, fillstyle::kNone);
        ASSERT_NE(region, nullptr);
        EXPECT_EQ(region->textOrigin(), (DevicePoint{1, 301}));
        region->drawFrame();
        EXPECT_EQ(sheet.last(), "outline solid w1 #000000 0,300 2340,300 2340,900 0,900");
        region->drawTitle("Vehicle Information", 10, c.flags, c.fill);
        EXPECT_EQ(rectOf(sheet.last()), (DeviceRect{0, 300, 2340, 300 + c.band}));
        EXPECT_TRUE(has(sheet.last(), c.title));
        if (c.flags & kFill) {
            EXPECT_EQ(rectOf(sheet.lines()[sheet.lines().size() - 2]), rectOf(sheet.last()));
        }
        EXPECT_EQ(region->textOrigin(), (DevicePoint{1, 301 + c.band}));
        sheet.page.printInRegion(*region, 0, 0.01, 0x201, 12, "VIN:  %s", "1FA");
        EXPECT_EQ(rectOf(sheet.last()).top, 301 + c.band);
    }
}

TEST(ReportPageTable, CellsSitInTheirColumnsInsetAndWithinTheRowCount) {
    Sheet sheet;
    TableDescription description{1.0, 0.5, 3.0, 4.5, true, {{1.0, "Date", 0}, {2.0, "Station", 2}, {1.5, "Cost", 4}}};
    CReportTable* table = sheet.page.createTable(description);
    ASSERT_NE(table, nullptr);
    // Rows of 1.5 x 10 points are 125 pixels: 9 fit in 2 inches, the first is the heading band.
    ASSERT_EQ(table->rowHeight(), 125);
    ASSERT_EQ(table->rowCount(), 8);
    EXPECT_EQ(sheet.lines().size(), 0u);

    struct Case {
        int row, column, size;
        bool drawn;
        DeviceRect rect;
        const char* shading;
    };
    const Case cases[] = {
        {0, 0, 0, true, {302, 727, 898, 848}, "-83 w700 left #000000 opaque"},
        {0, 1, 12, true, {902, 727, 2098, 848}, "-100 w700 left #000000 transparent"},
        // The last column is cut at the table's right edge; dark shading prints white.
        {7, 2, 0, true, {2102, 1602, 2698, 1723}, "-83 w700 left #ffffff transparent"},
        {8, 0, 0, false, {}, nullptr},
        {-1, 0, 0, false, {}, nullptr},
        {0, 3, 0, false, {}, nullptr},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << "row " << c.row << ", column " << c.column);
        sheet.surface.clear();
        EXPECT_EQ(sheet.page.printCell(*table, c.row, c.column, c.size, 0x21, "%.24s", "Shell"), c.drawn);
        if (!c.drawn) {
            EXPECT_EQ(sheet.lines().size(), 0u);
            continue;
        }
        const int fill = description.columns[c.column].fillStyle;
        ASSERT_EQ(sheet.lines().size(), fill ? 2u : 1u);
        if (fill) {
            EXPECT_EQ(rectOf(sheet.lines()[0]), c.rect);
        }
        EXPECT_EQ(rectOf(sheet.last()), c.rect);
        EXPECT_TRUE(has(sheet.last(), c.shading));
    }
    EXPECT_DOUBLE_EQ(sheet.page.lineSpacing(), 1.0);
    EXPECT_EQ(sheet.page.stackDepth(), 0);

    // Text bigger than its cell (13 characters of 75 pixels, lines of 180) reaches down, and
    // away from the side it keeps to, instead of being cut; the shading keeps to the cell.
    for (const auto& [flags, rect] :
         {std::pair{0x21u, DeviceRect{302, 727, 1277, 907}}, std::pair{0x41u, DeviceRect{-77, 727, 898, 907}}}) {
        sheet.surface.clear();
        ASSERT_TRUE(sheet.page.printCell(*table, 0, 0, 18, flags, "TOTAL-TOTAL-X"));
        EXPECT_EQ(rectOf(sheet.last()), rect) << flags;
    }

    sheet.surface.clear();
    table->drawHeadings();
    ASSERT_EQ(sheet.lines().size(), 4u);
    EXPECT_TRUE(has(sheet.lines()[1], "902,602,2098,723 \"Times New Roman\" -83 w700 centre|single|vcentre"));
    EXPECT_EQ(sheet.last(), "line solid w1 #000000 300,725 2700,725");
}

TEST(ReportPageDrawing, LinesKeepOrChangeThePenAndBitmapsReportMissingFiles) {
    Sheet sheet;
    sheet.page.setPenStyle(penstyle::kDot);
    sheet.page.drawLine(1.6, 0, 1.6, 7.95, 3);
    EXPECT_EQ(sheet.last(), "line dot w3 #000000 0,960 4770,960");
    sheet.page.drawLine(1, 1, 2, 2, 1, penstyle::kDashDot);
    EXPECT_EQ(sheet.last(), "line dashdot w1 #000000 600,600 1200,1200");
    EXPECT_EQ(sheet.page.state().penStyle, unsigned(penstyle::kDot));

    EXPECT_FALSE(sheet.page.printBitmap("/nonexistent/Logo.bmp", 0.5, 0.1, 1.5, 2.0));
    EXPECT_EQ(sheet.last(), "bitmap 60,300,1200,900 \"/nonexistent/Logo.bmp\" missing");
    const std::filesystem::path logo = std::filesystem::temp_directory_path() / "odrivo_report_logo.bmp";
    std::ofstream(logo) << "BM";
    EXPECT_TRUE(sheet.page.printBitmap(logo.string(), 0.5, 0.1, 1.5, 2.0));
    std::filesystem::remove(logo);
}

TEST(RecordingSurface, MeasuresWithTheFixedMetric) {
    struct Case {
        const char* text;
        unsigned format;
        int width;
        DeviceRect measured;
    };
    // 10 points at 600 dpi: characters 41.5 pixels wide, lines 100 high.
    const Case cases[] = {
        {"aaaa bbbb", 0, 373, {10, 20, 176, 220}},
        {"aaaa bbbb", 0, 374, {10, 20, 384, 120}},
        {"aaaa bbbb", textformat::kSingleLine, 100, {10, 20, 384, 120}},
        {"a\nbb", 0, 1000, {10, 20, 93, 220}},
        {"a verylongword b", 0, 200, {10, 20, 508, 320}},
        {"a\tb", 0, 1000, {10, 20, 135, 120}},
        {"a\tb", textformat::kExpandTabs, 1000, {10, 20, 384, 120}},
        {"", 0, 1000, {10, 20, 10, 120}},
    };
    CRecordingSurface surface;
    const FontDescription font{"Arial", -83};
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.text << " in " << c.width);
        EXPECT_EQ(surface.measureText(c.text, {10, 20, 10 + c.width, 30}, font, c.format), c.measured);
    }
    EXPECT_TRUE(surface.lines().empty());
    const CRecordingSurface landscape(300, 300, Orientation::Landscape);
    EXPECT_EQ(landscape.pageRect(), (DeviceRect{0, 0, 3300, 2550}));
    EXPECT_EQ(landscape.printableRect(), (DeviceRect{75, 75, 3225, 2475}));
}
