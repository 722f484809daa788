#include "MainLayout.h"

#include <QWidget>
#include <cmath>

MainLayout computeMainLayout(double innerWidth, double innerHeight) {
    const double frameHeight = innerHeight / 2 - 480;
    const double dietTop = 480 + frameHeight + 120;
    const auto rect = [](double left, double top, double width, double height) {
        return QRect(int(std::lround(left)), int(std::lround(top)), int(std::lround(width)),
                     int(std::lround(height)));
    };
    MainLayout l;
    l.frameFood = rect(120, 480, innerWidth - 240, frameHeight);
    l.tvwFood = rect(120, 240, innerWidth - 480, frameHeight - 360);
    l.tvwDiet = rect(360, dietTop, innerWidth - 480, frameHeight);
    l.txtActivity = rect(0, dietTop, 375, frameHeight);
    return l;
}

double Twips::perPixel(const QWidget* widget) {
    const int dpi = widget ? widget->logicalDpiX() : 96;
    return 1440.0 / (dpi > 0 ? dpi : 96);
}

int Twips::toPixels(double twips, const QWidget* widget) {
    return int(std::lround(twips / perPixel(widget)));
}

double Twips::fromPixels(int pixels, const QWidget* widget) {
    return pixels * perPixel(widget);
}

QRect Twips::toPixels(const QRect& twips, const QWidget* widget) {
    return QRect(toPixels(twips.x(), widget), toPixels(twips.y(), widget),
                 std::max(0, toPixels(twips.width(), widget)),
                 std::max(0, toPixels(twips.height(), widget)));
}
