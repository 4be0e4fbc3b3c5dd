#pragma once
// The colour buttons of the setup pages: a button shows its colour as a swatch, and a click
// asks the toolkit's colour picker, run through CModalRunner so that tests can answer it.

#include "calc/push_graph_model.h"

#include <optional>

class QPushButton;
class QWidget;

namespace colour_pick {

void showColour(QPushButton* button, Rgb colour);
// The colour the user took, or nothing when the picker was cancelled.
std::optional<Rgb> ask(QWidget* parent, Rgb current);

} // namespace colour_pick
