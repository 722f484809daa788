#pragma once
// The diet clipboard: a copy of one diet entry's columns, pasted as a new entry onto a day.
#include <QDate>
#include <QString>
#include <QVariant>

struct DietClipRecord {
    QDate DietDate;
    double NumServings = 0;
    long DietId = 0;
    QString FoodName;
    QString GroupName;
    QString ServingSize;
    // Nutrients stay QVariants: an entry whose food had no value for one keeps it null.
    QVariant Fat, Carbohydrate, Protein, Calorie, Sodium, Cholesterol, Other1, Other2;
    long USDA_NDB_NO = 0;
    long USDA_MSRE_NO = 0;
    long USDA_GM_WT = 0;
};
