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

void ForEachReportRow(Recordset& rs, const std::function<void(const ReportRow&)>& take) {
    if (rs.eof() && rs.bof())
        return;
    const QString date = QStringLiteral("DietDate"), name = QStringLiteral("FoodName"),
                  size = QStringLiteral("ServingSize"), servings = QStringLiteral("NumServings");
    ReportRow row;
    for (rs.MoveFirst(); !rs.eof(); rs.MoveNext()) {
        row.DietDate = rs.Fields(date).toDate();
        row.FoodName = rs.Fields(name).toString();
        row.ServingSize = rs.Fields(size).toString();
        row.NumServings = number(rs.Fields(servings));
        for (int i = 0; i < RvCount; ++i)
            row.values[i] = number(rs.Fields(ReportValueColumns()[i]));
        take(row);
    }
}

QList<ReportRow> ReportRowsFrom(Recordset& rs) {
    QList<ReportRow> rows;
    ForEachReportRow(rs, [&](const ReportRow& row) { rows.append(row); });
    return rows;
}
