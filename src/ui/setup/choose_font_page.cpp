#include "ui/setup/choose_font_page.h"

#include "ui/main/entry_list_ctrl.h"
#include "ui/setup/colour_pick.h"
#include "ui/toolkit/qt_text.h"
#include "ui_choose_font_page.h"

#include <QFontDatabase>

namespace {

constexpr int kBold = 700;
constexpr int kNormal = 400;
constexpr int kClearType = 5;

// Shows `text`, selecting the item that has it when there is one.
void showText(QComboBox* combo, const QString& text) {
    const int index = combo->findText(text);
    if (index >= 0)
        combo->setCurrentIndex(index);
    else
        combo->setEditText(text);
}

} // namespace

CChooseFontPage::CChooseFontPage(SetupContext& context, QWidget* parent)
    : CSetupPage(context, parent), ui(std::make_unique<Ui::CChooseFontPage>()), m_font(context.list.font),
      m_size(context.list.font.height, logicalDpiY()) {
    ui->setupUi(this);
    QFont heading(QStringLiteral("Tahoma"));
    heading.setPixelSize(11);
    heading.setWeight(QFont::Bold);
    ui->styleLabel->setFont(heading);
    ui->previewLabel->setFont(heading);

    QStringList families = QFontDatabase::families();
    families.sort(Qt::CaseInsensitive);
    ui->fontNameCombo->addItems(families);
    showText(ui->fontNameCombo, toQt(m_font.name));
    for (const char* size : {"8", "9", "10", "11", "12", "14", "16", "20", "24", "28", "36"})
        ui->fontSizeCombo->addItem(QString::fromLatin1(size));
    showText(ui->fontSizeCombo, QString::number(m_size.size()));
    ui->boldCheck->setChecked(m_font.weight >= kBold);
    ui->underlineCheck->setChecked(m_font.underline);
    ui->italicCheck->setChecked(m_font.italic);
    ui->clearTypeCheck->setChecked(m_font.quality == kClearType);
    ui->previewEdit->setFont(CEntryListCtrl::listFont(m_font));

    const ListAppearance& list = m_context.list;
    colour_pick::showColour(ui->fontColorButton, list.fontColour);
    colour_pick::showColour(ui->lineColorButton, list.lineColour);
    ui->shadedLinesCheck->setChecked(list.lines);
    ui->gridLinesCheck->setChecked(list.grid);
    ui->askDeleteCheck->setChecked(m_context.askDelete);

    connect(ui->fontNameCombo, &QComboBox::editTextChanged, this, [this](const QString& name) {
        m_font.name = fromQt(name);
        fontEdited();
    });
    connect(ui->fontSizeCombo, &QComboBox::editTextChanged, this, [this](const QString& size) {
        // A size that is not a whole number above 0 leaves the height as it was.
        if (m_size.sizeEntered(fromQt(size)))
            m_font.height = m_size.height();
        fontEdited();
    });
    for (QCheckBox* style : {ui->boldCheck, ui->underlineCheck, ui->italicCheck, ui->clearTypeCheck})
        connect(style, &QCheckBox::toggled, this, &CChooseFontPage::styleClicked);
    connect(ui->fontColorButton, &QPushButton::clicked, this,
            [this] { pickColour(m_context.list.fontColour, ui->fontColorButton); });
    connect(ui->lineColorButton, &QPushButton::clicked, this,
            [this] { pickColour(m_context.list.lineColour, ui->lineColorButton); });
    connect(ui->shadedLinesCheck, &QCheckBox::toggled, this, [this](bool on) {
        m_context.list.lines = on;
        if (m_context.listChanged)
            m_context.listChanged();
        markChanged();
    });
    connect(ui->gridLinesCheck, &QCheckBox::toggled, this, &CChooseFontPage::markChanged);
    connect(ui->askDeleteCheck, &QCheckBox::toggled, this, &CChooseFontPage::markChanged);
}

CChooseFontPage::~CChooseFontPage() = default;

void CChooseFontPage::styleClicked() {
    m_font.weight = ui->boldCheck->isChecked() ? kBold : kNormal;
    m_font.underline = ui->underlineCheck->isChecked();
    m_font.italic = ui->italicCheck->isChecked();
    m_font.quality = ui->clearTypeCheck->isChecked() ? kClearType : 0;
    fontEdited();
}

void CChooseFontPage::fontEdited() {
    ui->previewEdit->setFont(CEntryListCtrl::listFont(m_font));
    markChanged();
}

void CChooseFontPage::pickColour(Rgb& colour, QPushButton* button) {
    const auto picked = colour_pick::ask(this, colour);
    if (!picked)
        return;
    // Straight into the list's appearance: a picked colour stays even if the sheet is cancelled.
    colour = *picked;
    colour_pick::showColour(button, colour);
    if (m_context.listChanged)
        m_context.listChanged();
    markChanged();
}

void CChooseFontPage::writeBack() {
    m_context.askDelete = ui->askDeleteCheck->isChecked();
    m_context.list.grid = ui->gridLinesCheck->isChecked();
}
