#pragma once
// The food tree's node scheme: group nodes "G" + GroupId, food nodes "F" + FoodId; the tag tells
// the root group, the favourites, the user's groups and the foods apart.
#include <QString>

inline const QString kGroupRoot = QStringLiteral("GROUPROOT");
inline const QString kFavorite = QStringLiteral("FAVORITE");
inline const QString kGroup = QStringLiteral("GROUP");
inline const QString kFoodItem = QStringLiteral("FOODITEM");

inline QString groupKey(long groupId) {
    return u'G' + QString::number(groupId);
}
inline QString foodKey(long foodId) {
    return u'F' + QString::number(foodId);
}
