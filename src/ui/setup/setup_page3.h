#pragma once
// CSetupPage3 is the "Graph" page of the setup sheet. It edits the graph settings in place:
// every change (style, flags, a field left, a colour picked) lands in the settings at once
// and is announced through graphChanged, so Cancel undoes none of it. The bar width and
// grid fields follow CGraphSetupForm's rules. A sample chart in the "Sample" frame shows
// the settings with made-up points and keeps scrolling while the page lives.

#include "calc/graph_setup_form.h"
#include "ui/setup/setup_page.h"

#include <memory>

namespace Ui {
class CSetupPage3;
}
class C2DPushGraph;
class QPushButton;
class QTimer;

class CSetupPage3 : public CSetupPage {
    Q_OBJECT
public:
    enum class Colour { Back, Text, Data, Average, Grid, Selection };

    explicit CSetupPage3(SetupContext& context, QWidget* parent = nullptr);
    ~CSetupPage3() override;

    QString title() const override { return tr("Graph"); }
    bool validate() override;

    // Stores a picked colour and takes every field of the page with it.
    void setColour(Colour which, Rgb colour);

private:
    Rgb& colourOf(Colour which);
    QPushButton* buttonOf(Colour which) const;
    void barWidthLeft();
    void gridLeft();
    // False after telling the user about the refused field.
    bool accepted(const std::optional<CGraphSetupForm::Refusal>& refusal);
    void applied();
    void setUpSample();
    void pushSamplePoint();

    std::unique_ptr<Ui::CSetupPage3> ui;
    CGraphSetupForm m_form;
    C2DPushGraph* m_sample;
    QTimer* m_timer;
    int m_samplePoints = 0;
};
