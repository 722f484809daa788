#include "clsFWSDataSource.h"

#include "Module1.h"
#include "OpenFailure.h"
#include "Restore.h"
#include "Seams.h"

#include <QDir>
#include <QFileInfo>
#include <QLocale>

namespace {

// Dates travel to the engine as 'YYYY-MM-DD', the form DietDate is stored in; only the day counts.
QVariant dateValue(const QDate& d) {
    return d.toString(Qt::ISODate);
}
} // namespace

clsFWSDataSource::~clsFWSDataSource() = default;

bool clsFWSDataSource::connectDB() {
    const QString path = QDir::toNativeSeparators(gDBPath);
    // Opening rolls back what a crash left half-written, and with the lock held for the whole
    // run the journal stays beside the file until a clean close: it has to be looked for first.
    const bool unclean = QFileInfo::exists(gDBPath + QStringLiteral("-journal"));
    QString damage; // found at the open: the schema cannot be read
    try {
        appDB.openExclusive(gDBPath);
    } catch (const DbOpenError& e) {
        switch (e.kind) {
        case DbOpenError::ReadOnly:
            return refuse(QStringLiteral("The diet log %1 is read-only, so Forkwise cannot save "
                                         "to it. Make the file and its folder writable, then "
                                         "start Forkwise again.")
                              .arg(path));
        case DbOpenError::Newer:
            return refuse(QStringLiteral("The diet log %1 was written by a newer version of "
                                         "Forkwise. Install that version to open it; this file "
                                         "has been left unchanged.")
                              .arg(path));
        case DbOpenError::Strange:
            return refuse(
                QStringLiteral("The diet log %1 holds the %2, which Forkwise never makes and "
                               "which could change or hide entries without a word. Put a good "
                               "backup copy from %3 in its place to open it; this file has "
                               "been left unchanged.")
                    .arg(path, e.object, QDir::toNativeSeparators(BackupFolder(gDBPath).path())));
        case DbOpenError::Damaged:
            if (unclean) {
                damage = QString::fromUtf8(e.what());
                break;
            }
            [[fallthrough]];
        default:
            return refuseConnection(openFailureFinding(gDBPath, e));
        }
    } catch (const DbError& e) {
        // Bringing an older file up to date failed; it was left as it was.
        return refuseConnection(QStringLiteral("%1 could not be brought up to date: %2.")
                                    .arg(path, QString::fromUtf8(e.what())));
    }
    // A clean start does not pay for the check.
    if (unclean && !recoverAfterCrash(damage)) {
        closeDB();
        return false;
    }
    // What a crash left of a copy being written is of no use; the lock says no other copy of the
    // program is writing one.
    removePartialCopies(gDBPath);
    return true;
}

bool clsFWSDataSource::refuse(const QString& text) {
    MsgBox(text, vbCritical | vbOKOnly);
    return false;
}

bool clsFWSDataSource::refuseConnection(const QString& finding) {
    MsgBox(QStringLiteral("Unable to open the Forkwise Database.  Make sure you don't have another "
                          "instance of Forkwise open.  ") +
               gSupportMsg + (finding.isEmpty() ? QString() : QStringLiteral("\n\n") + finding),
           vbCritical | vbOKOnly, QStringLiteral("Application Error"));
    return false;
}

