#pragma once
// CGraphPage is one of the three summary pages of the main window's tab strip: the
// figures MAX with its date, MIN with its date, Current and AVG of one value over every
// entry of the vehicle. The window hands it the log and asks it to recompute after every
// refresh; the figures themselves come from CCostStatistics.

#include "calc/cost_statistics.h"

#include <QWidget>
#include <memory>

namespace Ui {
class CGraphPage;
}
class CVehicleLogDoc;
class CLocaleInfo;

class CGraphPage : public QWidget {
    Q_OBJECT
public:
    enum class Kind { Economy, FuelCost, RepairCost };

    CGraphPage(Kind kind, QWidget* parent = nullptr);
    ~CGraphPage() override;

    void setSource(const CVehicleLogDoc* doc, const CLocaleInfo* locale);
    // Computes the figures from the log and shows them.
    void recompute();
    const CCostStatistics::PageFigures& figures() const { return m_figures; }

private:
    std::unique_ptr<Ui::CGraphPage> ui;
    Kind m_kind;
    const CVehicleLogDoc* m_doc = nullptr;
    const CLocaleInfo* m_locale = nullptr;
    CCostStatistics::PageFigures m_figures;
};
