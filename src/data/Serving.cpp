#include "Serving.h"

#include "Module1.h"
#include "clsFWSDataSource.h"

#include <cmath>

long RoundHalfEven(double value) {
    return long(std::nearbyint(value));
}

double RoundHalfEven(double value, int decimals) {
    const double scale = std::pow(10.0, decimals);
    // Strip the binary noise first (12.25 is held as 12.2499999...), so that the ties rounded
    // to even are the ties a reader of the decimal figure sees.
    const double scaled = std::round(value * scale * 1e6) / 1e6;
    return std::nearbyint(scaled) / scale;
}

double GramWeightRatio(double storedGramWeight, double newGramWeight) {
    if (storedGramWeight == 0 || newGramWeight == 0)
        return 1.0;
    return newGramWeight / storedGramWeight;
}

void RescaleFood(long m, double g, const QString& s) {
    Recordset& rs = *gDataSource->rscmdFoods;
    const double ratio = GramWeightRatio(rs.Fields(QStringLiteral("USDA_GM_WT")).toDouble(), g);
    for (const char* name : kNutrientColumns) {
        const QString column = QString::fromLatin1(name);
        const QVariant v = rs.Fields(column);
        if (!v.isNull())
            rs.setField(column, v.toDouble() * ratio);
    }
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

void FindMeasure(int index, long measureNo) {
    position(*gDataSource->rscmdMeasures, index, QStringLiteral("MSRE_NO"), measureNo);
}

void FindAvailGroup(int index, long groupKey) {
    position(*gDataSource->rscmdAvailGroups, index, QStringLiteral("GroupId"), groupKey);
}