bool clsFWSDataSource::recoverAfterCrash(QString problem) {
    if (problem.isEmpty())
        problem = appDB.quickCheck();
    if (problem.isEmpty())
        return true;
    // A file whose schema cannot be read is opened only to be written over.
    const bool wasDamaged = !appDB.isOpen();
    if (wasDamaged) {
        try {
            appDB.openDamaged(gDBPath);
        } catch (const DbError&) {
        }
    }
    const QString path = QDir::toNativeSeparators(gDBPath);
    const QString damaged =
        QStringLiteral("Forkwise was not closed properly, and the diet log %1 is damaged (%2).")
            .arg(path, problem);
    for (const BackupInfo& backup : listBackups(gDBPath)) {
        if (!checkBackup(backup.path).isEmpty())
            continue;
        const QString taken = QLocale().toString(backup.taken, QLocale::ShortFormat);
        if (MsgBox(damaged + QStringLiteral("\n\nRestore the newest good backup copy, taken %1? "
                                            "The damaged file is kept beside the backup copies. "
                                            "No leaves the file as it is and closes Forkwise.")
                                 .arg(taken),
                   vbYesNo | vbCritical) != vbYes)
            return false;
        if (const QString why = keepDamagedLog(appDB); !why.isEmpty()) {
            MsgBox(QStringLiteral("The damaged diet log could not be kept, so it was not "
                                  "replaced.\n\n") +
                       why,
                   vbCritical | vbOKOnly);
            return false;
        }
        RestoreResult restored = restoreFromCopy(appDB, backup.path);
        if (restored.changed && restored.reason.isEmpty() && !wasDamaged)
            return true;
        if (restored.changed && restored.reason.isEmpty()) {
            // Opened again as a sound file, with every setting and check of a normal start.
            try {
                appDB.openExclusive(gDBPath);
                return true;
            } catch (const DbError& e) {
                restored.reason = QString::fromUtf8(e.what());
            }
        }
        MsgBox(QStringLiteral("The backup copy %1 could not be restored.\n\n%2")
                   .arg(QDir::toNativeSeparators(backup.path), restored.reason),
               vbCritical | vbOKOnly);
        return false;
    }
    MsgBox(damaged + QStringLiteral("\n\nThere is no good backup copy of it, so Forkwise will "
                                    "close; the file has been left unchanged."),
           vbCritical | vbOKOnly);
    return false;
}

void clsFWSDataSource::closeResultSets() {
    // The result sets stay as objects, but none can reach the file any more.
    for (auto* member : {&rscmdGroups, &rscmdFoods, &rscmdConfig, &rscmdTableKey, &rscmdDietData,
                         &rscmdMeasures, &rscmdDietDates, &rscmdDietItems, &rscmdDietReport,
                         &rscmdFoodItems, &rscmdDietTotal, &rscmdAvailGroups})
        if (*member)
            (*member)->Close();
}

void clsFWSDataSource::reopenResultSets() {
    cmdGroups();
    cmdFoods();
    cmdTableKey();
    cmdConfig();
}

void clsFWSDataSource::closeDB() {
    closeResultSets();
    connDB.Rollback();
    appDB.close();
    connDB.Close();
}

void clsFWSDataSource::reportFailure(const QString& phrase) {
    if (!failed_) {
        failed_ = true;
        showAppError(phrase);
    }
    throw CommandFailed();
}

void clsFWSDataSource::refuseAfterFailure() const {
    if (failed_)
        throw CommandFailed();
}

template <typename Open>
void clsFWSDataSource::run(std::unique_ptr<Recordset>& member, const QString& phrase, Open open) {
    refuseAfterFailure();
    try {
        auto rs = open();
        rs->setReadFailure([this, phrase] { reportFailure(phrase); });
        member = std::move(rs);
    } catch (const DbError&) {
        // The member keeps nothing from before: callers must not read a stale set.
        member.reset();
        reportFailure(phrase);
    }
}

void clsFWSDataSource::execute(const QStringList& statements, const QVariantList& params,
                               const QString& phrase) {
    refuseAfterFailure();
    try {
        appDB.atomically([&] {
            for (const QString& sql : statements)
                appDB.execute(sql, params);
        });
    } catch (const DbError&) {
        reportFailure(phrase);
    }
}

void clsFWSDataSource::cmdGroups() {
    run(rscmdGroups, kFoodPhrase, [&] {
        return Recordset::openDynaset(appDB, QStringLiteral("FoodGroup"), {},
                                      QStringLiteral("ParentGroup, GroupName"));
    });
}

void clsFWSDataSource::cmdFoods() {
    run(rscmdFoods, kFoodPhrase, [&] {
        return Recordset::openDynaset(appDB, QStringLiteral("FoodItem"), {},
                                      QStringLiteral("GroupId, FoodName, FoodId"));
    });
}

