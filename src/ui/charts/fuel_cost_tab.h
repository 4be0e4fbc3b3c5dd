#pragma once
// The "Fuel Cost" page of the tab strip: the figures of the fuel price per unit.

#include "ui/charts/graph_page.h"

class CFuelCostTab : public CGraphPage {
    Q_OBJECT
public:
    explicit CFuelCostTab(QWidget* parent = nullptr) : CGraphPage(Kind::FuelCost, parent) {}
};
