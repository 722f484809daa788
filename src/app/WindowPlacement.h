#pragma once
// The main window's place and size between runs, in the per-user settings store (application
// "Forkwise", section "Settings"), in twips.
#include <QRect>

class QWidget;

struct Placement {
    double left = 1000, top = 1000, width = 6500, height = 6500;
};

Placement readPlacement();
void writePlacement(const Placement& p);

// The frame rectangle in pixels for a placement, brought back onto the primary screen when it
// would lie wholly off every screen (a monitor unplugged since it was saved).
QRect placementToScreen(const Placement& p, const QWidget* window);
