#include "DailyTargets.h"

#include "Config.h"
#include "Module1.h"
#include "clsFWSDataSource.h"

#include <QLocale>
#include <cmath>

namespace {
int indexOf(const QString& column) {
    const auto& columns = Nutrients::columns();
    for (int i = 0; i < Nutrients::Count; ++i)
        if (columns[size_t(i)].compare(column, Qt::CaseInsensitive) == 0)
            return i;
    return -1;
}

// Writes one item through rscmdConfig, so that the set the rest of the program reads from
// knows of an item added or removed.
void writeItem(Recordset& config, const QString& item, std::optional<double> target) {
    config.MoveFirst();
    const bool found = config.FindFirst(Criterion::equals(QStringLiteral("ConfigItem"), item));
    if (!target) {
        if (found)
            config.Delete();
        return;
    }
    EditScope edit(config);
    if (found) {
        config.Edit();
    } else {
        config.AddNew();
        config.setField(QStringLiteral("ConfigItem"), item);
    }
    config.setField(QStringLiteral("ConfigValue"),
                    QString::number(*target, 'g', QLocale::FloatingPointShortest));
    config.setField(QStringLiteral("SelectedConfig"), false);
    edit.commit();
}
} // namespace

QString DailyTargets::item(const QString& user, const QString& column) {
    // "USER1" gives "TARGET1_": never an item that begins with "USER", which names a user.
    return QStringLiteral("TARGET") + user.mid(4) + u'_' + column.toUpper();
}

DailyTargets DailyTargets::load(const QString& user) {
    DailyTargets targets;
    for (const QString& column : Nutrients::columns()) {
        bool ok = false;
        const double v = GetConfigValue(item(user, column)).toDouble(&ok);
        if (ok && std::isfinite(v) && v > 0)
            targets.set(column, v);
    }
    return targets;
}

std::optional<double> DailyTargets::value(const QString& column) const {
    const int i = indexOf(column);
    return i < 0 ? std::nullopt : values_[size_t(i)];
}

void DailyTargets::set(const QString& column, std::optional<double> target) {
    if (const int i = indexOf(column); i >= 0)
        values_[size_t(i)] = target;
}

bool DailyTargets::any() const {
    for (const auto& v : values_)
        if (v)
            return true;
    return false;
}

bool SaveDailyTargets(const QString& user, const DailyTargets& targets) {
    Workspace& connDB = gDataSource->connDB;
    try {
        connDB.BeginTrans();
        for (const QString& column : Nutrients::columns())
            writeItem(*gDataSource->rscmdConfig, DailyTargets::item(user, column),
                      targets.value(column));
        connDB.CommitTrans();
        return true;
    } catch (const DbError&) {
        try {
            connDB.Rollback();
        } catch (const DbError&) {
            // A failed commit has already taken the transaction back.
        }
        ShowAppError(kConfigUpdatePhrase);
    }
    // The rows taken back are read again, so the set matches the file.
    gDataSource->cmdConfig();
    return false;
}

QString OptionalNutrientName(int n) {
    const QString label = GetConfigValue(QStringLiteral("OTHER") + QString::number(n)).trimmed();
    return label.isEmpty() ? QStringLiteral("Optional nutrient ") + QString::number(n) : label;
}

long long TargetPercent(double value, double target) {
    return std::llround(std::floor(value * 100 / target + 0.5));
}
