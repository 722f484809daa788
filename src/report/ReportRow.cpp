#include "ReportRow.h"

#include "Recordset.h"

namespace {

std::optional<double> number(const QVariant& v) {
    bool ok = false;
    const double d = v.isNull() ? 0.0 : v.toDouble(&ok);
    return ok ? std::optional<double>(d) : std::nullopt;
}

} // namespace

const std::array<QString, RvCount>& ReportValueColumns() {
    static const std::array<QString, RvCount> names = {
        QStringLiteral("Fat"),     QStringLiteral("Carbohydrate"), QStringLiteral("Protein"),
        QStringLiteral("Calorie"), QStringLiteral("Sodium"),       QStringLiteral("Cholesterol"),
        QStringLiteral("Other1"),  QStringLiteral("Other2")};
    return names;
}

QList<ReportRow> ReportRowsFrom(Recordset& rs) {
    QList<ReportRow> rows;
    if (rs.eof() && rs.bof())
        return rows;
    for (rs.MoveFirst(); !rs.eof(); rs.MoveNext()) {
        ReportRow row;
        row.DietDate = rs.Fields(QStringLiteral("DietDate")).toDate();
        row.FoodName = rs.Fields(QStringLiteral("FoodName")).toString();
        row.ServingSize = rs.Fields(QStringLiteral("ServingSize")).toString();
        row.NumServings = number(rs.Fields(QStringLiteral("NumServings")));
        for (int i = 0; i < RvCount; ++i)
            row.values[i] = number(rs.Fields(ReportValueColumns()[i]));
        rows.append(row);
    }
    return rows;
}
