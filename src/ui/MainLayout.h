#pragma once
// The main window's layout in twips (1,440 to the inch), as the window was designed, and the
// conversion to the screen's pixels.
#include <QRect>

class QWidget;

struct MainLayout {
    QRect frameFood;   // in the window's inner area, below the menu bar
    QRect tvwFood;     // inside frameFood
    QRect txtActivity; // in the window's inner area
    QRect tvwDiet;     // in the window's inner area
};

// Places the children for an inner width and height in twips.
MainLayout computeMainLayout(double innerWidth, double innerHeight);

namespace Twips {
// Twips per pixel on the screen `widget` is on (15 at 96 dots per inch).
double perPixel(const QWidget* widget);
int toPixels(double twips, const QWidget* widget);
double fromPixels(int pixels, const QWidget* widget);
QRect toPixels(const QRect& twips, const QWidget* widget);
} // namespace Twips
