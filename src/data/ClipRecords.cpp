#include "ClipRecords.h"

#include "Module1.h"
#include "Recordset.h"
#include "clsFWSDataSource.h"

namespace {
long whole(const Recordset& rs, const char* column) {
    return long(rs.Fields(QString::fromLatin1(column)).toLongLong());
}
QString text(const Recordset& rs, const char* column) {
    return rs.Fields(QString::fromLatin1(column)).toString();
}
double number(const Recordset& rs, const char* column) {
    return rs.Fields(QString::fromLatin1(column)).toDouble();
}
void set(Recordset& rs, const char* column, const QVariant& value) {
    rs.setField(QString::fromLatin1(column), value);
}
} // namespace

FoodClipRecord FoodClipRecord::read(const Recordset& rs) {
    FoodClipRecord f;
    f.FoodId = whole(rs, "FoodId");
    f.GroupId = whole(rs, "GroupId");
    f.FoodName = text(rs, "FoodName");
    f.ServingSize = text(rs, "ServingSize");
    f.values = Nutrients::read(rs);
    f.USDA_NDB_NO = whole(rs, "USDA_NDB_NO");
    f.USDA_MSRE_NO = whole(rs, "USDA_MSRE_NO");
    f.USDA_GM_WT = number(rs, "USDA_GM_WT");
    return f;
}

void FoodClipRecord::write(Recordset& rs) const {
    set(rs, "FoodId", qlonglong(FoodId));
    set(rs, "GroupId", qlonglong(GroupId));
    set(rs, "FoodName", FoodName);
    set(rs, "ServingSize", ServingSize);
    values.write(rs);
    set(rs, "USDA_NDB_NO", qlonglong(USDA_NDB_NO));
    set(rs, "USDA_MSRE_NO", qlonglong(USDA_MSRE_NO));
    set(rs, "USDA_GM_WT", USDA_GM_WT);
}

DietClipRecord DietClipRecord::read(const Recordset& rs) {
    DietClipRecord d;
    d.DietId = whole(rs, "DietId");
    d.DietDate = rs.Fields(QStringLiteral("DietDate")).toDate();
    d.NumServings = number(rs, "NumServings");
    d.FoodName = text(rs, "FoodName");
    d.GroupName = text(rs, "GroupName");
    d.ServingSize = text(rs, "ServingSize");
    d.values = Nutrients::read(rs);
    d.USDA_NDB_NO = whole(rs, "USDA_NDB_NO");
    d.USDA_MSRE_NO = whole(rs, "USDA_MSRE_NO");
    d.USDA_GM_WT = number(rs, "USDA_GM_WT");
    return d;
}

void DietClipRecord::write(Recordset& rs) const {
    set(rs, "DietId", qlonglong(DietId));
    set(rs, "DietDate", DietDate);
    set(rs, "NumServings", NumServings);
    set(rs, "FoodName", FoodName);
    set(rs, "GroupName", GroupName);
    set(rs, "ServingSize", ServingSize);
    values.write(rs);
    set(rs, "USDA_NDB_NO", qlonglong(USDA_NDB_NO));
    set(rs, "USDA_MSRE_NO", qlonglong(USDA_MSRE_NO));
    set(rs, "USDA_GM_WT", USDA_GM_WT);
}

std::optional<FoodClipRecord> currentFoodToLog() {
    try {
        return FoodClipRecord::read(*gDataSource->rscmdFoods);
    } catch (const DbError&) {
        showAppError(kDietUpdatePhrase);
        return std::nullopt;
    }
}
