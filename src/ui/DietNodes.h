#pragma once
// The diet tree's node scheme: day nodes "DT" + yyyyMMdd showing the date as yyyy-MM-dd, entry
// nodes "D" + DietId showing the food's name. A day's date is read back from its text.
#include "TreeNode.h"

#include <QDate>
#include <QString>

inline const QString kDietDay = QStringLiteral("DIETDAY");
inline const QString kDietItem = QStringLiteral("DIETITEM");

inline QString dayKey(const QDate& d) {
    return QStringLiteral("DT") + d.toString(QStringLiteral("yyyyMMdd"));
}
inline QString dayText(const QDate& d) {
    return d.toString(QStringLiteral("yyyy-MM-dd"));
}
inline QString entryKey(long dietId) {
    return u'D' + QString::number(dietId);
}
inline QDate dateOf(const TreeNode* day) {
    return QDate::fromString(day->Text(), QStringLiteral("yyyy-MM-dd"));
}
