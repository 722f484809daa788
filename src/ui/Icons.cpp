#include "Icons.h"

#include <QHash>

// Outside any namespace, as the resource initialiser requires. A static library's resources are
// only linked in when something refers to them, which this call does.
static void initIconResources() {
    Q_INIT_RESOURCE(icons);
}

using namespace Qt::StringLiterals;

namespace {

void ensureIconResources() {
    static const bool ready = (initIconResources(), true);
    Q_UNUSED(ready);
}

QIcon iconFrom(const QString& folder, const QStringList& keys, const QString& key) {
    static QHash<QString, QIcon> cache;
    ensureIconResources();
    if (!keys.contains(key)) {
        qWarning("No picture is called %s", qUtf8Printable(key));
        return {};
    }
    const QString path = u":/icons/"_s + folder + u'/' + key + u".png"_s;
    auto it = cache.find(path);
    if (it == cache.end())
        it = cache.insert(path, QIcon(path));
    return *it;
}

} // namespace

QStringList smallIconKeys() {
    return {u"closed"_s,      u"cylinder"_s,  u"leaf"_s,     u"open"_s,    u"smlBook"_s,
            u"GroupClosed"_s, u"GroupOpen"_s, u"FoodItem"_s, u"DayOpen"_s, u"DayClosed"_s,
            u"DietItem"_s,    u"Report"_s,    u"Sum"_s};
}

QStringList toolbarIconKeys() {
    return {u"New"_s,  u"Save"_s,     u"Open"_s, u"Print"_s,     u"Delete"_s,
            u"Find"_s, u"FoodItem"_s, u"Help"_s, u"FoodGroup"_s, u"Person"_s,
            u"Sum"_s,  u"Report"_s,   u"Cut"_s,  u"Copy"_s,      u"Paste"_s};
}

QIcon smallIcon(const QString& key) {
    static const QStringList keys = smallIconKeys();
    // Every node of a tree asks for its picture: years of diet days ask thousands of times.
    static QHash<QString, QIcon> byKey;
    auto it = byKey.constFind(key);
    if (it != byKey.cend())
        return *it;
    QIcon icon = iconFrom(u"small"_s, keys, key);
    if (!icon.isNull())
        byKey.insert(key, icon);
    return icon;
}

QIcon toolbarIcon(const QString& key) {
    static const QStringList keys = toolbarIconKeys();
    return iconFrom(u"toolbar"_s, keys, key);
}

QIcon applicationIcon() {
    ensureIconResources();
    QIcon icon;
    for (const int size : {16, 22, 32})
        icon.addFile(u":/icons/app/forkwise-"_s + QString::number(size) + u".png"_s);
    return icon;
}