void clsFWSDataSource::cmdTableKey() {
    run(rscmdTableKey, QStringLiteral("Unable to retrieve Table Key Data.  "),
        [&] { return Recordset::openDynaset(appDB, QStringLiteral("TableKey"), {}, {}); });
}

void clsFWSDataSource::cmdConfig() {
    run(rscmdConfig, QStringLiteral("Unable to retrieve Configuration Data.  "),
        [&] { return Recordset::openDynaset(appDB, QStringLiteral("CONFIG"), {}, {}); });
}

void clsFWSDataSource::cmdDietData(const QString& pUserName) {
    run(rscmdDietData, kDietPhrase, [&] {
        auto rs = Recordset::openDynaset(appDB, QStringLiteral("DietActivity"),
                                         QStringLiteral("UserName = ?"),
                                         QStringLiteral("DietDate, FoodName, DietId"), {pUserName});
        // Every entry written through the set keeps the days of the log in step.
        rs->keepInStep({QStringLiteral("UserName"), QStringLiteral("DietDate")},
                       [this](const QVariantList& before, const QVariantList& after) {
                           keepDietDays(before, after);
                       });
        return rs;
    });
}

void clsFWSDataSource::keepDietDays(const QVariantList& before, const QVariantList& after) {
    if (!after.isEmpty())
        appDB.execute(
            QStringLiteral("INSERT OR IGNORE INTO DietDay (UserName, DietDate) VALUES (?, ?)"),
            after);
    if (!before.isEmpty())
        appDB.execute(QStringLiteral("DELETE FROM DietDay WHERE UserName = ?1 AND DietDate = ?2 "
                                     "AND NOT EXISTS (SELECT 1 FROM DietActivity WHERE "
                                     "UserName = ?1 AND DietDate = ?2)"),
                      before);
}

void clsFWSDataSource::cmdDeleteFoods(long pGroupId) {
    execute({QStringLiteral("DELETE FROM FoodItem WHERE (GroupId = ?)")}, {qlonglong(pGroupId)},
            QStringLiteral("Unable to delete Food Data.  "));
}

void clsFWSDataSource::cmdMeasures(long pNDB_No) {
    run(rscmdMeasures, QStringLiteral("Unable to retrieve Measures Data.  "), [&] {
        return Recordset::openSnapshot(
            appDB,
            QStringLiteral("SELECT USDA_Measures.* FROM USDA_Measures WHERE (NDB_NO = ?) "
                           "ORDER BY GM_WT, MSRE_NO"),
            {qlonglong(pNDB_No)});
    });
}

void clsFWSDataSource::cmdDietDates(const QString& pUserName) {
    // Ten years are 3,650 days but 73,000 entries: the days are read from their own table.
    run(rscmdDietDates, kDietPhrase, [&] {
        return Recordset::openSnapshot(
            appDB,
            QStringLiteral("SELECT DietDate FROM DietDay WHERE (UserName = ?) ORDER BY DietDate"),
            {pUserName});
    });
}

void clsFWSDataSource::cmdDietItems(const QDate& pDietDate, const QString& pUserName) {
    run(rscmdDietItems, kDietPhrase, [&] {
        return Recordset::openSnapshot(
            appDB,
            QStringLiteral("SELECT DietActivity.* FROM DietActivity WHERE (DietDate = ?) AND "
                           "(UserName = ?) ORDER BY FoodName, DietId"),
            {dateValue(pDietDate), pUserName});
    });
}

void clsFWSDataSource::cmdDietReport(const QDate& pLoDate, const QDate& pHiDate,
                                     const QString& pUserName) {
    run(rscmdDietReport, kDietPhrase, [&] {
        return Recordset::openSnapshot(
            appDB,
            QStringLiteral(
                "SELECT DietActivity.* FROM DietActivity WHERE (DietDate >= ?) AND "
                "(DietDate <= ?) AND (UserName = ?) ORDER BY DietDate, FoodName, DietId"),
            {dateValue(pLoDate), dateValue(pHiDate), pUserName});
    });
}

