#pragma once
// CMenuLook holds the look of the program's menus for the whole run: the style,
// selection and gloom settings read from the profile at start and the menu font.
// Menus created afterwards take their font from here.

#include <QFont>

class QMenuBar;

class CMenuLook {
public:
    static void set(int style, int selection, int gloom);
    static int style();
    static int selection();
    static int gloom();

    // "Comic Sans MS" at 15 points, or the desktop's nearest match.
    static QFont font();
    // Gives the menu bar and its menus the menu font.
    static void apply(QMenuBar* bar);
};
