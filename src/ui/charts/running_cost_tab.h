#pragma once
// The "Repair Cost" page of the tab strip: the figures of the repair cost.

#include "ui/charts/graph_page.h"

class CRunningCostTab : public CGraphPage {
    Q_OBJECT
public:
    explicit CRunningCostTab(QWidget* parent = nullptr) : CGraphPage(Kind::RepairCost, parent) {}
};
