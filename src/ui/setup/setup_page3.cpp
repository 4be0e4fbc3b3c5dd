#include "ui/setup/setup_page3.h"

#include "ui/charts/push_graph.h"
#include "ui/setup/colour_pick.h"
#include "ui/toolkit/message_box.h"
#include "ui/toolkit/qt_text.h"
#include "ui_setup_page3.h"

#include <QPainter>
#include <QRandomGenerator>
#include <QTimer>
#include <algorithm>
#include <array>
#include <cmath>

namespace {

constexpr std::array kColours{CSetupPage3::Colour::Back,    CSetupPage3::Colour::Text, CSetupPage3::Colour::Data,
                              CSetupPage3::Colour::Average, CSetupPage3::Colour::Grid, CSetupPage3::Colour::Selection};
// Enough points to fill the frame before the timer takes over.
constexpr int kSamplePrefill = 120;
// Every this many points the sample shows a selected entry.
constexpr int kSampleSelectionEvery = 17;

QPixmap stylePicture(bool bars) {
    QPixmap picture(40, 24);
    picture.fill(Qt::white);
    QPainter painter(&picture);
    painter.setRenderHint(QPainter::Antialiasing, !bars);
    const std::array heights{8, 14, 11, 19, 15};
    if (bars) {
        for (std::size_t i = 0; i < heights.size(); ++i)
            painter.fillRect(3 + static_cast<int>(i) * 7, 23 - heights[i], 5, heights[i], QColor(210, 180, 140));
    } else {
        QPolygon line;
        for (std::size_t i = 0; i < heights.size(); ++i)
            line << QPoint(5 + static_cast<int>(i) * 7, 23 - heights[i]);
        painter.setPen(QPen(QColor(0, 0, 255), 2));
        painter.drawPolyline(line);
    }
    painter.setPen(Qt::gray);
    painter.drawRect(0, 0, picture.width() - 1, picture.height() - 1);
    return picture;
}

} // namespace

CSetupPage3::CSetupPage3(SetupContext& context, QWidget* parent)
    : CSetupPage(context, parent), ui(std::make_unique<Ui::CSetupPage3>()), m_form(context.graph),
      m_sample(new C2DPushGraph(this)), m_timer(new QTimer(this)) {
    ui->setupUi(this);
    const GraphSettings& settings = m_context.graph;
    ui->barsPicture->setPixmap(stylePicture(true));
    ui->linesPicture->setPixmap(stylePicture(false));
    (settings.graphType == 1 ? ui->linesRadio : ui->barsRadio)->setChecked(true);
    ui->barWidthEdit->setText(toQt(m_form.barWidthText));
    ui->gridSizeEdit->setText(toQt(m_form.gridText));
    ui->showLabelsCheck->setChecked(settings.labels);
    ui->showGridCheck->setChecked(settings.showGrid);
    for (Colour which : kColours) {
        colour_pick::showColour(buttonOf(which), colourOf(which));
        connect(buttonOf(which), &QPushButton::clicked, this, [this, which] {
            if (const auto picked = colour_pick::ask(this, colourOf(which)))
                setColour(which, *picked);
        });
    }

    m_sample->setObjectName(QStringLiteral("sampleGraph"));
    m_sample->setMinimumHeight(120);
    ui->sampleLayout->addWidget(m_sample);
    setUpSample();
    for (int i = 0; i < kSamplePrefill; ++i)
        pushSamplePoint();
    connect(m_timer, &QTimer::timeout, this, [this] {
        pushSamplePoint();
        m_sample->updateGraph();
    });
    m_timer->start(250);

    connect(ui->linesRadio, &QRadioButton::toggled, this, [this](bool lines) {
        m_context.graph.graphType = lines ? 1 : 0;
        applied();
    });
    connect(ui->showLabelsCheck, &QCheckBox::toggled, this, [this](bool on) {
        m_context.graph.labels = on;
        applied();
    });
    connect(ui->showGridCheck, &QCheckBox::toggled, this, [this](bool on) {
        m_context.graph.showGrid = on;
        applied();
    });
    connect(ui->barWidthEdit, &QLineEdit::textEdited, this, &CSetupPage3::markChanged);
    connect(ui->gridSizeEdit, &QLineEdit::textEdited, this, &CSetupPage3::markChanged);
    connect(ui->barWidthEdit, &QLineEdit::editingFinished, this, &CSetupPage3::barWidthLeft);
    connect(ui->gridSizeEdit, &QLineEdit::editingFinished, this, &CSetupPage3::gridLeft);
}

