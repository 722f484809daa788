#include "Serving.h"

#include "Module1.h"
#include "Nutrients.h"
#include "clsFWSDataSource.h"

double gramWeightRatio(double storedGramWeight, double newGramWeight) {
    if (storedGramWeight == 0 || newGramWeight == 0)
        return 1.0;
    return newGramWeight / storedGramWeight;
}

void RescaleFood(long m, double g, const QString& s) {
    Recordset& rs = *gDataSource->rscmdFoods;
    const double ratio = gramWeightRatio(rs.Fields(QStringLiteral("USDA_GM_WT")).toDouble(), g);
    Nutrients::read(rs).scaled(ratio).write(rs);
    rs.setField(QStringLiteral("ServingSize"), s);
    rs.setField(QStringLiteral("USDA_MSRE_NO"), qlonglong(m));
    rs.setField(QStringLiteral("USDA_GM_WT"), g);
}

namespace {
void position(Recordset& rs, int index, const QString& keyColumn, long key) {
    rs.MoveFirst();
    if (key != 0)
        rs.FindFirst(Criterion::equals(keyColumn, qlonglong(key)));
    else
        rs.Move(index);
}
} // namespace

namespace {
long listIndex(Recordset& rs, const QString& keyColumn, long key) {
    long result = 0, counter = 0;
    for (rs.MoveFirst(); !rs.eof(); rs.MoveNext(), ++counter)
        if (rs.Fields(keyColumn).toLongLong() == key)
            result = counter;
    rs.MoveFirst();
    return result;
}
} // namespace

long FindMeasureIndex(long measureNo) {
    return listIndex(*gDataSource->rscmdMeasures, QStringLiteral("MSRE_NO"), measureNo);
}

long GroupListIndex(long g) {
    return listIndex(*gDataSource->rscmdAvailGroups, QStringLiteral("GroupId"), g);
}

void FindMeasure(int index, long measureNo) {
    position(*gDataSource->rscmdMeasures, index, QStringLiteral("MSRE_NO"), measureNo);
}

void FindAvailGroup(int index, long groupKey) {
    position(*gDataSource->rscmdAvailGroups, index, QStringLiteral("GroupId"), groupKey);
}
