#pragma once
// The rows the two clipboards hold and the program hands from one tree to the other: a copy of
// one food's or one diet entry's columns, read from a result set's current row and written into
// a row being added or edited.
#include "Nutrients.h"

#include <QDate>
#include <QString>
#include <optional>

class Recordset;

struct FoodClipRecord {
    long FoodId = 0;
    long GroupId = 0;
    QString FoodName;
    QString ServingSize;
    Nutrients values;
    long USDA_NDB_NO = 0;
    long USDA_MSRE_NO = 0;
    double USDA_GM_WT = 0;

    static FoodClipRecord read(const Recordset& rs);
    // Writes every column into the row rs is adding or editing.
    void write(Recordset& rs) const;
    // An original USDA food, whose standard values and serving size are protected.
    bool isOriginal() const { return USDA_NDB_NO != 0 && USDA_NDB_NO == FoodId; }
};

// The catalogue's current food, to be logged; when its row cannot be read, the diet log's
// update message is shown and there is none.
std::optional<FoodClipRecord> currentFoodToLog();

struct DietClipRecord {
    long DietId = 0;
    QDate DietDate;
    double NumServings = 0;
    QString FoodName;
    QString GroupName;
    QString ServingSize;
    Nutrients values;
    long USDA_NDB_NO = 0;
    long USDA_MSRE_NO = 0;
    double USDA_GM_WT = 0;

    static DietClipRecord read(const Recordset& rs);
    // Writes every column but UserName into the row rs is adding or editing.
    void write(Recordset& rs) const;
};