CSetupPage3::~CSetupPage3() = default;

Rgb& CSetupPage3::colourOf(Colour which) {
    GraphSettings& settings = m_context.graph;
    switch (which) {
    case Colour::Back:
        return settings.background;
    case Colour::Text:
        return settings.text;
    case Colour::Data:
        return settings.data;
    case Colour::Average:
        return settings.average;
    case Colour::Grid:
        return settings.gridColour;
    case Colour::Selection:
        break;
    }
    return settings.selection;
}

QPushButton* CSetupPage3::buttonOf(Colour which) const {
    const std::array buttons{ui->backButton,    ui->textButton, ui->dataButton,
                             ui->averageButton, ui->gridButton, ui->selectionButton};
    return buttons[static_cast<std::size_t>(which)];
}

void CSetupPage3::setColour(Colour which, Rgb colour) {
    colourOf(which) = colour;
    colour_pick::showColour(buttonOf(which), colour);
    m_form.barWidthText = fromQt(ui->barWidthEdit->text());
    m_form.gridText = fromQt(ui->gridSizeEdit->text());
    // The colour stays even when a field is refused; the user is told which one.
    accepted(m_form.colourPicked());
    applied();
}

void CSetupPage3::barWidthLeft() {
    m_form.barWidthText = fromQt(ui->barWidthEdit->text());
    if (accepted(m_form.barWidthLeft()))
        applied();
}

void CSetupPage3::gridLeft() {
    m_form.gridText = fromQt(ui->gridSizeEdit->text());
    if (accepted(m_form.gridLeft()))
        applied();
}

bool CSetupPage3::validate() {
    // Checked on a copy: leaving the page must not take a bar width that leaving its field
    // ignored.
    GraphSettings scratch = m_context.graph;
    CGraphSetupForm check(scratch);
    check.barWidthText = fromQt(ui->barWidthEdit->text());
    check.gridText = fromQt(ui->gridSizeEdit->text());
    return accepted(check.colourPicked());
}

bool CSetupPage3::accepted(const std::optional<CGraphSetupForm::Refusal>& refusal) {
    if (!refusal)
        return true;
    CMessageBox::warn(this, toQt(refusal->message));
    QLineEdit* field = refusal->field == CGraphSetupForm::Field::BarWidth ? ui->barWidthEdit : ui->gridSizeEdit;
    field->setFocus();
    field->selectAll();
    return false;
}

void CSetupPage3::applied() {
    markChanged();
    setUpSample();
    if (m_context.graphChanged)
        m_context.graphChanged();
}

void CSetupPage3::setUpSample() {
    const GraphSettings& settings = m_context.graph;
    CPushGraphModel& model = m_sample->model();
    model.setRange(0, 100);
    model.setTopLabel("100");
    model.setBottomLabel("0");
    model.setInterval(settings.barWidth);
    model.setGridSize(settings.grid);
    model.setShowGrid(settings.showGrid);
    model.setShowLabels(settings.labels);
    model.setBackground(settings.background);
    model.setTextColour(settings.text);
    model.setGridColour(settings.gridColour);
    const std::array lines{std::pair{CGraphFeed::kDataLine, settings.data},
                           std::pair{CGraphFeed::kAverageLine, settings.average},
                           std::pair{CGraphFeed::kSelectionLine, settings.selection}};
    for (const auto& [id, colour] : lines)
        if (!model.addLine(id, colour))
            model.setLineColour(colour, id);
    model.setBarMode(CGraphFeed::kDataLine, settings.graphType == 0);
    model.setBarMode(CGraphFeed::kSelectionLine, true);
    m_sample->update();
}

void CSetupPage3::pushSamplePoint() {
    // A slow wave with noise on it, its average a little above the middle, and now and then
    // a selected point, as the graph pages draw them.
    const int n = m_samplePoints++;
    const int value = std::clamp(
        50 + static_cast<int>(25 * std::sin(n / 7.0)) + QRandomGenerator::global()->bounded(-12, 13), 0, 100);
    const bool selected = n % kSampleSelectionEvery == kSampleSelectionEvery - 1;
    CPushGraphModel& model = m_sample->model();
    model.push(selected ? 1 : value, CGraphFeed::kDataLine);
    model.push(55, CGraphFeed::kAverageLine);
    model.push(selected ? value : 0, CGraphFeed::kSelectionLine);
}
