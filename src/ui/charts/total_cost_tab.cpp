#include "ui/charts/total_cost_tab.h"

#include "ui/toolkit/qt_text.h"
#include "ui_total_cost_tab.h"

CTotalCostTab::CTotalCostTab(QWidget* parent) : QWidget(parent), ui(std::make_unique<Ui::CTotalCostTab>()) {
    ui->setupUi(this);
    showFields(CCostStatistics::initialRunningCost());
}

CTotalCostTab::~CTotalCostTab() = default;

void CTotalCostTab::showTotals(const std::string& vehicleName, const RefreshTotals& totals,
                               const std::string& currencySymbol, int distanceUnit) {
    ui->vehicleLabel->setText(toQt(vehicleName));
    showFields(CCostStatistics::runningCost(totals, currencySymbol, distanceUnit));
}

void CTotalCostTab::showFields(const CCostStatistics::RunningCost& f) {
    ui->fuelTotal->setText(toQt(f.fuelTotal));
    ui->fuelAverage->setText(toQt(f.fuelAverage));
    ui->repairsTotal->setText(toQt(f.repairsTotal));
    ui->repairsAverage->setText(toQt(f.repairsAverage));
    ui->parkingTotal->setText(toQt(f.parkingTotal));
    ui->parkingAverage->setText(toQt(f.parkingAverage));
    ui->distanceTotal->setText(toQt(f.distanceTotal));
    ui->distanceAverage->setText(toQt(f.distanceAverage));
    ui->runningCost->setText(toQt(f.runningCost));
}
