#pragma once
// One diet entry as the report reads it, and the labels of the two optional columns.
#include <QDate>
#include <QList>
#include <QString>
#include <array>
#include <functional>
#include <optional>

class DailyTargets;
class Recordset;

// The report's figure columns in the order they are printed.
enum ReportValue {
    RvFat,
    RvCarbohydrate,
    RvProtein,
    RvCalorie,
    RvSodium,
    RvCholesterol,
    RvOther1,
    RvOther2,
    RvCount
};

struct ReportRow {
    QDate DietDate;
    QString FoodName; // null or empty: an empty cell
    QString ServingSize;
    std::optional<double> NumServings;
    std::array<std::optional<double>, RvCount> values; // indexed by ReportValue
};

struct ReportLabels {
    QString other1; // configuration items "OTHER1" and "OTHER2"
    QString other2;
};

// The current user's daily target of each column, where there is one; none at all leaves the
// report as it is without targets.
using ReportTargets = std::array<std::optional<double>, RvCount>;
ReportTargets ReportTargetsOf(const DailyTargets& targets);
bool AnyTarget(const ReportTargets& targets);
// The cells of a day's "% of Daily Target" line or record: the whole percent of each column
// that has a target, empty for the others.
std::array<QString, RvCount> TargetPercents(const std::array<double, RvCount>& day,
                                            const ReportTargets& targets);

// The DietActivity column of each ReportValue.
const std::array<QString, RvCount>& ReportValueColumns();

// Every row of rs (a DietActivity result set), first to last; rs is left at its end.
QList<ReportRow> ReportRowsFrom(Recordset& rs);
// The same rows handed to `take` one at a time, so they need not all be held at once.
void ForEachReportRow(Recordset& rs, const std::function<void(const ReportRow&)>& take);
