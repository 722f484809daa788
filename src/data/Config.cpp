#include "Config.h"

#include "Module1.h"
#include "clsFWSDataSource.h"

namespace {
Recordset& config() {
    if (!gDataSource || !gDataSource->rscmdConfig)
        throw DbError("The configuration is not open.");
    return *gDataSource->rscmdConfig;
}

bool findItem(Recordset& rs, const QString& item) {
    rs.MoveFirst();
    return rs.FindFirst(Criterion::equals(QStringLiteral("ConfigItem"), item));
}
} // namespace

QString GetConfigValue(const QString& item) {
    try {
        Recordset& rs = config();
        if (findItem(rs, item))
            return rs.Fields(QStringLiteral("ConfigValue")).toString();
    } catch (const DbError&) {
        // An unreadable item reads as absent.
    }
    return QString();
}

bool SetConfigValue(const QString& item, const QString& value, bool selected) {
    Recordset* rs = nullptr;
    try {
        rs = &config();
        if (!findItem(*rs, item))
            return true;
        rs->Edit();
        rs->setField(QStringLiteral("ConfigValue"), value);
        rs->setField(QStringLiteral("SelectedConfig"), selected);
        rs->Update();
        return true;
    } catch (const DbError&) {
        if (rs && rs->editMode() != Recordset::EditMode::None)
            rs->CancelUpdate();
        showAppError(kConfigUpdatePhrase);
        return false;
    }
}

QString LoadCurrentUser() {
    QString result = QStringLiteral("USER1");
    try {
        Recordset& rs = config();
        for (rs.MoveFirst(); !rs.eof(); rs.MoveNext()) {
            const QString item = rs.Fields(QStringLiteral("ConfigItem")).toString();
            if (item.startsWith(QStringLiteral("USER"), Qt::CaseSensitive) &&
                rs.Fields(QStringLiteral("SelectedConfig")).toBool())
                result = item;
        }
    } catch (const DbError&) {
        // Without a readable configuration the first user is current.
    }
    return result;
}
