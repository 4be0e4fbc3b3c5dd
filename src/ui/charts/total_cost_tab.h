#pragma once
// CTotalCostTab is the "Running Cost" page of the tab strip: totals and averages of fuel,
// repairs, parking and distance over the entries the last refresh let through, and the
// running cost per distance unit. The window passes the refresh totals after each refresh.

#include "calc/cost_statistics.h"

#include <QWidget>
#include <memory>

namespace Ui {
class CTotalCostTab;
}
struct RefreshTotals;

class CTotalCostTab : public QWidget {
    Q_OBJECT
public:
    explicit CTotalCostTab(QWidget* parent = nullptr);
    ~CTotalCostTab() override;

    void showTotals(const std::string& vehicleName, const RefreshTotals& totals, const std::string& currencySymbol,
                    int distanceUnit);

private:
    void showFields(const CCostStatistics::RunningCost& fields);

    std::unique_ptr<Ui::CTotalCostTab> ui;
};
