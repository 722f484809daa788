#include "WindowPlacement.h"

#include "MainLayout.h"

#include <QGuiApplication>
#include <QScreen>
#include <QSettings>

namespace {
const char* const kKeys[] = {"MainLeft", "MainTop", "MainWidth", "MainHeight"};

QSettings store() {
    return QSettings(QStringLiteral("Forkwise"), QStringLiteral("Forkwise"));
}
} // namespace

Placement readPlacement() {
    Placement p;
    double* values[] = {&p.left, &p.top, &p.width, &p.height};
    QSettings s = store();
    s.beginGroup(QStringLiteral("Settings"));
    for (int i = 0; i < 4; ++i) {
        bool ok = false;
        const double v = s.value(QString::fromLatin1(kKeys[i])).toString().toDouble(&ok);
        if (ok)
            *values[i] = v;
    }
    return p;
}

void writePlacement(const Placement& p) {
    const double values[] = {p.left, p.top, p.width, p.height};
    QSettings s = store();
    s.beginGroup(QStringLiteral("Settings"));
    for (int i = 0; i < 4; ++i) // stored as the text of a single-precision number
        s.setValue(QString::fromLatin1(kKeys[i]), QString::number(float(values[i])));
}

QRect placementToScreen(const Placement& p, const QWidget* window) {
    QRect r(Twips::toPixels(p.left, window), Twips::toPixels(p.top, window),
            std::max(200, Twips::toPixels(p.width, window)),
            std::max(150, Twips::toPixels(p.height, window)));
    for (const QScreen* screen : QGuiApplication::screens())
        if (screen->availableGeometry().intersects(r))
            return r;
    const QScreen* primary = QGuiApplication::primaryScreen();
    if (!primary)
        return r;
    const QRect avail = primary->availableGeometry();
    r.setSize(r.size().boundedTo(avail.size()));
    r.moveTopLeft(avail.topLeft() + QPoint(Twips::toPixels(p.left, window) % 64,
                                           Twips::toPixels(p.top, window) % 64));
    if (!avail.contains(r))
        r.moveTopLeft(avail.topLeft());
    return r;
}
