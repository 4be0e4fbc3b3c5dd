#pragma once
// The "Economy" page of the tab strip: the figures of the fuel economy.

#include "ui/charts/graph_page.h"

class CEconomyTab : public CGraphPage {
    Q_OBJECT
public:
    explicit CEconomyTab(QWidget* parent = nullptr) : CGraphPage(Kind::Economy, parent) {}
};
