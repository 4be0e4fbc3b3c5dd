#pragma once
// CChooseFontPage is the "List View" page of the setup sheet: the entry list's font, its two
// colours, shading, grid lines and the ask-before-deleting flag. The colours and the shading
// land in the list's appearance at once (listChanged), so they stay even when the sheet is
// cancelled; the grid lines and the delete question are written back when the sheet closes;
// the font is only described here, and the Setup command takes chosenFont() on OK.

#include "calc/list_appearance.h"
#include "calc/list_font_form.h"
#include "ui/setup/setup_page.h"

#include <memory>

namespace Ui {
class CChooseFontPage;
}
class QPushButton;

class CChooseFontPage : public CSetupPage {
    Q_OBJECT
public:
    explicit CChooseFontPage(SetupContext& context, QWidget* parent = nullptr);
    ~CChooseFontPage() override;

    QString title() const override { return tr("List View"); }
    void writeBack() override;

    ListFont chosenFont() const { return m_font; }

private:
    void styleClicked();
    void pickColour(Rgb& colour, QPushButton* button);
    // The font description changed: show it and mark the page.
    void fontEdited();

    std::unique_ptr<Ui::CChooseFontPage> ui;
    ListFont m_font;
    CListFontForm m_size;
};
