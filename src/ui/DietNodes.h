#pragma once
// The diet tree's node scheme: day nodes "DT" + yyyyMMdd showing the date as yyyy-MM-dd, entry
// nodes "D" + DietId showing the food's name. A day's date is read back from its text.
#include "TreeNode.h"

#include <QDate>
#include <QString>

inline const QString kDietDay = QStringLiteral("DIETDAY");
inline const QString kDietItem = QStringLiteral("DIETITEM");

// The date as yyyyMMdd, or yyyy-MM-dd with hyphens, after prefix. Written digit by digit: a
// tree of ten years makes thousands of these, and QDate::toString reads its format each time.
inline QString dayDigits(const QDate& d, QStringView prefix, bool hyphens) {
    const int y = d.year();
    if (y < 1 || y > 9999)
        return prefix.toString() +
               d.toString(hyphens ? QStringLiteral("yyyy-MM-dd") : QStringLiteral("yyyyMMdd"));
    QString s(prefix.size() + (hyphens ? 10 : 8), Qt::Uninitialized);
    QChar* out = s.data();
    for (QChar c : prefix)
        *out++ = c;
    const auto put = [&out](int value, int digits) {
        for (int i = digits - 1; i >= 0; --i, value /= 10)
            out[i] = QChar(u'0' + value % 10);
        out += digits;
    };
    put(y, 4);
    if (hyphens)
        *out++ = u'-';
    put(d.month(), 2);
    if (hyphens)
        *out++ = u'-';
    put(d.day(), 2);
    return s;
}
inline QString dayKey(const QDate& d) {
    return dayDigits(d, u"DT", false);
}
inline QString dayText(const QDate& d) {
    return dayDigits(d, {}, true);
}
inline QString entryKey(long dietId) {
    return u'D' + QString::number(dietId);
}
inline QDate dateOf(const TreeNode* day) {
    return QDate::fromString(day->Text(), QStringLiteral("yyyy-MM-dd"));
}
