#include "ReportRow.h"

#include "DailyTargets.h"
#include "Recordset.h"

#include <algorithm>

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

ReportTargets ReportTargetsOf(const DailyTargets& targets) {
    ReportTargets out;
    for (int i = 0; i < RvCount; ++i)
        out[size_t(i)] = targets.value(ReportValueColumns()[size_t(i)]);
    return out;
}

bool AnyTarget(const ReportTargets& targets) {
    return std::any_of(targets.begin(), targets.end(), [](const auto& t) { return bool(t); });
}

std::array<QString, RvCount> TargetPercents(const std::array<double, RvCount>& day,
                                            const ReportTargets& targets) {
    std::array<QString, RvCount> out;
    for (size_t i = 0; i < out.size(); ++i)
        if (targets[i])
            out[i] = QString::number(TargetPercent(day[i], *targets[i]));
    return out;
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