void clsFWSDataSource::cmdFoodItems(long pGroupId) {
    run(rscmdFoodItems, kFoodPhrase, [&] {
        return Recordset::openSnapshot(
            appDB,
            QStringLiteral("SELECT FoodId, FoodName, GroupId FROM FoodItem WHERE (GroupId = ?) "
                           "ORDER BY FoodName, FoodId"),
            {qlonglong(pGroupId)});
    });
}

void clsFWSDataSource::cmdDietTotal(const QDate& pDietDate, const QString& pUserName) {
    run(rscmdDietTotal, kDietPhrase, [&] {
        return Recordset::openSnapshot(
            appDB,
            QStringLiteral("SELECT SUM(Fat) AS tFat, SUM(Calorie) AS tCalorie, "
                           "SUM(Carbohydrate) AS tCarbohydrate, "
                           "SUM(Cholesterol) AS tCholesterol, SUM(Other1) "
                           "AS tOther1, SUM(Other2) AS tOther2, SUM(Protein) "
                           "AS tProtein, SUM(Sodium) AS tSodium "
                           "From DietActivity "
                           "WHERE (DietDate = ?) AND (UserName = ?) "),
            {dateValue(pDietDate), pUserName});
    });
}

void clsFWSDataSource::cmdAvailGroups() {
    run(rscmdAvailGroups, kFoodPhrase, [&] {
        return Recordset::openSnapshot(
            appDB, QStringLiteral("SELECT FoodGroup.* FROM FoodGroup WHERE (GroupTag <> "
                                  "'GROUPROOT') ORDER BY GroupName"));
    });
}

void clsFWSDataSource::cmdDeleteDietItems(const QDate& pDietDateLo, const QDate& pDietDateHi,
                                          const QString& pUserName) {
    // The user's days in the range go with their entries, all of which go.
    execute({QStringLiteral("DELETE FROM DietActivity WHERE (DietDate >= ?) AND (DietDate <= ?) "
                            "AND (UserName = ?)"),
             QStringLiteral("DELETE FROM DietDay WHERE (DietDate >= ?) AND (DietDate <= ?) AND "
                            "(UserName = ?)")},
            {dateValue(pDietDateLo), dateValue(pDietDateHi), pUserName},
            QStringLiteral("Unable to delete Diet Data.  "));
}

qint64 clsFWSDataSource::cmdCountDietItems(const QDate& pDietDateLo, const QDate& pDietDateHi,
                                           const QString& pUserName) {
    std::unique_ptr<Recordset> count;
    run(count, kDietPhrase, [&] {
        return Recordset::openSnapshot(
            appDB,
            QStringLiteral("SELECT count(*) AS n FROM DietActivity WHERE (DietDate >= ?) AND "
                           "(DietDate <= ?) AND (UserName = ?)"),
            {dateValue(pDietDateLo), dateValue(pDietDateHi), pUserName});
    });
    return count->Fields(QStringLiteral("n")).toLongLong();
}

long clsFWSDataSource::getTableKey(const QString& KeyName) {
    refuseAfterFailure();
    const QString phrase = QStringLiteral("Unable to update Table Key Data.  ");
    if (!rscmdTableKey)
        reportFailure(phrase);
    Recordset& rs = *rscmdTableKey;
    try {
        EditScope edit(rs);
        rs.MoveFirst();
        // A counter that does not exist hands out nothing rather than bumping another one.
        if (!rs.FindFirst(Criterion::equals(QStringLiteral("KeyName"), KeyName)))
            reportFailure(phrase);
        const long n = long(rs.Fields(QStringLiteral("KeyValue")).toLongLong() + 1);
        rs.Edit();
        rs.setField(QStringLiteral("KeyValue"), qlonglong(n));
        edit.commit();
        return n;
    } catch (const DbError&) {
        reportFailure(phrase);
    }
}
